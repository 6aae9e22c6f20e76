#include "BundleTestSupport.h"

#include "TestSupport.h"
#include "library/PTLibraryController.h"
#include "library/bundle/PTTernExporter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>

using namespace pt::test;

namespace {

QJsonObject onlyRecord(const QJsonObject& section)
{
    EXPECT_EQ(section.size(), 1);
    return section.isEmpty() ? QJsonObject() : section.begin()->toObject();
}

QJsonObject recordNamed(const QJsonObject& section, const QString& name)
{
    for (const QJsonValue& record : section) {
        if (record.toObject().value(QStringLiteral("name")).toString() == name)
            return record.toObject();
    }
    ADD_FAILURE() << "no record " << name.toStdString();
    return {};
}

} // namespace

TEST_F(BundleTest, SetExportedAloneWritesTheExactFormat)
{
    PTGroup* group = makeGroup(QStringLiteral("Outer"), nullptr);
    PTCollection* set = makeSet(QStringLiteral("Arrows"));
    set->setGroup(group);
    set->setInformativeText(QStringLiteral("  \n"));
    PTLicence* licence = makeLicence(QStringLiteral("MIT"));
    set->setLicence(licence);
    PTItem* upper = makeItem(set, QStringLiteral("Left"), QStringLiteral("Arrow.svg"));
    upper->setTagsString(QStringLiteral("left,arrow"));
    upper->setInformativeText(QStringLiteral("points left"));
    upper->setLicence(licence);
    makeItem(set, QStringLiteral("Right"), QStringLiteral("arrow.SVG"));
    saveAndWait();

    const QString bundle = out.filePath(QStringLiteral("Arrows.pictern"));
    exportAndWait(set, bundle);

    QFile meta(QDir(bundle).filePath(QStringLiteral("META")));
    ASSERT_TRUE(meta.open(QIODevice::ReadOnly));
    EXPECT_EQ(meta.read(2), QByteArray("\x1f\x8b"));
    const QJsonObject root = readMeta(bundle);
    QStringList keys = root.keys();
    keys.sort();
    EXPECT_EQ(keys, QStringList({"groups", "items", "licences", "meta", "sets"}));
    EXPECT_EQ(root.value("meta")["version"].toDouble(), 2.0);
    EXPECT_TRUE(root.value("meta")["build"].toObject().contains("version"));
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(root.value("meta")["date"].toString()).hasMatch());
    EXPECT_TRUE(root.value("groups").toObject().isEmpty());

    const QJsonObject setRecord = onlyRecord(root.value("sets").toObject());
    const QRegularExpression uuid("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
    const QString setID = setRecord.value("identifier").toString();
    EXPECT_TRUE(uuid.match(setID).hasMatch()) << setID.toStdString();
    EXPECT_EQ(root.value("sets").toObject().keys(), QStringList{setID});
    EXPECT_FALSE(setRecord.contains("parent"));
    EXPECT_FALSE(setRecord.contains("description"));
    EXPECT_EQ(setRecord.value("name").toString(), "Arrows");

    const QJsonObject licenceRecord = onlyRecord(root.value("licences").toObject());
    EXPECT_EQ(setRecord.value("licence").toString(), licenceRecord.value("identifier").toString());
    EXPECT_EQ(licenceRecord.value("url"), QJsonValue(""));
    EXPECT_EQ(licenceRecord.value("text"), QJsonValue(""));

    const QJsonObject items = root.value("items").toObject();
    ASSERT_EQ(items.size(), 2);
    const QJsonObject left = recordNamed(items, "Left");
    const QJsonObject right = recordNamed(items, "Right");
    EXPECT_EQ(left.value("parent").toString(), setID);
    EXPECT_EQ(left.value("tags").toString(), "left,arrow");
    EXPECT_EQ(left.value("description").toString(), "points left");
    EXPECT_EQ(left.value("licence").toString(), licenceRecord.value("identifier").toString());
    EXPECT_EQ(right.value("licence"), QJsonValue(""));
    EXPECT_EQ(right.value("unicode"), QJsonValue(""));
    EXPECT_FALSE(right.contains("tags"));
    EXPECT_FALSE(right.contains("date"));
    QStringList files{left.value("file").toString(), right.value("file").toString()};
    files.sort();
    EXPECT_EQ(files, QStringList({"arrow.1.svg", "arrow.svg"}));
    QStringList onDisk = QDir(QDir(bundle).filePath("icons")).entryList(QDir::Files);
    EXPECT_EQ(onDisk, files);
}

