#include "platform/plist/PropertyList.h"

#include "platform/plist/PropertyListScan.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <plist/plist.h>

#include <cstdlib>
#include <memory>
#include <vector>

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

bool isContainer(plist_t node)
{
    const plist_type type = plist_get_node_type(node);
    return type == PLIST_ARRAY || type == PLIST_DICT;
}

QVariant scalarValue(plist_t node)
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
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return QVariantMap{{QStringLiteral("CF$UID"), static_cast<qint64>(value)}};
    }
    default: return {};
    }
}

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};

// An array or dictionary being read: the members so far, and the key of the one being read.
class ReadFrame {
public:
    explicit ReadFrame(plist_t node)
        : node(node)
        , isDictionary(plist_get_node_type(node) == PLIST_DICT)
    {
        if (isDictionary) {
            plist_dict_iter raw = nullptr;
            plist_dict_new_iter(node, &raw);
            iterator.reset(raw);
        }
    }

    // The next member, or null when all have been read.
    plist_t next()
    {
        if (!isDictionary)
            return index < plist_array_get_size(node) ? plist_array_get_item(node, index++) : nullptr;
        char* rawKey = nullptr;
        plist_t member = nullptr;
        plist_dict_next_item(node, iterator.get(), &rawKey, &member);
        key = takeString(rawKey);
        return member;
    }

    void add(QVariant member)
    {
        if (isDictionary)
            map.insert(key, std::move(member));
        else
            list.append(std::move(member));
    }

    QVariant take() { return isDictionary ? QVariant(std::move(map)) : QVariant(std::move(list)); }

private:
    plist_t node;
    bool isDictionary;
    std::unique_ptr<void, FreeDeleter> iterator;
    uint32_t index = 0;
    QString key;
    QVariantList list;
    QVariantMap map;
};

// Walks the tree with a stack of its own: the depth is checked before parsing, but the C stack is not the place
// for it either way.
QVariant toVariant(plist_t root)
{
    if (!isContainer(root))
        return scalarValue(root);
    std::vector<ReadFrame> stack;
    stack.emplace_back(root);
    for (;;) {
        if (plist_t member = stack.back().next()) {
            if (isContainer(member))
                stack.emplace_back(member);
            else
                stack.back().add(scalarValue(member));
            continue;
        }
        QVariant value = stack.back().take();
        stack.pop_back();
        if (stack.empty())
            return value;
        stack.back().add(std::move(value));
    }
}

// A node for the value: all of a scalar or UID, an empty array or dictionary for a container; null for a value
// with no property-list form.
plist_t newNode(const QVariant& value)
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
    case QMetaType::QVariantList: return plist_new_array();
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        // The form UIDs are read in writes them back as UIDs.
        const QVariant uid = map.value(QStringLiteral("CF$UID"));
        if (map.size() == 1 && uid.typeId() == QMetaType::LongLong && uid.toLongLong() >= 0)
            return plist_new_uid(static_cast<uint64_t>(uid.toLongLong()));
        return plist_new_dict();
    }
    default: return nullptr;
    }
}

// A container node being filled from its value.
struct WriteFrame {
    plist_t node;
    QStringList keys; // empty for an array
    QVariantList members;
    qsizetype next = 0;
};

// Null for a value with no property-list form or nested deeper than can be read back.
plist_t fromVariant(const QVariant& value)
{
    PlistPtr root(newNode(value));
    std::vector<WriteFrame> stack;
    // Containers are filled after they are placed in the tree, so the root owns every node made.
    const auto enter = [&stack](plist_t node, const QVariant& member) {
        if (!isContainer(node))
            return true;
        if (stack.size() >= size_t(PropertyList::MaximumDepth))
            return false;
        if (plist_get_node_type(node) == PLIST_ARRAY) {
            stack.push_back({node, {}, member.toList()});
        } else {
            const QVariantMap map = member.toMap();
            stack.push_back({node, map.keys(), map.values()});
        }
        return true;
    };
    if (!root || !enter(root.get(), value))
        return nullptr;
    while (!stack.empty()) {
        WriteFrame& frame = stack.back();
        if (frame.next == frame.members.size()) {
            stack.pop_back();
            continue;
        }
        const qsizetype i = frame.next++;
        const QVariant member = frame.members.at(i);
        plist_t node = newNode(member);
        if (!node)
            return nullptr;
        if (plist_get_node_type(frame.node) == PLIST_ARRAY)
            plist_array_append_item(frame.node, node);
        else
            plist_dict_set_item(frame.node, frame.keys.at(i).toUtf8().constData(), node);
        if (!enter(node, member))
            return nullptr;
    }
    return root.release();
}

} // namespace

Result<QVariant> PropertyList::fromData(const QByteArray& data)
{
    if (data.isEmpty())
        return conversionError(QStringLiteral("The property list is empty."));
    if (data.size() > MaximumInputSize)
        return conversionError(QStringLiteral("The property list is too large."));
    if (const auto shape = PropertyListScan::check(data); !shape)
        return shape.error();
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
