// Derived values of the library's entities, on a real library package and store.
#include "LibraryTestSupport.h"

#include "TestSupport.h"
#include "foundation/StringAdditions.h"
#include "library/ImportNaming.h"
#include "library/entities/PTGroup.h"
#include "library/PTLibraryController.h"
#include "library/entities/PTLicence.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using pt::test::LibraryTest;

namespace {

class EntitiesTest : public LibraryTest {};

} // namespace

TEST_F(EntitiesTest, ObjectsOfTheModelAreOfTheTypedClasses)
{
    EXPECT_TRUE(PTItem::from(context().insert("PTItem")));
    EXPECT_TRUE(PTCollection::from(context().insert("PTCollection")));
    EXPECT_TRUE(PTGroup::from(context().insert("PTGroup")));
    EXPECT_TRUE(PTLicence::from(context().insert("PTLicence")));
    EXPECT_FALSE(PTItem::from(context().insert("PTGroup")));
}

TEST_F(EntitiesTest, ItemSettersKeepNormalisedCopies)
{
    PTItem* item = PTItem::insert(context());
    item->setName(QStringLiteral("Café Ｂar"));
    item->setTagsString(QStringLiteral("Éclair,Arrow"));
    item->setInformativeText(QStringLiteral("ÜBER"));
    EXPECT_EQ(item->name(), QStringLiteral("Café Ｂar"));
    EXPECT_EQ(item->nameNormalized(), stringAdditions::normalizedString(QStringLiteral("Café Ｂar")));
    EXPECT_EQ(item->nameNormalized(), QStringLiteral("cafe bar"));
    EXPECT_EQ(item->tagsStringNormalized(), QStringLiteral("eclair,arrow"));
    EXPECT_EQ(item->informativeTextNormalized(), QStringLiteral("uber"));

    item->setName(QString());
    EXPECT_TRUE(item->value("name").isNull());
    EXPECT_TRUE(item->value("nameNormalized").isNull());

    // Values written around the setters (an older store) are renewed.
    item->setPrimitiveValue("name", QStringLiteral("Ünder"));
    item->setPrimitiveValue("informativeTextNormalized", QStringLiteral("stale"));
    item->reapplyNormalizedStrings();
    EXPECT_EQ(item->nameNormalized(), QStringLiteral("under"));
    EXPECT_EQ(item->informativeTextNormalized(), QStringLiteral("uber"));

    saveAndWait();
    context().refresh(item, false);
    EXPECT_EQ(item->tagsStringNormalized(), QStringLiteral("eclair,arrow"));
}

