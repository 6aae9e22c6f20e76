#include "library/ImportNaming.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct NamingCase {
    QString input;
    QString expected;
};

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(ImportNaming, PrettifyName)
{
    const std::vector<NamingCase> cases{
        {"arrow_left-24px", "Arrow Left 24px"},
        {"ic_home", "IC Home"},
        {"ios-settings", "iOS Settings"},
        {"icon@2x", "icon@2x"},
        {"hidpi", "HiDPI"},
        {"px", "Px"},
        {"e001", "E001"},
        {"brand-icons", "Brand Icons"},
        {"my-icons", "MY Icons"},
        {"ARROW up", "ARROW UP"},
        {"", ""},
        {"___", ""},
        {"  spaced   out  ", "Spaced Out"},
        // Letters of any script are words.
        {"café-menu", "Café Menu"},
        {"значок_дом", "Значок Дом"},
        {"Ölfass", "Ölfass"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PTPrettifyName(c.input), c.expected) << c.input.toStdString();
}

TEST(ImportNaming, MixedCaseAndWords)
{
    EXPECT_TRUE(PTIsMixedCase("iOS"));
    EXPECT_TRUE(PTIsMixedCase("A1"));
    EXPECT_FALSE(PTIsMixedCase("ABC"));
    EXPECT_FALSE(PTIsMixedCase("abc"));
    EXPECT_EQ(PTPrettifyWord("OSX"), "OSX");
    EXPECT_EQ(PTPrettifyWord("ab"), "AB");
    EXPECT_EQ(PTPrettifyWord("Home"), "Home");
}

TEST(ImportNaming, SafeFileName)
{
    const std::vector<NamingCase> cases{
        {"Arrow Left.svg", "arrow-left.svg"},
        {"", ""},
        {"a__b  c.PNG", "a-b-c.png"},
        {"icon@2x.png", "icon@2x.png"},
        {"../../etc/passwd", "..-..-etc-passwd"},
        {"café.svg", "caf-.svg"},
        // Nothing left of the stem: a fixed stem keeps the extension.
        {"Привет.svg", "untitled.svg"},
        {".svg", "untitled.svg"},
        {"***", "untitled"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PTSafeFileName(c.input), c.expected) << c.input.toStdString();
}

TEST(ImportNaming, UniqueFileNameCountsUpAndStaysInsideTheFolder)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    EXPECT_EQ(PTUniqueFileName("arrow.svg", d), "arrow.svg");
    touch(d + "/arrow.svg");
    EXPECT_EQ(PTUniqueFileName("arrow.svg", d), "arrow.1.svg");
    touch(d + "/arrow.1.svg");
    EXPECT_EQ(PTUniqueFileName("arrow.svg", d), "arrow.2.svg");

    EXPECT_EQ(PTUniqueFileName("a.b.c.svg", d), "a.svg");
    EXPECT_EQ(PTUniqueFileName(".hidden.svg", d), "hidden.svg");
    EXPECT_EQ(PTUniqueFileName("logo.dark.svg", d), "logo.svg");
    touch(d + "/logo.svg");
    EXPECT_EQ(PTUniqueFileName("logo.dark.svg", d), "logo.1.svg");

    touch(d + "/plain");
    EXPECT_EQ(PTUniqueFileName("plain", d), "plain.1.");

    for (const QString& hostile : {QStringLiteral("../escape.svg"), QStringLiteral("/etc/passwd"),
                                   QStringLiteral("a/../../b.svg"), QStringLiteral(""), QStringLiteral("...")}) {
        const QString unique = PTUniqueFileName(hostile, d);
        EXPECT_FALSE(unique.isEmpty()) << hostile.toStdString();
        EXPECT_FALSE(unique.contains(u'/')) << hostile.toStdString();
        EXPECT_FALSE(unique.startsWith(u'.')) << hostile.toStdString();
    }
    EXPECT_EQ(PTSafeUniqueFileName("Arrow.SVG", d), "arrow.2.svg");
}
