#include "BundleTestSupport.h"

#include "TestSupport.h"
#include "library/controllers/PTGroupController.h"
#include "foundation/DataAdditions.h"
#include "library/bundle/PTSourceListSelection.h"
#include "library/bundle/PTTernImporter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <zlib.h>

using namespace pt::test;

namespace {

QJsonObject record(std::initializer_list<QPair<QString, QJsonValue>> fields)
{
    QJsonObject object;
    for (const auto& field : fields)
        object.insert(field.first, field.second);
    return object;
}

QJsonObject section(const QVector<QJsonObject>& records)
{
    QJsonObject object;
    for (const QJsonObject& record : records)
        object.insert(record.value("identifier").toString(QString::number(object.size())), record);
    return object;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A small gzip stream that inflates to `size` zero bytes.
QByteArray gzipBomb(qint64 size)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, 31, 9, Z_DEFAULT_STRATEGY);
    const QByteArray zeros(1 << 20, '\0');
    QByteArray result;
    QByteArray buffer(1 << 16, '\0');
    for (qint64 written = 0; written <= size; written += zeros.size()) {
        const bool last = written + zeros.size() > size;
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
        stream.avail_in = uInt(zeros.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
            stream.avail_out = uInt(buffer.size());
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            result.append(buffer.constData(), buffer.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return result;
}

QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

} // namespace

TEST_F(BundleTest, RoundTripKeepsTreeNamesTagsLicencesSizesAndBytes)
{
    QDir papirus(QStringLiteral("/usr/share/icons/Papirus/48x48/apps"));
    const QStringList icons = papirus.entryList({"*.svg"}, QDir::Files, QDir::Name).mid(0, 2000);
    ASSERT_EQ(icons.size(), 2000);
    PTGroup* root = makeGroup(QStringLiteral("Papirus"), nullptr);
    root->setInformativeText(QStringLiteral("apps"));
    PTGroup* sub = makeGroup(QStringLiteral("More"), root);
    PTLicence* gpl = makeLicence(QStringLiteral("GPL"));
    gpl->setUrl(QStringLiteral("https://example.org/gpl"));
    PTLicence* other = makeLicence(QStringLiteral("Other"));
    for (int s = 0; s < 10; ++s) {
        PTCollection* set = makeSet(QStringLiteral("Apps %1").arg(s));
        set->setGroup(s < 5 ? root : sub);
        set->setLicence(s % 2 ? gpl : nullptr);
        for (int i = s * 200; i < s * 200 + 200; ++i) {
            PTItem* item = makeItem(set, QFileInfo(icons[i]).completeBaseName(), icons[i], papirus.filePath(icons[i]));
            item->setTagsString(QStringLiteral("app,n%1").arg(i));
            if (i % 7 == 0)
                item->setLicence(other);
            // Wider than tall, so neither side can stand in for the other.
            if (i % 3 == 0) {
                item->setWidth(24);
                item->setHeight(16);
            }
        }
    }
    saveAndWait();
    const qint64 licencesBefore = all<PTLicence>().size();

    const QString bundle = out.filePath(QStringLiteral("Papirus.pictern"));
    exportAndWait(root, bundle);
    ASSERT_TRUE(PTTernImporter::isPathATern(bundle));
    const Imported imported = importAndWait(bundle);
    ASSERT_TRUE(imported.errors.isEmpty());
    ASSERT_EQ(imported.objects.size(), 1);
    PTGroup* copy = PTGroup::from(context().existingObjectWithID(imported.objects[0]));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, root);
    EXPECT_EQ(copy->name(), "Papirus");
    EXPECT_EQ(copy->informativeText(), "apps");
    EXPECT_EQ(copy->group(), nullptr);
    EXPECT_EQ(all<PTLicence>().size(), licencesBefore) << "licences matched by name, none made";

    const auto describeTree = [](PTGroup* group) {
        QStringList lines;
        std::function<void(PTGroup*, const QString&)> walk = [&](PTGroup* g, const QString& prefix) {
            for (PTGroup* child : g->groups()) {
                lines << prefix + "group " + child->name();
                walk(child, prefix + "  ");
            }
            for (PTCollection* set : g->sets()) {
                lines << prefix + "set " + set->name() + " " + (set->licence() ? set->licence()->name() : "-");
                QStringList items;
                for (PTItem* item : set->items()) {
                    QStringList tags = item->tagComponents().values();
                    tags.sort();
                    items << item->name() + " " + tags.join('|') + " " + (item->licence() ? item->licence()->name() : "-") +
                                 QStringLiteral(" %1x%2 ").arg(item->width()).arg(item->height()) +
                                 QString::number(qHash(fileBytes(item->fileURL().toLocalFile())));
                }
                items.sort();
                lines << items;
            }
        };
        walk(group, "");
        lines.sort();
        return lines;
    };
    const QStringList original = describeTree(root);
    EXPECT_EQ(original.size(), 2000 + 10 + 1);
    EXPECT_EQ(describeTree(copy), original);
}

TEST_F(BundleTest, BrokenMetaIsRefusedWithItsCode)
{
    struct Case {
        const char* name;
        QByteArray meta;
        qint64 code;
    };
    const QByteArray json = QJsonDocument(QJsonObject{{"sets", QJsonObject{}}}).toJson();
    const QByteArray good = gzipped(QJsonObject{{"sets", QJsonObject{}}});
    const std::vector<Case> cases{
        {"plain", json, 0},
        {"garbage", QByteArray("\x01\x02garbage"), 0},
        {"empty", QByteArray(), 1},
        {"truncated", good.left(good.size() - 6), 1},
        {"corruptgzip", QByteArray("\x1f\x8b") + QByteArray(64, 'x'), 1},
        {"notjson", dataAdditions::gzippedData("{\"sets\": ").valueOr({}), 1},
        {"array", dataAdditions::gzippedData("[1, 2]").valueOr({}), 1},
        {"section", gzipped(QJsonObject{{"items", QJsonArray{1}}}), 1},
    };
    makeSet(QStringLiteral("Existing"));
    saveAndWait();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Imported imported = importAndWait(writeBundle(c.name, c.meta));
        ASSERT_EQ(imported.errors.size(), 1);
        EXPECT_EQ(imported.errors[0].domain, "PTTernImporterErroDomain");
        EXPECT_EQ(imported.errors[0].code, c.code);
        EXPECT_TRUE(imported.objects.isEmpty());
    }
    EXPECT_EQ(all<PTCollection>().size(), 1);
    importAndWait(out.filePath("nothing-here.pictern"));
    PTTernImporter::presentError(pt::Error("PTTernImporterErroDomain", 0));
    PTTernImporter::presentError(pt::Error("PTTernImporterErroDomain", 1));
    EXPECT_EQ(shell->alerts,
              QStringList({"Unsupported Tern Version | The Tern file you are trying to import is unsupported and "
                           "cannot be imported.",
                           "Corrupt Tern | It appears the Tern file you are trying to import is corrupt."}));
}