TEST_F(BundleTest, GroupExportLinksChildrenButNotTheRoot)
{
    PTGroup* outer = makeGroup(QStringLiteral("Outer"), makeGroup(QStringLiteral("Above"), nullptr));
    PTGroup* inner = makeGroup(QStringLiteral("Inner"), outer);
    inner->setInformativeText(QStringLiteral("nested"));
    PTCollection* empty = makeSet(QStringLiteral("Empty"));
    empty->setGroup(inner);
    PTCollection* missing = makeSet(QStringLiteral("Missing file"));
    missing->setGroup(outer);
    PTItem* gone = makeItem(missing, QStringLiteral("Gone"), QStringLiteral("gone.svg"));
    gone->setLicence(makeLicence(QStringLiteral("Kept")));
    saveAndWait();
    QFile::remove(gone->fileURL().toLocalFile());

    const QString bundle = out.filePath(QStringLiteral("Outer.pictern"));
    exportAndWait(outer, bundle);
    const QJsonObject root = readMeta(bundle);
    const QJsonObject groups = root.value("groups").toObject();
    ASSERT_EQ(groups.size(), 2);
    const QJsonObject outerRecord = recordNamed(groups, "Outer");
    EXPECT_FALSE(outerRecord.contains("parent"));
    EXPECT_EQ(recordNamed(groups, "Inner").value("parent").toString(), outerRecord.value("identifier").toString());
    EXPECT_EQ(recordNamed(groups, "Inner").value("description").toString(), "nested");
    const QJsonObject sets = root.value("sets").toObject();
    EXPECT_EQ(recordNamed(sets, "Empty").value("parent").toString(),
              recordNamed(groups, "Inner").value("identifier").toString());
    // An item whose file could not be copied is left out; its licence is still written.
    EXPECT_TRUE(root.value("items").toObject().isEmpty());
    EXPECT_EQ(onlyRecord(root.value("licences").toObject()).value("name").toString(), "Kept");
    EXPECT_EQ(shell->revealed, QStringList{bundle});
}

TEST_F(BundleTest, ConcurrentSetsNeverShareAFileName)
{
    PTGroup* group = makeGroup(QStringLiteral("Many"), nullptr);
    for (int i = 0; i < 20; ++i) {
        PTCollection* set = makeSet(QStringLiteral("Set %1").arg(i));
        set->setGroup(group);
        makeItem(set, QStringLiteral("Icon %1").arg(i), QStringLiteral("Icon.svg"), themeIcon(i % 2 ? "go-next" : "go-previous"));
    }
    saveAndWait();
    const QString bundle = out.filePath(QStringLiteral("Many.pictern"));
    exportAndWait(group, bundle);

    const QJsonObject items = readMeta(bundle).value("items").toObject();
    ASSERT_EQ(items.size(), 20);
    QSet<QString> files;
    for (const QJsonValue& record : items) {
        const QString file = record.toObject().value("file").toString();
        files.insert(file);
        const int number = record.toObject().value("name").toString().section(' ', 1).toInt();
        QFile copy(QDir(bundle).filePath("icons/" + file));
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        QFile source(themeIcon(number % 2 ? "go-next" : "go-previous"));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), source.readAll()) << file.toStdString();
    }
    EXPECT_EQ(files.size(), 20);
    EXPECT_TRUE(files.contains("icon.svg"));
    EXPECT_TRUE(files.contains("icon.19.svg"));
}

TEST_F(BundleTest, ExportFromThePanelForcesTheExtensionAndReportsProgress)
{
    PTCollection* set = makeSet(QStringLiteral("Panel Set"));
    makeItem(set, QStringLiteral("One"), QStringLiteral("one.svg"));
    saveAndWait();
    shell->panelAnswer = out.filePath(QStringLiteral("Chosen.zip"));
    PTTernExporter::exportManagedObject(set);
    const QString bundle = out.filePath(QStringLiteral("Chosen.pictern"));
    ASSERT_TRUE(runMainQueueUntil([&] { return !shell->sheets.isEmpty() && shell->sheets[0]->sessionEnded; }, 20000));
    EXPECT_EQ(shell->sheets[0]->titles, QStringList({"Exporting Tern, please wait...", "Export Complete"}));
    EXPECT_TRUE(QFile::exists(QDir(bundle).filePath("META")));
    EXPECT_EQ(shell->revealed, QStringList{bundle});
}