TEST_F(EntitiesTest, ItemDisplayStrings)
{
    struct Case {
        QString fileName;
        qint64 type;
        qint64 width, height;
        const char* typeString;
        const char* dimensions;
        const char* mime;
    };
    const Case cases[] = {
        {"a.svg", PTItem::PNG, 16, 16, "SVG", "16 x 16", "image/png"},
        {"a", PTItem::ICNS, 512, 256, "ICNS", "512 x 256", "image/icns"},
        {"a", PTItem::PDF, 10, 20, "PDF", "Scalable", "application/pdf"},
        {"a", PTItem::SVG, 0, 0, "SVG", "Scalable", "image/svg+xml"},
        {"a.Webp", PTItem::WEBP, 1, 2, "WEBP", "1 x 2", "image/webp"},
        {"a", PTItem::ICO, 32, 32, "ICO", "32 x 32", "image/ico"},
        {"a", 9, 3, 4, "Unknown", "3 x 4", ""},
        {"", -1, 0, 0, "Unknown", "0 x 0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName.toStdString() + " " + std::to_string(c.type));
        PTItem* item = PTItem::insert(context());
        item->setNewFileName(c.fileName);
        item->setType(c.type);
        item->setWidth(c.width);
        item->setHeight(c.height);
        EXPECT_EQ(item->typeString(), QString::fromLatin1(c.typeString));
        EXPECT_EQ(item->dimensionsString(), QString::fromLatin1(c.dimensions));
        EXPECT_EQ(item->mime(), QString::fromLatin1(c.mime));
        EXPECT_EQ(item->base64URIPrefix(), *c.mime ? QStringLiteral("data:%1;base64,").arg(c.mime) : QString());
    }
    EXPECT_EQ(PTItem::formattedBaseName(QStringLiteral("Ärrow Up"), PTItem::ICNS), QStringLiteral("arrow up.icns"));
    EXPECT_EQ(PTItem::formattedBaseName(QStringLiteral("a"), PTItem::ICO), QStringLiteral("a.ico"));

    PTItem* item = PTItem::insert(context());
    EXPECT_EQ(item->humanDate(), QStringLiteral("N/A"));
    item->setDate(QDateTime(QDate(2024, 3, 5), QTime(12, 0)));
    EXPECT_EQ(item->humanDate(), QStringLiteral("05 Mar 2024"));
}

TEST_F(EntitiesTest, TagComponentsAndMap)
{
    PTItem* item = PTItem::insert(context());
    EXPECT_TRUE(item->tagComponents().isEmpty());
    item->setTagsString(QStringLiteral(",arrow,,Left, up,arrow,"));
    EXPECT_EQ(item->tagComponents(), (QSet<QString>{"arrow", "Left", " up"}));
    const QHash<QString, QString> map = item->tagMap();
    EXPECT_EQ(map.value("left"), QStringLiteral("Left"));
    EXPECT_EQ(map.size(), 3);

    item->setTagsStringFromComponents({QStringLiteral("Éa"), QStringLiteral("b")});
    EXPECT_EQ(item->tagComponents(), (QSet<QString>{"Éa", "b"}));
    EXPECT_TRUE(item->tagsStringNormalized().contains(QStringLiteral("ea")));
}

TEST_F(EntitiesTest, FileLocationsLieInsideTheLibrary)
{
    PTCollection* set = makeSet(QStringLiteral("Arrows"));
    const QString identifier = set->identifier();
    EXPECT_EQ(identifier, identifier.toUpper());
    EXPECT_EQ(identifier.size(), 36);
    const QString folder = libraryPath() + "/Sets/" + identifier;
    EXPECT_EQ(set->formattedDirectory(), folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(set->fileURL(), QUrl::fromLocalFile(folder));

    PTItem* item = pt::test::LibraryTest::makeItem(set, "Next", "next.svg");
    EXPECT_EQ(item->fileURL(), QUrl::fromLocalFile(folder + "/next.svg"));
    EXPECT_EQ(item->bytes(), QFileInfo(pt::test::themeIcon()).size());
    EXPECT_FALSE(item->fileSizeString().isEmpty());

    // A link is measured itself, not its target.
    QFile::link(pt::test::themeIcon(), folder + "/link.svg");
    item->setNewFileName("link.svg");
    EXPECT_LT(item->bytes(), QFileInfo(pt::test::themeIcon()).size());
    item->setNewFileName("missing.svg");
    EXPECT_EQ(item->bytes(), 0);

    // Reading the original's location makes its folder.
    item->setOriginalFileName("Next Original.svg");
    const QString originals = libraryPath() + "/Originals/" + identifier + "/missing.svg";
    EXPECT_EQ(item->originalFileURL(), QUrl::fromLocalFile(originals + "/Next Original.svg"));
    EXPECT_TRUE(QFileInfo(originals).isDir());
    EXPECT_EQ(item->oldOriginalFileURL(), item->originalFileURL());

    // Names from outside (bundles) never lead out of the set's folder.
    item->setNewFileName("../../META");
    EXPECT_TRUE(item->fileURL().isEmpty());
    EXPECT_TRUE(item->originalFileURL().isEmpty());
    EXPECT_EQ(item->bytes(), 0);
    set->setIdentifier("../..");
    const QString fresh = set->formattedDirectory();
    EXPECT_TRUE(fresh.startsWith(libraryPath() + "/Sets/"));
    EXPECT_NE(set->identifier(), QStringLiteral("../.."));

    // Without a set there is no file.
    EXPECT_TRUE(PTItem::insert(context())->fileURL().isEmpty());
}

TEST_F(EntitiesTest, SortedItemsAndTheOlderFolder)
{
    PTCollection* set = makeSet(QStringLiteral("Arrows"));
    PTCollection* other = makeSet(QStringLiteral("Other"));
    for (const char* name : {"b", "Cello", "apple"})
        makeItem(set, name, QString::fromLatin1(name) + ".svg");
    makeItem(other, "Aardvark", "aardvark.svg");
    for (bool saved : {false, true}) {
        if (saved)
            saveAndWait();
        QStringList names;
        for (PTItem* item : set->sortedItems())
            names << item->name();
        EXPECT_EQ(names, (QStringList{"Cello", "apple", "b"})) << (saved ? "saved" : "unsaved");
    }

    const QString setsFolder = libraryPath() + "/Sets";
    EXPECT_EQ(set->legacyFormattedDirectory(), setsFolder + "/arrows");
    EXPECT_EQ(set->fileName(), QStringLiteral("arrows"));
    EXPECT_TRUE(QFileInfo(setsFolder + "/arrows").isDir());
    // Stored names from outside never name "Sets" itself, a folder above it or one below another.
    for (const char* stored : {"", ".", "..", "a/b", "../../escape"}) {
        SCOPED_TRACE(stored);
        other->setValue("fileName", QString::fromLatin1(stored));
        const QString folder = other->legacyFormattedDirectory();
        EXPECT_TRUE(folder.isEmpty() || QFileInfo(folder).dir().path() == setsFolder) << folder.toStdString();
        EXPECT_NE(QDir(folder).canonicalPath(), QDir(setsFolder).canonicalPath());
    }
    EXPECT_FALSE(QFileInfo::exists(setsFolder + "/a"));
    EXPECT_FALSE(QFileInfo::exists(libraryPath() + "/../escape"));
}

TEST_F(EntitiesTest, NamesAreNeverEmpty)
{
    PTCollection* set = PTCollection::insert(context());
    EXPECT_EQ(set->name(), QStringLiteral("Untitled Set"));
    set->setName(QStringLiteral(" \n\t "));
    EXPECT_EQ(set->value("name").toString(), QStringLiteral("Unknown"));
    set->setName(QStringLiteral("  Icons "));
    EXPECT_EQ(set->value("name").toString(), QStringLiteral("  Icons "));
    set->setPrimitiveValue("name", QString(""));
    EXPECT_EQ(set->name(), QStringLiteral("Untitled Set"));

    PTCollection* misc = PTCollection::insert(context());
    misc->setType(PTCollection::MiscellaneousType);
    misc->setName(QString());
    EXPECT_EQ(misc->name(), QStringLiteral("Miscellaneous"));
    EXPECT_FALSE(misc->moveable());
    EXPECT_FALSE(misc->removeable());
    EXPECT_FALSE(misc->allowsLicence());
    EXPECT_TRUE(set->moveable());

    PTGroup* group = PTGroup::insert(context());
    EXPECT_EQ(group->name(), QStringLiteral("Untitled Group"));
    group->setName("Outer");
    PTGroup* inner = PTGroup::insert(context());
    inner->setName("Inner");
    inner->setGroup(group);
    set->setName("Leaf");
    set->setGroup(inner);
    EXPECT_EQ(set->breadCrumbs(), (QStringList{"Outer", "Inner", "Leaf"}));
    EXPECT_EQ(set->path(), (QVector<pt::store::ManagedObject*>{group, inner, set}));
    EXPECT_EQ(group->groups(), (QVector<PTGroup*>{inner}));
    EXPECT_EQ(inner->sets(), (QVector<PTCollection*>{set}));

    EXPECT_TRUE(set->value("fileName").isNull());
    EXPECT_EQ(set->baseName(), QStringLiteral("leaf"));
}

TEST_F(EntitiesTest, NewSetDefaultsAndLicenceAddress)
{
    PTCollection* set = PTCollection::insert(context());
    set->setName(QStringLiteral("Flèches"));
    const QDateTime before = QDateTime::currentDateTime();
    PTSetNewObjectDefaults(set);
    EXPECT_EQ(set->normalizedSearch(), QStringLiteral("fleches"));
    EXPECT_GE(set->date(), before.addSecs(-1));
    EXPECT_FALSE(set->identifier().isEmpty());
    EXPECT_FALSE(set->humanDate().isEmpty());

    PTLicence* licence = PTLicence::insert(context());
    const struct {
        const char* url;
        bool valid;
    } cases[] = {{"MIT", false}, {"https://opensource.org/license/mit", true}, {"", false},
                 {"mailto:a@b.c", false}, {"http:///path", false}};
    for (const auto& c : cases) {
        licence->setUrl(QString::fromLatin1(c.url));
        EXPECT_EQ(licence->validatedURL().isValid(), c.valid) << c.url;
    }
}
