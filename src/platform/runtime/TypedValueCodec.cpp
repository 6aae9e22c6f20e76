#include "platform/runtime/TypedValueCodec.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pt::TypedValueCodec {

namespace {

QJsonValue toJson(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool: return QJsonObject{{"b", value.toBool()}};
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        // As text: a JSON number would pass through a double and lose bits above 2^53.
        return QJsonObject{{"i", QString::number(value.toLongLong())}};
    case QMetaType::Double:
    case QMetaType::Float: return QJsonObject{{"d", value.toDouble()}};
    case QMetaType::QByteArray: return QJsonObject{{"y", QString::fromLatin1(value.toByteArray().toBase64())}};
    case QMetaType::QDateTime:
        return QJsonObject{{"t", value.toDateTime().toUTC().toString(Qt::ISODateWithMs)}};
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QJsonArray array;
        for (const QVariant& element : value.toList())
            array.append(toJson(element));
        return QJsonObject{{"l", array}};
    }
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            object.insert(it.key(), toJson(it.value()));
        return QJsonObject{{"m", object}};
    }
    default: return QJsonObject{{"s", value.toString()}};
    }
}

QVariant fromJson(const QJsonValue& json)
{
    const QJsonObject object = json.toObject();
    if (object.size() != 1)
        return {};
    const QString tag = object.begin().key();
    const QJsonValue v = object.begin().value();
    if (tag == "b")
        return v.toBool();
    if (tag == "i") {
        bool ok = false;
        const qint64 n = v.toString().toLongLong(&ok);
        if (!ok)
            return {};
        if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return static_cast<int>(n);
        return n;
    }
    if (tag == "d")
        return v.toDouble();
    if (tag == "s")
        return v.toString();
    if (tag == "y")
        return QByteArray::fromBase64(v.toString().toLatin1());
    if (tag == "t")
        return QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
    if (tag == "l") {
        QVariantList list;
        for (const QJsonValue& element : v.toArray())
            list.append(fromJson(element));
        return list;
    }
    if (tag == "m") {
        QVariantMap map;
        const QJsonObject members = v.toObject();
        for (auto it = members.begin(); it != members.end(); ++it)
            map.insert(it.key(), fromJson(it.value()));
        return map;
    }
    return {};
}

} // namespace

QString encode(const QVariant& value)
{
    const QJsonObject wrapper{{"v", toJson(value)}};
    return QString::fromUtf8(QJsonDocument(wrapper).toJson(QJsonDocument::Compact));
}

QVariant decode(const QString& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    return fromJson(document.object().value("v"));
}

} // namespace pt::TypedValueCodec
