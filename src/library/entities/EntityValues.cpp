#include "library/entities/EntityValues.h"

#include "library/store/PTCDAdditions.h"

#include <QUuid>

namespace entityValues {

QString string(const pt::store::ManagedObject& object, const QString& key)
{
    return object.value(key).toString();
}

void setString(pt::store::ManagedObject& object, const QString& key, const QString& value)
{
    PTCDAdditions::setRawValue(&object, value.isNull() ? QVariant() : QVariant(value), key);
}

qint64 integer(const pt::store::ManagedObject& object, const QString& key)
{
    return object.value(key).toLongLong();
}

void setInteger(pt::store::ManagedObject& object, const QString& key, qint64 value)
{
    object.setValue(key, value);
}

QDateTime date(const pt::store::ManagedObject& object, const QString& key)
{
    return object.value(key).toDateTime();
}

void setDate(pt::store::ManagedObject& object, const QString& key, const QDateTime& value)
{
    object.setValue(key, value.isValid() ? QVariant(value) : QVariant());
}

bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

QString newIdentifier()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

} // namespace entityValues
