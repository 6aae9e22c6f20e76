#include "platform/plist/KeyedArchive.h"

#include <QSet>

#include <algorithm>

namespace pt {
namespace {

const QString kArchiver = QStringLiteral("NSKeyedArchiver");
const QString kObjects = QStringLiteral("$objects");
const QString kTop = QStringLiteral("$top");
const QString kRoot = QStringLiteral("root");
const QString kClass = QStringLiteral("$class");
const QString kClassName = QStringLiteral("$classname");
const QString kNull = QStringLiteral("$null");
const QString kUID = QStringLiteral("CF$UID");
const QString kArrayObjects = QStringLiteral("NS.objects");
const QString kDictionaryKeys = QStringLiteral("NS.keys");
const QStringList kArrayClasses = {QStringLiteral("NSArray"), QStringLiteral("NSObject")};
const QStringList kDictionaryClasses = {QStringLiteral("NSDictionary"), QStringLiteral("NSObject")};
const QStringList kColorClasses = {QStringLiteral("NSColor"), QStringLiteral("NSObject")};
const QString kColorSpace = QStringLiteral("NSColorSpace");
const QString kRGB = QStringLiteral("NSRGB");
constexpr qint64 kDeviceRGB = 2;
constexpr qint64 kCalibratedRGB = 1;

QVariantMap uid(qsizetype index)
{
    return {{kUID, static_cast<qint64>(index)}};
}

bool isDictionaryObject(const QVariantMap& fields)
{
    return fields.value(KeyedArchive::ClassesKey).toStringList() == kDictionaryClasses
           && fields.contains(kDictionaryKeys);
}

bool isUID(const QVariant& value)
{
    const QVariantMap map = value.toMap();
    return value.typeId() == QMetaType::QVariantMap && map.size() == 1 && map.contains(kUID);
}

Error archiveError(const QString& reason)
{
    return Error::withDescription(KeyedArchive::ErrorDomain, 1, QStringLiteral("The archive couldn\u2019t be read."),
                                  reason);
}

class Writer {
public:
    QVariantList objects{kNull};

    QVariantMap add(const QVariant& value)
    {
        if (!value.isValid())
            return uid(0);
        switch (value.typeId()) {
        case QMetaType::QVariantList:
        case QMetaType::QStringList: {
            QVariantList members;
            for (const QVariant& member : value.toList())
                members.append(add(member));
            return addObject({{kArrayObjects, members}}, kArrayClasses);
        }
        case QMetaType::QVariantMap: {
            QVariantMap fields = value.toMap();
            if (isDictionaryObject(fields))
                return addDictionary(fields.value(kDictionaryKeys).toList(), fields.value(kArrayObjects).toList());
            if (fields.contains(KeyedArchive::ClassesKey)) {
                const QStringList classes = fields.take(KeyedArchive::ClassesKey).toStringList();
                QVariantMap archived;
                for (auto it = fields.begin(); it != fields.end(); ++it)
                    archived.insert(it.key(), isScalar(it.value()) ? it.value() : QVariant(add(it.value())));
                return addObject(archived, classes);
            }
            QVariantList keys, members;
            for (auto it = fields.begin(); it != fields.end(); ++it) {
                keys.append(it.key());
                members.append(it.value());
            }
            return addDictionary(keys, members);
        }
        default:
            objects.append(value);
            return uid(objects.size() - 1);
        }
    }

private:
    QHash<QString, QVariantMap> classUIDs;

    QVariantMap addDictionary(const QVariantList& keys, const QVariantList& members)
    {
        QVariantList keyUIDs, memberUIDs;
        for (qsizetype i = 0; i < std::min(keys.size(), members.size()); ++i) {
            keyUIDs.append(add(keys[i]));
            memberUIDs.append(add(members[i]));
        }
        return addObject({{kDictionaryKeys, keyUIDs}, {kArrayObjects, memberUIDs}}, kDictionaryClasses);
    }

    static bool isScalar(const QVariant& value)
    {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double:
        case QMetaType::QByteArray: return true;
        default: return false;
        }
    }

    QVariantMap addObject(QVariantMap fields, const QStringList& classes)
    {
        const QString key = classes.join(QLatin1Char('\n'));
        if (!classUIDs.contains(key)) {
            objects.append(QVariantMap{{kClassName, classes.value(0)}, {KeyedArchive::ClassesKey, classes}});
            classUIDs.insert(key, uid(objects.size() - 1));
        }
        fields.insert(kClass, classUIDs.value(key));
        objects.append(fields);
        return uid(objects.size() - 1);
    }
};

class Reader {
public:
    explicit Reader(const QVariantList& objects)
        : objects(objects)
    {
    }

    Result<QVariant> value(const QVariant& reference, int depth)
    {
        if (!isUID(reference))
            return reference;
        const qint64 index = reference.toMap().value(kUID).toLongLong();
        if (index < 0 || index >= objects.size())
            return archiveError(QStringLiteral("A reference points outside the archive."));
        if (depth > KeyedArchive::MaximumDepth)
            return archiveError(QStringLiteral("The archive is nested too deeply."));
        // Objects referred to from several places are decoded at each, so a small archive can expand without end.
        if (++decoded > KeyedArchive::MaximumDecodedValues)
            return archiveError(QStringLiteral("The archive expands too far."));
        if (onPath.contains(index))
            return archiveError(QStringLiteral("The archive refers to itself in a cycle."));
        const QVariant object = objects.at(index);
        if (object.typeId() == QMetaType::QString && object.toString() == kNull)
            return QVariant();
        if (object.typeId() != QMetaType::QVariantMap || !object.toMap().contains(kClass))
            return object;
        onPath.insert(index);
        Result<QVariant> result = instance(object.toMap(), depth);
        onPath.remove(index);
        return result;
    }

private:
    const QVariantList& objects;
    QSet<qint64> onPath;
    qint64 decoded = 0;

