#pragma once

#include "platform/store/ManagedObject.h"

#include <QDateTime>
#include <QString>

// Typed reads and writes of stored values, shared by the library's entity classes.
namespace entityValues {

QString string(const pt::store::ManagedObject& object, const QString& key);
// Stores the text with change notification; a null string stores nil.
void setString(pt::store::ManagedObject& object, const QString& key, const QString& value);
qint64 integer(const pt::store::ManagedObject& object, const QString& key);
void setInteger(pt::store::ManagedObject& object, const QString& key, qint64 value);
QDateTime date(const pt::store::ManagedObject& object, const QString& key);
void setDate(pt::store::ManagedObject& object, const QString& key, const QDateTime& value);

// The members of a to-many relationship as objects of the typed class T.
template <class T>
QVector<T*> members(const pt::store::ManagedObject& object, const QString& key)
{
    QVector<T*> result;
    for (pt::store::ManagedObject* member : object.toMany(key)) {
        if (T* typed = dynamic_cast<T*>(member))
            result.append(typed);
    }
    return result;
}

// True when the name is a single entry of a folder: not empty, not "." or "..", no "/" or NUL. Names read from
// the store may come from exchange bundles, and must never lead out of the library's folders.
bool isPlainFileName(const QString& name);
// A new upper-case UUID string.
QString newIdentifier();

} // namespace entityValues
