#include "UpkeepTestSupport.h"

#include "library/upkeep/PTLibraryBackupController.h"
#include "library/entities/PTModel.h"
#include "platform/runtime/Defaults.h"
#include "platform/store/ObjectContext.h"

#include "StoreTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace pt::test {

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void UpkeepTest::SetUp()
{
    QStandardPaths::setTestModeEnabled(false);
    previousDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    pt::Defaults::useStorageFile(home.filePath("settings.ini"));
    PTLibraryController::registerDefaults();
    QCoreApplication::setApplicationVersion("2.4.1");
    shell = std::make_shared<FakeLibraryShell>();
    PTLibraryShell::install(shell);
}

void UpkeepTest::TearDown()
{
    PTLibraryShell::install(nullptr);
    PTLibraryController::setCurrentLibrary(nullptr);
    qputenv("XDG_DATA_HOME", previousDataHome);
    QStandardPaths::setTestModeEnabled(true);
}

PTLibraryController* UpkeepTest::makeCurrentLibrary(int items)
{
    auto library = PTLibraryController::initWithCreatingLibraryAtPath(QDir(baseFolder()).filePath("Pictern.ptlibrary"));
    library->synchronizeMeta();
    {
        auto coordinator = store::StoreCoordinator::open(library->persistantStoreCoordinatorPath(), PTModel::current());
        EXPECT_TRUE(coordinator.ok());
        store::ObjectContext context(store::ObjectContext::Kind::Confinement, *coordinator);
        store::ManagedObject* set = makeObject(context, "PTCollection", "Arrows");
        set->setValue("identifier", QStringLiteral("SET-1"));
        for (int i = 0; i < items; ++i)
            makeObject(context, "PTItem", QStringLiteral("item %1").arg(i))->setToOne("collection", set);
        EXPECT_TRUE(context.save().ok());
    }
    writeFile(library->locationByAppendingPath("Sets/SET-1/item-0.svg", false), "<svg/>");
    PTLibraryController::setCurrentLibrary(std::move(library));
    return PTLibraryController::currentLibrary();
}

QStringList UpkeepTest::backups() const
{
    return QDir(PTLibraryBackupController::defaultBackupLocation()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace pt::test
