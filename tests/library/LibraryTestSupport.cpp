#include "LibraryTestSupport.h"

#include "TestSupport.h"
#include "library/ImportNaming.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/PTLibraryController.h"
#include "library/controllers/PTLicenceController.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "platform/runtime/Defaults.h"

#include <QFile>

namespace pt::test {

namespace {

class Host : public PTStoreStackHost {
public:
    Host(QString path, bool& failuresExpected, QVector<pt::Error>& failures)
        : path_(std::move(path)), failuresExpected_(failuresExpected), failures_(failures)
    {
    }
    QString storePath() const override { return path_; }
    void presentError(const pt::Error& error) override { ADD_FAILURE() << error.toString().toStdString(); }
    void saveFailed(const pt::Error& error) override
    {
        if (failuresExpected_)
            failures_.append(error);
        else
            ADD_FAILURE() << error.toString().toStdString();
    }

private:
    QString path_;
    bool& failuresExpected_;
    QVector<pt::Error>& failures_;
};

} // namespace

void LibraryTest::SetUp()
{
    pt::Defaults::useStorageFile(dir.filePath(QStringLiteral("settings.ini")));
    PTLibraryController::setCurrentLibrary(PTLibraryController::initWithCreatingLibraryAtPath(libraryPath()));
    host_ = std::make_shared<Host>(PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath(),
                                   saveFailuresExpected, saveErrors);
    PTStoreStack::setHost(host_);
    PTConfirmation::install(confirmation);
}

void LibraryTest::TearDown()
{
    PTConfirmation::install(nullptr);
    closeLibrary();
}

void LibraryTest::closeLibrary()
{
    PTLicenceController::sharedController().purge();
    PTCollectionController::sharedController().purge();
    PTGroupController::sharedController().purge();
    PTGroupController::sharedController().purgeRemovalOfCollections();
    PTStoreStack::setHost(nullptr);
    PTLibraryController::setCurrentLibrary(nullptr);
}

void LibraryTest::openLibrary()
{
    PTLibraryController::setCurrentLibrary(PTLibraryController::initWithLibraryPath(libraryPath()));
    PTStoreStack::setHost(host_);
}

QString LibraryTest::libraryPath() const
{
    return dir.filePath(QStringLiteral("Test.ptlibrary"));
}

store::ObjectContext& LibraryTest::context()
{
    return *PTMainManagedObjectContext();
}

void LibraryTest::saveAndWait()
{
    bool done = false;
    PTSaveManagedObjectContextWithCompletion([&](const pt::Error& error) {
        EXPECT_TRUE(error.isNull()) << error.toString().toStdString();
        done = true;
    });
    ASSERT_TRUE(runMainQueueUntil([&] { return done; }));
}

PTCollection* LibraryTest::makeSet(const QString& name)
{
    PTCollection* set = PTCollection::insert(context());
    set->setName(name);
    PTSetNewObjectDefaults(set);
    return set;
}

PTItem* LibraryTest::makeItem(PTCollection* set, const QString& name, const QString& fileName, const QString& source)
{
    PTItem* item = PTItem::insert(context());
    item->setName(name);
    item->setNewFileName(fileName);
    item->setType(PTItem::SVG);
    item->setCollection(set);
    const QString target = item->fileURL().toLocalFile();
    EXPECT_TRUE(QFile::copy(source.isEmpty() ? themeIcon() : source, target)) << target.toStdString();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return item;
}

QString themeIcon(const QString& name)
{
    return QStringLiteral("/usr/share/icons/Papirus/24x24/actions/%1.svg").arg(name);
}

NotificationRecorder::NotificationRecorder(const QStringList& names) : names(names)
{
    for (const QString& name : names) {
        tokens_.push_back(NotificationCenter::defaultCenter().addObserver(
            name, nullptr, [this](const Notification& notification) { posted.append(notification); }));
    }
}

QStringList NotificationRecorder::postedNames() const
{
    QStringList result;
    for (const Notification& notification : posted)
        result << notification.name;
    return result;
}

} // namespace pt::test
