#include "platform/plist/KeyedArchive.h"
#include "platform/plist/PropertyList.h"

#include <gtest/gtest.h>

namespace {

using pt::KeyedArchive;
using pt::PropertyList;

QVariantMap ref(qint64 index)
{
    return {{QStringLiteral("CF$UID"), index}};
}

// An archive whose root is object 1, with the given object table.
QVariant archiveWith(const QVariantList& objects)
{
    return QVariantMap{{"$archiver", "NSKeyedArchiver"}, {"$top", QVariantMap{{"root", ref(1)}}},
                       {"$objects", objects}};
}

TEST(KeyedArchiveTest, ColoursRoundTripThroughABinaryFile)
{
    const QColor colors[] = {QColor(255, 51, 76), QColor(0, 118, 255, 128), QColor(Qt::black)};
    QVariantList root;
    for (const QColor& color : colors)
        root.append(KeyedArchive::colorObject(color));
    root.append(QStringLiteral("not a colour"));
    const auto data = PropertyList::toData(KeyedArchive::archivedRoot(root), PropertyList::Format::Binary);
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->startsWith("bplist00"));
    const auto plist = PropertyList::fromData(*data);
    ASSERT_TRUE(plist);
    const auto decoded = KeyedArchive::unarchivedRoot(*plist);
    ASSERT_TRUE(decoded) << decoded.error().localizedDescription().toStdString();
    const QVariantList list = decoded->toList();
    ASSERT_EQ(list.size(), 4);
    for (int i = 0; i < 3; ++i) {
        const auto color = KeyedArchive::colorFromObject(list[i]);
        ASSERT_TRUE(color.has_value());
        EXPECT_EQ(color->rgba(), colors[i].rgba());
    }
    EXPECT_EQ(list[3].toString(), "not a colour");
    EXPECT_FALSE(KeyedArchive::colorFromObject(list[3]).has_value());
}

TEST(KeyedArchiveTest, HostileTablesAreRefused)
{
    const QVariantMap arrayClass{{"$classname", "NSArray"}, {"$classes", QStringList{"NSArray", "NSObject"}}};
    struct Case {
        const char* name;
        QVariant archive;
    };
    const Case cases[] = {
        {"not an archive", QVariantMap{{"root", 1}}},
        {"root out of range", archiveWith({"$null"}) },
        {"member out of range", archiveWith({"$null", QVariantMap{{"$class", ref(2)}, {"NS.objects", QVariantList{ref(9)}}}, arrayClass})},
        {"array holding itself", archiveWith({"$null", QVariantMap{{"$class", ref(2)}, {"NS.objects", QVariantList{ref(1)}}}, arrayClass})},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(KeyedArchive::unarchivedRoot(c.archive)) << c.name;

    // A chain of arrays deeper than the limit.
    QVariantList objects{"$null"};
    const int depth = KeyedArchive::MaximumDepth + 5;
    for (int i = 0; i < depth; ++i)
        objects.append(QVariantMap{{"$class", ref(depth + 1)}, {"NS.objects", QVariantList{ref(i + 2)}}});
    objects.append(arrayClass);
    objects[depth] = QVariantMap{{"$class", ref(depth + 1)}, {"NS.objects", QVariantList{}}};
    EXPECT_FALSE(KeyedArchive::unarchivedRoot(archiveWith(objects)));
}

} // namespace
