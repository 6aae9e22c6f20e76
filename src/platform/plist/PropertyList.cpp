#include "platform/plist/PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <plist/plist.h>

#include <cstdlib>
#include <memory>

namespace pt {

namespace {

// Property-list dates count seconds from 2001-01-01 UTC.
const QDateTime& referenceDate()
{
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return date;
}

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

Error conversionError(const QString& text)
{
    return Error::withDescription(PropertyList::ErrorDomain, 1, text);
}

QString takeString(char* raw)
{
    const QString text = raw ? QString::fromUtf8(raw) : QString();
    std::free(raw);
    return text;
}

QVariant toVariant(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: return plist_bool_val_is_true(node) != 0;
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return static_cast<qint64>(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        char* raw = nullptr;
        plist_get_string_val(node, &raw);
        return takeString(raw);
    }
    case PLIST_DATE: {
        int32_t seconds = 0, micros = 0;
        plist_get_date_val(node, &seconds, &micros);
        return referenceDate().addMSecs(qint64(seconds) * 1000 + micros / 1000);
    }
    case PLIST_DATA: {
        char* raw = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &raw, &length);
        const QByteArray data(raw, static_cast<qsizetype>(length));
        std::free(raw);
        return data;
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t size = plist_array_get_size(node);
        for (uint32_t i = 0; i < size; ++i)
            list.append(toVariant(plist_array_get_item(node, i)));
        return list;
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iterator, &key, &value);
            if (!value) {
                std::free(key);
                break;
            }
            map.insert(takeString(key), toVariant(value));
        }
        std::free(iterator);
        return map;
    }
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return QVariantMap{{QStringLiteral("CF$UID"), static_cast<qint64>(value)}};
    }
    default: return {};
    }
}

plist_t fromVariant(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool: return plist_new_bool(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return plist_new_uint(static_cast<uint64_t>(value.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float: return plist_new_real(value.toDouble());
    case QMetaType::QString: return plist_new_string(value.toString().toUtf8().constData());
    case QMetaType::QByteArray: {
        const QByteArray data = value.toByteArray();
        return plist_new_data(data.constData(), static_cast<uint64_t>(data.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 ms = referenceDate().msecsTo(value.toDateTime());
        return plist_new_date(static_cast<int32_t>(ms / 1000), static_cast<int32_t>((ms % 1000) * 1000));
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        PlistPtr array(plist_new_array());
        for (const QVariant& element : value.toList()) {
            plist_t item = fromVariant(element);
            if (!item)
                return nullptr;
            plist_array_append_item(array.get(), item);
        }
        return array.release();
    }
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        // The form UIDs are read in writes them back as UIDs.
        const QVariant uid = map.value(QStringLiteral("CF$UID"));
        if (map.size() == 1 && uid.typeId() == QMetaType::LongLong && uid.toLongLong() >= 0)
            return plist_new_uid(static_cast<uint64_t>(uid.toLongLong()));
        PlistPtr dict(plist_new_dict());
        for (auto it = map.begin(); it != map.end(); ++it) {
            plist_t item = fromVariant(it.value());
            if (!item)
                return nullptr;
            plist_dict_set_item(dict.get(), it.key().toUtf8().constData(), item);
        }
        return dict.release();
    }
    default: return nullptr;
    }
}

} // namespace

Result<QVariant> PropertyList::fromData(const QByteArray& data)
{
    if (data.isEmpty())
        return conversionError(QStringLiteral("The property list is empty."));
    if (data.size() > MaximumInputSize)
        return conversionError(QStringLiteral("The property list is too large."));
    plist_t root = nullptr;
    plist_from_memory(data.constData(), static_cast<uint32_t>(data.size()), &root);
    if (!root)
        return conversionError(QStringLiteral("The data is not a property list."));
    PlistPtr owner(root);
    return toVariant(root);
}

Result<QVariant> PropertyList::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error::withDescription(ErrorDomain, 2, QStringLiteral("The file couldn\u2019t be opened."),
                                      file.errorString());
    if (file.size() > MaximumInputSize)
        return conversionError(QStringLiteral("The property list is too large."));
    return fromData(file.readAll());
}

Result<QByteArray> PropertyList::toData(const QVariant& value, Format format)
{
    PlistPtr root(fromVariant(value));
    if (!root)
        return conversionError(QStringLiteral("The value has no property-list form."));
    char* raw = nullptr;
    uint32_t length = 0;
    if (format == Format::Xml) {
        plist_to_xml(root.get(), &raw, &length);
        const QByteArray data(raw, static_cast<qsizetype>(length));
        plist_to_xml_free(raw);
        return data;
    }
    plist_to_bin(root.get(), &raw, &length);
    const QByteArray data(raw, static_cast<qsizetype>(length));
    plist_to_bin_free(raw);
    return data;
}

Result<void> PropertyList::writeFile(const QVariant& value, const QString& path, Format format)
{
    const auto data = toData(value, format);
    if (!data)
        return data.error();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*data) != data->size() || !file.commit())
        return Error::withDescription(ErrorDomain, 3, QStringLiteral("The property list couldn\u2019t be saved."),
                                      file.errorString());
    return {};
}

} // namespace pt