TEST_F(BundleTest, GzipBombIsCorrupt)
{
    const Imported imported = importAndWait(writeBundle("bomb", gzipBomb(qint64(600) << 20)));
    ASSERT_EQ(imported.errors.size(), 1);
    EXPECT_EQ(imported.errors[0].code, 1);
}

TEST_F(BundleTest, FileNamesNeverLeaveTheIconsFolder)
{
    const QString secret = out.filePath(QStringLiteral("secret.svg"));
    QFile::copy(themeIcon(), secret);
    QVector<QJsonObject> items;
    for (const QString& file : QStringList{"../../secret.svg", secret, "sub/x.svg", "..", "link.svg", "good.svg", "missing.svg"})
        items << record({{"name", file}, {"file", file}, {"parent", "S"}, {"identifier", file}});
    const QString bundle = writeBundle("hostile", gzipped(QJsonObject{
        {"sets", section({record({{"identifier", "S"}, {"name", "Hostile"}})})},
        {"items", section(items)},
    }));
    QDir().mkpath(QDir(bundle).filePath("icons/sub"));
    QFile::copy(themeIcon(), QDir(bundle).filePath("icons/sub/x.svg"));
    QFile::copy(themeIcon(), QDir(bundle).filePath("icons/good.svg"));
    QFile::link(secret, QDir(bundle).filePath("icons/link.svg"));

    const Imported imported = importAndWait(bundle);
    ASSERT_EQ(imported.objects.size(), 1);
    PTCollection* set = PTCollection::from(context().existingObjectWithID(imported.objects[0]));
    ASSERT_TRUE(set);
    ASSERT_EQ(set->items().size(), 1);
    EXPECT_EQ(set->items()[0]->name(), "good.svg");
    EXPECT_EQ(QDir(set->formattedDirectory()).entryList(QDir::Files), QStringList{"good.svg"});
    EXPECT_EQ(all<PTItem>().size(), 1);
}