TEST_F(BundleTest, OnlyAConfirmedPathIsReplacedAndNeverOneHoldingTheLibrary)
{
    const QString existing = out.filePath(QStringLiteral("Taken.pictern"));
    QDir().mkpath(existing);
    // Chosen as "Taken.svg": the forced name was never shown to the user.
    EXPECT_EQ(PTTernExporter::bundlePathForPath(out.filePath("Taken.svg"), out.filePath("Taken.svg")),
              out.filePath("Taken 2.pictern"));
    EXPECT_EQ(PTTernExporter::bundlePathForPath(existing, existing), existing);
    EXPECT_EQ(PTTernExporter::bundlePathForPath(out.filePath("Free"), {}), out.filePath("Free.pictern"));

    PTCollection* set = makeSet(QStringLiteral("Set"));
    saveAndWait();
    const QString store = PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath();
    exportAndWait(set, libraryPath());
    exportAndWait(set, dir.path());
    EXPECT_TRUE(QFile::exists(store));
    EXPECT_FALSE(QDir(libraryPath()).exists("icons"));

    const QString holder = out.filePath(QStringLiteral("Holder.pictern"));
    PTLibraryController::setCurrentLibrary(
        PTLibraryController::initWithCreatingLibraryAtPath(QDir(holder).filePath("Inner.ptlibrary")));
    EXPECT_EQ(PTTernExporter::bundlePathForPath(holder, holder), out.filePath("Holder 2.pictern"));
}

TEST_F(BundleTest, LongNamesFitAndAMissingFileMakesTheExportIncomplete)
{
    PTGroup* group = makeGroup(QStringLiteral("Long"), nullptr);
    // The longest name a file may have, twice: the second copy needs a counter.
    const QString longest = QString(251, u'a') + QStringLiteral(".svg");
    for (int i = 0; i < 2; ++i) {
        PTCollection* set = makeSet(QStringLiteral("Set %1").arg(i));
        set->setGroup(group);
        makeItem(set, QStringLiteral("Icon %1").arg(i), longest, themeIcon(i ? "go-next" : "go-previous"));
    }
    PTCollection* broken = makeSet(QStringLiteral("Broken"));
    broken->setGroup(group);
    ASSERT_TRUE(QFile::remove(makeItem(broken, QStringLiteral("Gone"), QStringLiteral("gone.svg"))->fileURL().toLocalFile()));
    saveAndWait();

    PTTernExporter::exportManagedObjectToPath(group, out.filePath(QStringLiteral("Long")));
    ASSERT_TRUE(runMainQueueUntil([&] { return !shell->sheets.isEmpty() && shell->sheets[0]->sessionEnded; }, 20000));
    EXPECT_EQ(shell->sheets[0]->titles, QStringList({"Exporting Tern, please wait...", "Export Incomplete"}));
    EXPECT_EQ(shell->alerts.size(), 1);

    const QString bundle = out.filePath(QStringLiteral("Long.pictern"));
    const QJsonObject items = readMeta(bundle).value("items").toObject();
    ASSERT_EQ(items.size(), 2);
    QSet<QString> files;
    for (const QJsonValue& record : items) {
        const QString file = record.toObject().value("file").toString();
        EXPECT_LE(file.toUtf8().size(), 255);
        EXPECT_TRUE(QFile::exists(QDir(bundle).filePath("icons/" + file))) << file.toStdString();
        files.insert(file);
    }
    EXPECT_EQ(files.size(), 2);
}

TEST_F(BundleTest, AnExportThatCannotWriteTheBundleSaysItFailed)
{
    PTCollection* set = makeSet(QStringLiteral("Nowhere"));
    saveAndWait();
    // A plain file where the bundle's folder would go: nothing can be written below it.
    QFile blocker(out.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    PTTernExporter::exportManagedObjectToPath(set, out.filePath(QStringLiteral("blocker/Bundle")));
    ASSERT_TRUE(runMainQueueUntil([&] { return !shell->sheets.isEmpty() && shell->sheets[0]->sessionEnded; }, 20000));
    EXPECT_EQ(shell->sheets[0]->titles, QStringList({"Exporting Tern, please wait...", "Export Failed"}));
    EXPECT_EQ(shell->alerts.size(), 1);
    EXPECT_TRUE(shell->revealed.isEmpty());
}
