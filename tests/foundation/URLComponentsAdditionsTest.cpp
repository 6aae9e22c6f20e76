#include "foundation/URLComponentsAdditions.h"

#include <gtest/gtest.h>

using namespace urlComponentsAdditions;

TEST(URLComponents, BracketedKeysParse)
{
    const struct {
        QString name;
        QString base;
        std::optional<QStringList> subKeys;
    } cases[] = {
        {"a", "a", QStringList{}},
        {"a[b][c]", "a", QStringList{"b", "c"}},
        {"a[]", "a", QStringList{""}},
        {"a[b]x[c]", "a", QStringList{"b", "c"}}, // text between pairs is ignored
        {"a[b][c", "a", QStringList{"b"}},        // an unclosed last bracket is dropped
        {"a[b[c]]", "a", std::nullopt},
        {"a[b]]", "a", std::nullopt},
        {"a]", "a]", QStringList{}},
        {"", QString(), std::nullopt},
    };
    for (const auto& c : cases) {
        std::optional<QStringList> subKeys = QStringList{"stale"};
        EXPECT_EQ(PTParseBracketedQueryKey(c.name, &subKeys), c.base) << c.name.toStdString();
        EXPECT_EQ(subKeys, c.subKeys) << c.name.toStdString();
    }
}

TEST(URLComponents, QueryBecomesNestedMaps)
{
    EXPECT_EQ(queryStringComponents(QUrl("pictern://download?x=1&x=2")), (QVariantMap{{"x", "2"}}));

    const QVariantMap appended = queryStringComponents(QUrl("pictern://download?f[]=a&f[]=b&f[5]=c&f[]=d"));
    EXPECT_EQ(appended, (QVariantMap{{"f", QVariantMap{{"1", "a"}, {"2", "b"}, {"5", "c"}, {"6", "d"}}}}));

    const QVariantMap request = queryStringComponents(
        QUrl("pictern://download?url=https%3A%2F%2Fexample.org%2Fset.zip%3Fa%3D1&headers[Authorization]=Bearer%20t"
             "&headers[X-Id]=7&a[b][c]=v&[nobase]=skipped"));
    EXPECT_EQ(request.value("url").typeId(), QMetaType::QString);
    EXPECT_EQ(request.value("url").toString(), "https://example.org/set.zip?a=1");
    EXPECT_EQ(request.value("headers").toMap(), (QVariantMap{{"Authorization", "Bearer t"}, {"X-Id", "7"}}));
    EXPECT_EQ(request.value("a"), QVariant(QVariantMap{{"b", QVariantMap{{"c", "v"}}}}));
    EXPECT_FALSE(request.contains(""));
    EXPECT_EQ(queryStringComponent(QUrl("pictern://preferences?pane=library"), "pane").toString(), "library");
    EXPECT_FALSE(queryStringComponent(QUrl("pictern://preferences"), "pane").isValid());

    // A plain value later replaced by a bracketed one becomes a map, and the other way round.
    EXPECT_EQ(queryStringComponents(QUrl("p://h?k=1&k[a]=2")), (QVariantMap{{"k", QVariantMap{{"a", "2"}}}}));
    EXPECT_EQ(queryStringComponents(QUrl("p://h?k[a]=2&k=1")), (QVariantMap{{"k", "1"}}));
}

TEST(URLComponents, MaxIntegerKey)
{
    EXPECT_EQ(PTMaxIntegerKey({}), 0u);
    EXPECT_EQ(PTMaxIntegerKey({"1", "12", "3"}), 12u);
    EXPECT_EQ(PTMaxIntegerKey({"1.5", "x", "2-3", "-4", "1e300"}), 0u) << "only single non-negative whole numbers";
    EXPECT_EQ(PTMaxIntegerKey({"a7"}), 7u);
}

// Queries from outside: nesting past the bound is refused without recursing on the stack, nesting within it
// parses, and appended fields stay linear however many there are.
TEST(URLComponents, HostileQueriesAreBoundedAndLinear)
{
    const auto nested = [](qsizetype depth) {
        QString name = QStringLiteral("a");
        for (qsizetype i = 0; i < depth; ++i)
            name += QStringLiteral("[k]");
        return QUrl(QStringLiteral("pictern://download?url=u&") + name + QStringLiteral("=v"));
    };
    QVariant deepest = QStringLiteral("v");
    for (int i = 0; i < MaxQueryKeyDepth; ++i)
        deepest = QVariantMap{{"k", deepest}};
    bool refused = true;
    EXPECT_EQ(queryStringComponents(nested(MaxQueryKeyDepth), &refused), (QVariantMap{{"url", "u"}, {"a", deepest}}));
    EXPECT_FALSE(refused);
    EXPECT_TRUE(queryStringComponents(nested(MaxQueryKeyDepth + 1), &refused).isEmpty());
    EXPECT_TRUE(refused);

    // About 120 KB of bracket pairs: a recursive insert runs out of stack.
    QString deep = QStringLiteral("pictern://download?url=u&headers");
    for (int i = 0; i < 60000; ++i)
        deep += QStringLiteral("[]");
    refused = false;
    EXPECT_TRUE(queryStringComponents(QUrl(deep + QStringLiteral("=v")), &refused).isEmpty());
    EXPECT_TRUE(refused);

    // Each appended field takes the next number at once; rescanning the keys per field would not finish.
    constexpr int Fields = 200000;
    QString crowded = QStringLiteral("pictern://download?url=u");
    for (int i = 0; i < Fields; ++i)
        crowded += QStringLiteral("&f[]=%1").arg(i);
    const QVariantMap fields = queryStringComponents(QUrl(crowded), &refused).value("f").toMap();
    EXPECT_FALSE(refused);
    ASSERT_EQ(fields.size(), Fields);
    EXPECT_EQ(fields.value("1").toString(), "0");
    EXPECT_EQ(fields.value(QString::number(Fields)).toString(), QString::number(Fields - 1));
}

// The next appended number follows every key the container has held, and starts again in a container that
// replaced a plain value.
TEST(URLComponents, AppendedKeysFollowTheLargestNumberSoFar)
{
    const struct {
        const char* query;
        QVariantMap expected;
    } cases[] = {
        {"f[a7]=x&f[]=y", {{"f", QVariantMap{{"a7", "x"}, {"8", "y"}}}}},
        {"f[]=a&f=plain&f[]=b", {{"f", QVariantMap{{"1", "b"}}}}},
        {"f[x][]=a&f[x]=plain&f[x][]=b&f[]=c", {{"f", QVariantMap{{"x", QVariantMap{{"1", "b"}}}, {"1", "c"}}}}},
        {"f[][a]=1&f[][b]=2", {{"f", QVariantMap{{"", QVariantMap{{"a", "1"}, {"b", "2"}}}}}}},
        {"f[2.5]=a&f[1e3]=b&f[]=c", {{"f", QVariantMap{{"2.5", "a"}, {"1e3", "b"}, {"1001", "c"}}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(queryStringComponents(QUrl(QStringLiteral("p://h?") + QString::fromLatin1(c.query))), c.expected)
            << c.query;
}