TEST_F(BundleTest, WrongTypesCountAsAbsent)
{
    const QString bundle = writeBundle("types", gzipped(QJsonObject{
        {"meta", 7},
        {"groups", section({record({{"identifier", "G"}, {"name", 3}, {"sort", "high"}, {"parent", 12}})})},
        {"sets", section({record({{"identifier", "S"}, {"name", "Typed"}, {"parent", "G"}, {"licence", QJsonArray{}},
                                  {"date", 5}}),
                          QJsonObject()})},
        {"licences", QJsonObject{{"x", "not a record"}}},
        {"items", section({record({{"identifier", "I"}, {"name", "Arrow Left"}, {"file", "a.svg"}, {"parent", "S"},
                                   {"tags", QJsonArray{"x"}}, {"width", "24"}, {"type", QJsonValue::Null}}),
                           record({{"identifier", "J"}, {"name", "Loose"}, {"file", "a.svg"}})})},
    }));
    QFile::copy(themeIcon(), QDir(bundle).filePath("icons/a.svg"));
    const Imported imported = importAndWait(bundle);
    ASSERT_TRUE(imported.errors.isEmpty());
    ASSERT_EQ(imported.objects.size(), 2) << "the group and the record-less set at the top level";
    PTGroup* group = PTGroup::from(context().existingObjectWithID(imported.objects[0]));
    ASSERT_TRUE(group);
    EXPECT_EQ(group->name(), "Untitled Group");
    ASSERT_EQ(group->sets().size(), 1);
    PTCollection* set = group->sets()[0];
    EXPECT_EQ(set->licence(), nullptr);
    ASSERT_EQ(set->items().size(), 1);
    PTItem* item = set->items()[0];
    EXPECT_EQ(item->width(), 0);
    EXPECT_EQ(item->tagComponents(), QSet<QString>({"Arrow", "Left"})) << "tags of the wrong type: from the name";
    // An item without a set keeps no file.
    int loose = 0;
    for (PTItem* any : all<PTItem>())
        loose += any->name() == "Loose" && !any->collection() && any->newFileName().isEmpty();
    EXPECT_EQ(loose, 1);
}

TEST_F(BundleTest, ParallelBatchesShareOneMissingSet)
{
    QVector<QJsonObject> items;
    for (int i = 0; i < 1000; ++i)
        items << record({{"identifier", QString::number(i)}, {"name", QStringLiteral("Icon %1").arg(i)},
                         {"file", "a.svg"}, {"parent", "MISSING"}});
    const QString bundle = writeBundle("orphans", gzipped(QJsonObject{{"items", section(items)}}));
    QFile::copy(themeIcon(), QDir(bundle).filePath("icons/a.svg"));
    const QStringList setsBefore = QDir(libraryPath() + "/Sets").entryList(QDir::Dirs | QDir::NoDotAndDotDot);

    const Imported imported = importAndWait(bundle);
    ASSERT_EQ(imported.objects.size(), 1);
    ASSERT_EQ(all<PTCollection>().size(), 1);
    PTCollection* set = all<PTCollection>()[0];
    EXPECT_EQ(set->items().size(), 1000);
    const QStringList setsAfter = QDir(libraryPath() + "/Sets").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(setsAfter.size(), setsBefore.size() + 1);
    QSet<QString> names;
    for (PTItem* item : set->items())
        names.insert(item->newFileName());
    EXPECT_EQ(names.size(), 1000);
    EXPECT_EQ(filesBelow(set->formattedDirectory()).size(), 1000);
}

