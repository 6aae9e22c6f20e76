#include "foundation/ArrayAdditions.h"
#include "foundation/MutableArrayAdditions.h"
#include "foundation/StrictChecking.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <gtest/gtest.h>

using namespace arrayAdditions;
using namespace mutableArrayAdditions;

TEST(ArrayAdditions, MoveObjectCountsAfterRemoval)
{
    const QStringList start{"a", "b", "c", "d"};
    const struct {
        QString object;
        qsizetype index;
        QStringList expected;
    } cases[] = {
        {"a", 2, {"b", "c", "a", "d"}},
        {"d", 0, {"d", "a", "b", "c"}},
        {"d", 3, {"a", "b", "c", "d"}},
        {"b", 3, {"a", "c", "d", "b"}},
    };
    for (const auto& c : cases) {
        QStringList list = start;
        moveObject(list, c.object, c.index);
        EXPECT_EQ(list, c.expected) << c.object.toStdString() << " to " << c.index;
    }
}

TEST(ArrayAdditions, UniquenessByBlock)
{
    auto same = [](const QString& s) { return s == "-" ? QVariant() : QVariant(s); };
    const struct {
        QStringList list;
        bool unique;
    } cases[] = {
        {{}, true},           {{"-"}, true},     {{"x", "x"}, true}, {{"x", "y"}, false},
        {{"-", "-"}, true},   {{"x", "-"}, false}, {{"-", "x"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(objectsAreUniqueWithBlock(c.list, same), c.unique) << c.list.join(',').toStdString();
}

TEST(ArrayAdditions, SetLikeQuestions)
{
    EXPECT_TRUE(hasSameObjectsAsArray(QList<int>{1, 2, 2}, QList<int>{2, 1, 2}));
    EXPECT_FALSE(hasSameObjectsAsArray(QList<int>{1, 2}, QList<int>{1, 2, 2}));
    EXPECT_FALSE(hasSameObjectsAsArray(QList<int>{1, 1, 2}, QList<int>{1, 2, 2}));
    EXPECT_TRUE(containsUniqueObjects(QList<int>{3, 1, 2}));
    EXPECT_FALSE(containsUniqueObjects(QList<int>{3, 1, 3}));
    EXPECT_EQ(itemsNotPresentInArray(QStringList{"a", "b", "a"}, QStringList{"b"}), (QStringList{"a", "a"}));
    EXPECT_EQ(itemsPresentInArray(QStringList{"a", "b", "c", "b"}, QStringList{"b", "c"}), (QStringList{"b", "c", "b"}));

    QStringList gathered{"a", "b"};
    addObjectsFromArrayUniquely(gathered, QStringList{"b", "c", "c"});
    EXPECT_EQ(gathered, (QStringList{"a", "b", "c"}));

    QObject plain;
    QTimer timer;
    EXPECT_TRUE(objectsAreKindOfClass<QTimer>(QList<QObject*>{}));
    EXPECT_TRUE(objectsAreKindOfClass<QObject>(QList<QObject*>{&plain, &timer}));
    EXPECT_FALSE(objectsAreKindOfClass<QTimer>(QList<QObject*>{&timer, &plain}));
}

TEST(StrictChecking, MapsCompareKeyByKey)
{
    using strictChecking::areKeysAndValuesEqualToDictionary;
    EXPECT_TRUE(areKeysAndValuesEqualToDictionary(QVariantMap{}, QVariantMap{}));
    EXPECT_TRUE(areKeysAndValuesEqualToDictionary(QVariantMap{{"a", 1}, {"b", "x"}}, QVariantMap{{"b", "x"}, {"a", 1}}));
    EXPECT_FALSE(areKeysAndValuesEqualToDictionary(QVariantMap{{"a", 1}}, QVariantMap{{"a", 2}}));
    EXPECT_FALSE(areKeysAndValuesEqualToDictionary(QVariantMap{{"a", 1}}, QVariantMap{{"b", 1}}));
    EXPECT_FALSE(areKeysAndValuesEqualToDictionary(QVariantMap{{"a", 1}}, QVariantMap{{"a", 1}, {"b", 1}}));
    using Colors = QHash<quint32, quint32>;
    EXPECT_TRUE(areKeysAndValuesEqualToDictionary(Colors{{0xff0000, 0x00ff00}}, Colors{{0xff0000, 0x00ff00}}));
    EXPECT_FALSE(areKeysAndValuesEqualToDictionary(Colors{{0xff0000, 0x00ff00}}, Colors{{0xff0000, 0x0000ff}}));
}
