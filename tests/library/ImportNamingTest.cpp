#include "library/ImportNaming.h"
#include "library/PTFileNamer.h"

#include <QDir>
#include <QFile>
#include <QSet>
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

    // A name without an extension never ends with a dot.
    touch(d + "/readme");
    EXPECT_EQ(PTUniqueFileName("readme", d), "readme.1");
    EXPECT_EQ(PTUniqueFileName("notes.", d), "notes");
    EXPECT_EQ(PTUniqueFileName("readme.", d), "readme.1");

    for (const QString& hostile : {QStringLiteral("../escape.svg"), QStringLiteral("/etc/passwd"),
                                   QStringLiteral("a/../../b.svg"), QStringLiteral(""), QStringLiteral("...")}) {
        const QString unique = PTUniqueFileName(hostile, d);
        EXPECT_FALSE(unique.isEmpty()) << hostile.toStdString();
        EXPECT_FALSE(unique.contains(u'/')) << hostile.toStdString();
        EXPECT_FALSE(unique.startsWith(u'.')) << hostile.toStdString();
    }
    EXPECT_EQ(PTSafeUniqueFileName("Arrow.SVG", d), "arrow.2.svg");
}

TEST(ImportNaming, FirstFileNameIsTheUniqueNameOfAnEmptyFolder)
{
    QTemporaryDir dir;
    for (const QString& name : {QStringLiteral("Arrow Left.svg"), QStringLiteral("a.b.c.SVG"), QStringLiteral(".hidden.svg"),
                                QStringLiteral("notes."), QStringLiteral("../escape.svg"), QStringLiteral(""),
                                QStringLiteral("***.png"), QString(300, u'b') + ".svg", "x." + QString(300, u'e')})
        EXPECT_EQ(PTSafeFirstFileName(name), PTSafeUniqueFileName(name, dir.path())) << name.left(12).toStdString();
}

TEST(ImportNaming, UniqueFileNameSkipsNamesTheOperationHandedOut)
{
    QTemporaryDir dir;
    touch(dir.path() + "/next.svg");
    QSet<QString> handedOut;
    EXPECT_EQ(PTSafeUniqueFileName("Next.svg", dir.path(), &handedOut), "next.1.svg");
    // Nothing was written under that name, yet it is taken.
    EXPECT_EQ(PTSafeUniqueFileName("Next.svg", dir.path(), &handedOut), "next.2.svg");
    EXPECT_EQ(handedOut, (QSet<QString>{"next.1.svg", "next.2.svg"}));
}

TEST(ImportNaming, UniqueFileNamesFitTheFileSystemWholeCharactersCut)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    const struct {
        QString name;
        QString extension;
    } cases[]{
        {QString(251, u'a') + ".svg", "svg"},
        {QString(300, u'b') + ".svg", "svg"},
        {QString(200, QChar(0xe9)) + ".svg", "svg"},                 // two bytes each
        {QString::fromUtf8("\xf0\x9f\x99\x82").repeated(80) + ".png", "png"}, // four bytes, two UTF-16 units
        {QString(400, u'c'), ""},
        {"x." + QString(300, u'e'), ""},                               // no room left for such an extension
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.left(8).toStdString());
        QStringList made;
        for (int i = 0; i < 3; ++i) {
            const QString unique = PTUniqueFileName(c.name, d);
            const QByteArray bytes = unique.toUtf8();
            EXPECT_LE(bytes.size(), 255);
            // No character was split: the name survives a round trip through UTF-8.
            EXPECT_EQ(QString::fromUtf8(bytes), unique);
            EXPECT_FALSE(unique.endsWith(u'.'));
            if (!c.extension.isEmpty()) {
                EXPECT_TRUE(unique.endsWith("." + c.extension)) << unique.toStdString();
            }
            touch(d + "/" + unique);
            EXPECT_TRUE(QFile::exists(d + "/" + unique));
            made << unique;
        }
        EXPECT_EQ(QSet<QString>(made.begin(), made.end()).size(), 3);
    }
    EXPECT_EQ(PTUniqueFileName(QString(251, u'a') + ".svg", d), QString(251, u'a').left(249) + ".3.svg");
}

TEST(ImportNaming, ANamerGivesTheSameNamesLookingEachOneUpOnce)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (const char* taken : {"arrow.svg", "arrow.1.svg", "arrow.3.svg", "readme"})
        touch(d + "/" + taken);
    // Named one after another and made at once, as an import does.
    PTFileNamer namer;
    QTemporaryDir other;
    const QString longName = QString(251, u'a') + ".svg";
    for (const QString& name : {QStringLiteral("arrow.svg"), QStringLiteral("arrow.svg"), QStringLiteral("arrow.svg"),
                                QStringLiteral("Arrow.SVG"), QStringLiteral("readme"), QStringLiteral("readme."),
                                longName, longName, longName, QStringLiteral("a.b.c.svg")}) {
        SCOPED_TRACE(name.left(12).toStdString());
        const QString expected = PTSafeUniqueFileName(name, d);
        EXPECT_EQ(PTSafeUniqueFileName(name, d, namer), expected);
        touch(d + "/" + expected);
        // Each folder counts on its own.
        EXPECT_EQ(PTSafeUniqueFileName(name, other.path(), namer), PTSafeUniqueFileName(name, other.path()));
        touch(other.path() + "/" + PTSafeUniqueFileName(name, other.path()));
    }

    // Thousands of files of one name cost one lookup each, plus one per name taken before.
    QSet<QString> made{"icon.svg", "icon.1.svg"};
    int lookups = 0;
    PTFileNamer counting;
    for (int i = 0; i < 5000; ++i)
        made.insert(counting.nextFreeName("folder", "icon", "svg", [&](const QString& candidate) {
            ++lookups;
            return made.contains(candidate);
        }));
    EXPECT_EQ(made.size(), 5002);
    EXPECT_TRUE(made.contains("icon.5001.svg"));
    EXPECT_EQ(lookups, 5002);
}