TEST_F(BundleTest, LicencesMatchByNameKeyAndNewTopLevelObjectsFollowTheExisting)
{
    PTLicence* mit = makeLicence(QStringLiteral("MIT"));
    makeSet(QStringLiteral("First"));
    makeGroup(QStringLiteral("Second"), nullptr);
    saveAndWait();
    const qint64 topLevel = PTGroupController::sharedController().objectsForGroup(nullptr, true).size();

    const QString bundle = writeBundle("licensed", gzipped(QJsonObject{
        {"licences", section({record({{"identifier", "L1"}, {"name", " m i t "}, {"url", ""}, {"text", ""}}),
                              record({{"identifier", "L2"}, {"name", "Fresh"}, {"url", "u"}, {"text", "t"}})})},
        {"sets", section({record({{"identifier", "A"}, {"name", "A"}, {"licence", "L1"}, {"sort", 99}}),
                          record({{"identifier", "B"}, {"name", "B"}, {"licence", "L2"}})})},
        {"items", section({record({{"identifier", "I"}, {"name", "I"}, {"file", "a.svg"}, {"parent", "A"},
                                   {"licence", "L1"}, {"tags", "one,two"}})})},
    }));
    QFile::copy(themeIcon(), QDir(bundle).filePath("icons/a.svg"));
    const Imported imported = importAndWait(bundle);
    ASSERT_EQ(imported.objects.size(), 2);
    EXPECT_EQ(all<PTLicence>().size(), 2);
    QVector<qint64> sorts;
    for (const auto& id : imported.objects) {
        PTCollection* set = PTCollection::from(context().existingObjectWithID(id));
        ASSERT_TRUE(set);
        sorts << set->sort();
        if (set->name() == "A") {
            EXPECT_EQ(set->licence(), mit);
            ASSERT_EQ(set->items().size(), 1);
            EXPECT_EQ(set->items()[0]->licence(), mit);
            EXPECT_EQ(set->items()[0]->tagComponents(), QSet<QString>({"one", "two"}));
        } else {
            ASSERT_TRUE(set->licence());
            EXPECT_EQ(set->licence()->name(), "Fresh");
            EXPECT_EQ(set->licence()->text(), "t");
        }
    }
    std::sort(sorts.begin(), sorts.end());
    EXPECT_EQ(sorts, QVector<qint64>({topLevel + 1, topLevel + 2}));

    // A second import makes independent copies.
    EXPECT_EQ(importAndWait(bundle).objects.size(), 2);
    EXPECT_EQ(all<PTCollection>().size(), 5);
}

TEST_F(BundleTest, SeveralBundlesImportUnderOneSheetAndAreSelected)
{
    struct Selection : PTSourceListSelection {
        QVector<pt::store::ManagedObject*> selected;
        bool extended = true;
        void selectItems(const QVector<pt::store::ManagedObject*>& objects, bool extend) override
        {
            selected = objects;
            extended = extend;
        }
    };
    auto selection = std::make_shared<Selection>();
    PTSourceListSelection::install(selection);
    QStringList bundles;
    for (const char* name : {"one", "two"})
        bundles << writeBundle(name, gzipped(QJsonObject{{"sets", section({record({{"identifier", "S"}, {"name", name}})})}}));
    bool done = false;
    PTTernImporter::importRorevAtURLs(bundles, [&] { done = true; });
    ASSERT_TRUE(runMainQueueUntil([&] { return done; }, 20000));
    PTSourceListSelection::install(nullptr);
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets[0]->titles, QStringList({"Importing Picterns...", "Import Complete"}));
    EXPECT_EQ(shell->sheets[0]->subTitles, QStringList{"Importing 2 Rorev."});
    EXPECT_TRUE(shell->sheets[0]->sessionEnded);
    EXPECT_FALSE(selection->extended);
    QStringList names;
    for (auto* object : selection->selected)
        names << PTCollection::from(object)->name();
    EXPECT_EQ(names, QStringList({"one", "two"}));
}

TEST_F(BundleTest, OpenPanelOffersBundlesAsOneItemAndImportsTheChoice)
{
    shell->panelAnswer = writeBundle("chosen", gzipped(QJsonObject{{"sets", section({record({{"identifier", "S"}, {"name", "Chosen"}})})}}));
    PTTernImporter::openTernFromOpenPanel();
    ASSERT_TRUE(runMainQueueUntil([&] { return !shell->sheets.isEmpty() && shell->sheets[0]->sessionEnded; }, 20000));
    EXPECT_EQ(shell->lastRequest.allowedExtensions, QStringList{"pictern"});
    EXPECT_TRUE(shell->lastRequest.packageExtensions.contains("pictern"));
    EXPECT_TRUE(shell->lastRequest.packageExtensions.contains("ptlibrary"));
    EXPECT_TRUE(shell->lastRequest.shouldShowFilename(out.filePath("x.pictern")));
    EXPECT_FALSE(shell->lastRequest.shouldShowFilename(out.filePath("x.zip")));
    EXPECT_EQ(shell->sheets[0]->titles, QStringList({"Importing Pictern, please wait...", "Import Complete"}));
    ASSERT_EQ(all<PTCollection>().size(), 1);
    EXPECT_EQ(all<PTCollection>()[0]->name(), "Chosen");
}

