#include "BundleTestSupport.h"

#include "TestSupport.h"
#include "foundation/DataAdditions.h"
#include "library/bundle/PTTernExporter.h"
#include "library/bundle/PTTernImporter.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace pt::test {

void BundleTest::SetUp()
{
    LibraryTest::SetUp();
    PTLibraryShell::install(shell);
}

void BundleTest::TearDown()
{
    PTLibraryShell::install(nullptr);
    LibraryTest::TearDown();
}

void BundleTest::exportAndWait(store::ManagedObject* object, const QString& path)
{
    bool done = false;
    auto exporter = PTTernExporter::create(object, path);
    exporter->setCompletionHandler([&done] { done = true; });
    exporter->begin();
    ASSERT_TRUE(runMainQueueUntil([&] { return done; }, 120000));
}

BundleTest::Imported BundleTest::importAndWait(const QString& path)
{
    Imported imported;
    bool done = false;
    auto importer = PTTernImporter::create(path);
    importer->setErrorHandler([&imported](const pt::Error& error) { imported.errors.append(error); });
    importer->setCompletionHandler([&](const QVector<store::ObjectID>& objects) {
        imported.objects = objects;
        done = true;
    });
    importer->begin();
    EXPECT_TRUE(runMainQueueUntil([&] { return done; }, 120000));
    imported.skipped = importer->skippedRecordCount();
    PTTernImporter::purge();
    saveAndWait();
    return imported;
}

QJsonObject BundleTest::readMeta(const QString& bundle)
{
    QFile file(QDir(bundle).filePath(QStringLiteral("META")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const auto json = dataAdditions::gunzippedData(file.readAll());
    EXPECT_TRUE(json.ok());
    return json ? QJsonDocument::fromJson(*json).object() : QJsonObject();
}

QString BundleTest::writeBundle(const QString& name, const QByteArray& meta)
{
    const QString bundle = out.filePath(name + QStringLiteral(".pictern"));
    QDir().mkpath(QDir(bundle).filePath(QStringLiteral("icons")));
    QFile file(QDir(bundle).filePath(QStringLiteral("META")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(meta);
    return bundle;
}

QByteArray BundleTest::gzipped(const QJsonObject& object)
{
    return dataAdditions::gzippedData(QJsonDocument(object).toJson()).valueOr({});
}

PTGroup* BundleTest::makeGroup(const QString& name, PTGroup* parent)
{
    PTGroup* group = PTGroup::insert(context());
    group->setName(name);
    group->setGroup(parent);
    return group;
}

PTLicence* BundleTest::makeLicence(const QString& name)
{
    PTLicence* licence = PTLicence::insert(context());
    licence->setName(name);
    return licence;
}

} // namespace pt::test