    Result<QVariantList> list(const QVariant& references, int depth)
    {
        QVariantList values;
        for (const QVariant& reference : references.toList()) {
            Result<QVariant> member = value(reference, depth + 1);
            if (!member)
                return member.error();
            values.append(*member);
        }
        return values;
    }

    Result<QVariant> instance(QVariantMap fields, int depth)
    {
        const Result<QVariant> classInfo = value(fields.take(kClass), depth + 1);
        if (!classInfo)
            return classInfo.error();
        QStringList classes = classInfo->toMap().value(KeyedArchive::ClassesKey).toStringList();
        if (classes.isEmpty())
            classes = {classInfo->toMap().value(kClassName).toString()};
        const QString& name = classes.first();
        if (name == QLatin1String("NSArray") || name == QLatin1String("NSMutableArray")) {
            const Result<QVariantList> members = list(fields.value(kArrayObjects), depth);
            if (!members)
                return members.error();
            return QVariant(*members);
        }
        if (name == QLatin1String("NSDictionary") || name == QLatin1String("NSMutableDictionary")) {
            const Result<QVariantList> keys = list(fields.value(kDictionaryKeys), depth);
            const Result<QVariantList> members = list(fields.value(kArrayObjects), depth);
            if (!keys)
                return keys.error();
            if (!members)
                return members.error();
            const bool stringKeys = std::all_of(keys->begin(), keys->end(), [](const QVariant& key) {
                return key.typeId() == QMetaType::QString;
            });
            if (!stringKeys)
                return KeyedArchive::dictionaryObject(*keys, *members);
            QVariantMap map;
            for (qsizetype i = 0; i < std::min(keys->size(), members->size()); ++i)
                map.insert(keys->at(i).toString(), members->at(i));
            return QVariant(map);
        }
        QVariantMap decoded;
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            Result<QVariant> field = value(it.value(), depth + 1);
            if (!field)
                return field.error();
            decoded.insert(it.key(), *field);
        }
        decoded.insert(KeyedArchive::ClassesKey, classes);
        return QVariant(decoded);
    }
};

} // namespace

QVariant KeyedArchive::archivedRoot(const QVariant& root)
{
    Writer writer;
    const QVariantMap top = writer.add(root);
    return QVariantMap{{QStringLiteral("$archiver"), kArchiver},
                       {QStringLiteral("$version"), qint64(100000)},
                       {kTop, QVariantMap{{kRoot, top}}},
                       {kObjects, writer.objects}};
}

Result<QVariant> KeyedArchive::unarchivedRoot(const QVariant& archive)
{
    const QVariantMap map = archive.toMap();
    const QVariant objects = map.value(kObjects);
    const QVariant root = map.value(kTop).toMap().value(kRoot);
    if (archive.typeId() != QMetaType::QVariantMap || objects.typeId() != QMetaType::QVariantList || !isUID(root))
        return archiveError(QStringLiteral("The data is not a keyed archive."));
    const QVariantList table = objects.toList();
    Reader reader(table);
    return reader.value(root, 0);
}

QVariant KeyedArchive::dictionaryObject(const QVariantList& keys, const QVariantList& values)
{
    return QVariantMap{{ClassesKey, kDictionaryClasses}, {kDictionaryKeys, keys}, {kArrayObjects, values}};
}

std::optional<QList<std::pair<QVariant, QVariant>>> KeyedArchive::dictionaryPairs(const QVariant& dictionary)
{
    if (dictionary.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap fields = dictionary.toMap();
    QList<std::pair<QVariant, QVariant>> pairs;
    if (isDictionaryObject(fields)) {
        const QVariantList keys = fields.value(kDictionaryKeys).toList();
        const QVariantList values = fields.value(kArrayObjects).toList();
        for (qsizetype i = 0; i < std::min(keys.size(), values.size()); ++i)
            pairs.append({keys[i], values[i]});
        return pairs;
    }
    if (fields.contains(ClassesKey))
        return std::nullopt;
    for (auto it = fields.begin(); it != fields.end(); ++it)
        pairs.append({it.key(), it.value()});
    return pairs;
}

QVariant KeyedArchive::colorObject(const QColor& color)
{
    const QColor rgb = color.toRgb();
    QByteArray components;
    for (const float component : {rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()})
        components += QByteArray::number(component, 'g', 9) + ' ';
    components.chop(1);
    components += '\0';
    return QVariantMap{{ClassesKey, kColorClasses}, {kColorSpace, kDeviceRGB}, {kRGB, components}};
}

std::optional<QColor> KeyedArchive::colorFromObject(const QVariant& object)
{
    const QVariantMap fields = object.toMap();
    if (fields.value(ClassesKey).toStringList().value(0) != kColorClasses.first())
        return std::nullopt;
    const qint64 space = fields.value(kColorSpace).toLongLong();
    if (space != kDeviceRGB && space != kCalibratedRGB)
        return std::nullopt;
    QByteArray text = fields.value(kRGB).toByteArray();
    if (text.endsWith('\0'))
        text.chop(1);
    const QList<QByteArray> parts = text.simplified().split(' ');
    if (parts.size() != 3 && parts.size() != 4)
        return std::nullopt;
    float values[4] = {0, 0, 0, 1};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        values[i] = std::clamp(parts[i].toFloat(&ok), 0.0f, 1.0f);
        if (!ok)
            return std::nullopt;
    }
    return QColor::fromRgbF(values[0], values[1], values[2], values[3]);
}

} // namespace pt
