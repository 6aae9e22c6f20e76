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