TEST_F(BundleTest, GroupCyclesAreBrokenNotImported)
{
    const QString bundle = writeBundle("cycle", gzipped(QJsonObject{{"groups", section({
        record({{"identifier", "A"}, {"name", "A"}, {"parent", "B"}}),
        record({{"identifier", "B"}, {"name", "B"}, {"parent", "A"}}),
        record({{"identifier", "C"}, {"name", "C"}, {"parent", "C"}}),
    })}}));
    const Imported imported = importAndWait(bundle);
    EXPECT_EQ(imported.objects.size(), 2);
    const QVector<PTGroup*> groups = all<PTGroup>();
    ASSERT_EQ(groups.size(), 3);
    for (PTGroup* group : groups) {
        int depth = 0;
        for (PTGroup* up = group->group(); up && depth < 10; up = up->group())
            ++depth;
        EXPECT_LT(depth, 2) << group->name().toStdString();
    }
}

TEST_F(BundleTest, RecordsCopyingMoreThanTheBundleHoldsAreCorruptAndWriteNothing)
{
    // One sparse file named by eight records: a few kilobytes of bundle, far more once copied.
    QVector<QJsonObject> items;
    for (int i = 0; i < 8; ++i)
        items << record({{"identifier", QString::number(i)}, {"name", "Big"}, {"file", "big.svg"}, {"parent", "S"}});
    const QString bundle = writeBundle("amplified", gzipped(QJsonObject{
        {"sets", section({record({{"identifier", "S"}, {"name", "Big"}})})},
        {"items", section(items)},
    }));
    QFile big(QDir(bundle).filePath("icons/big.svg"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64(48) << 20));
    big.close();

    const Imported imported = importAndWait(bundle);
    ASSERT_EQ(imported.errors.size(), 1);
    EXPECT_EQ(imported.errors[0].code, 1);
    EXPECT_TRUE(imported.objects.isEmpty());
    EXPECT_TRUE(all<PTItem>().isEmpty());
    EXPECT_TRUE(all<PTCollection>().isEmpty());
    EXPECT_TRUE(filesBelow(libraryPath() + "/Sets").isEmpty());
}

TEST_F(BundleTest, RecordsOverTheFieldCapsAreSkippedAndCounted)
{
    const QString longName(256, u'n');
    const QString wideName(128, u'\u00e9'); // 128 characters, 256 bytes in UTF-8
    const QString fullName(255, u'f');
    const QString longText(64 * 1024 + 1, u't');
    const QString bundle = writeBundle("capped", gzipped(QJsonObject{
        {"licences", section({record({{"identifier", "L"}, {"name", longName}}),
                              record({{"identifier", "M"}, {"name", "Kept"}, {"text", QString(64 * 1024, u't')}})})},
        {"groups", section({record({{"identifier", "G"}, {"name", longName}}),
                            record({{"identifier", "H"}, {"name", "Kept"}, {"description", longText}})})},
        {"sets", section({record({{"identifier", "S"}, {"name", fullName}}),
                          record({{"identifier", "W"}, {"name", wideName}})})},
        {"items", section({record({{"identifier", "1"}, {"name", fullName}, {"file", "a.svg"}, {"parent", "S"}}),
                           record({{"identifier", "2"}, {"name", longName}, {"file", "a.svg"}, {"parent", "S"}}),
                           record({{"identifier", "3"}, {"name", "t"}, {"tags", longText}, {"file", "a.svg"}, {"parent", "S"}}),
                           record({{"identifier", "4"}, {"name", "f"}, {"file", longName + ".svg"}, {"parent", "S"}}),
                           record({{"identifier", "5"}, {"name", "p"}, {"file", "a.svg"}, {"parent", longName}})})},
    }));
    QFile::copy(themeIcon(), QDir(bundle).filePath("icons/a.svg"));

    const Imported imported = importAndWait(bundle);
    ASSERT_TRUE(imported.errors.isEmpty());
    EXPECT_EQ(imported.skipped, 8);
    ASSERT_EQ(all<PTCollection>().size(), 1);
    PTCollection* set = all<PTCollection>()[0];
    EXPECT_EQ(set->name(), fullName);
    ASSERT_EQ(set->items().size(), 1);
    EXPECT_EQ(set->items()[0]->name(), fullName);
    EXPECT_EQ(all<PTItem>().size(), 1);
    EXPECT_EQ(all<PTGroup>().size(), 0);
    QStringList licences;
    for (PTLicence* licence : all<PTLicence>())
        licences << licence->name();
    EXPECT_TRUE(licences.contains("Kept"));
    EXPECT_FALSE(licences.contains(longName));
}
