#include "DemoLibrary.h"

#include "../BenchStoreHost.h"
#include "library/PTLibraryController.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>

DemoLibrary::DemoLibrary()
{
    PTLibraryController::setCurrentLibrary(
        PTLibraryController::initWithCreatingLibraryAtPath(dir_.filePath(QStringLiteral("Demo.ptlibrary"))));
    PTStoreStack::setHost(
        std::make_shared<BenchStoreHost>(PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath()));
}

DemoLibrary::~DemoLibrary()
{
    PTStoreStack::setHost(nullptr);
    PTLibraryController::setCurrentLibrary(nullptr);
}

PTCollection* DemoLibrary::addSet(const QString& name)
{
    return PTCollectionController::sharedController().createCollectionWithName(name, PTMainManagedObjectContext());
}

int DemoLibrary::addFolder(PTCollection* set, const QString& folder, int limit)
{
    int added = 0;
    QDirIterator it(folder, {QStringLiteral("*.svg")}, QDir::Files);
    while (it.hasNext() && added < limit) {
        const QFileInfo info = it.nextFileInfo();
        if (info.isSymLink())
            continue;
        PTItem* item = PTItem::insert(*set->context());
        item->setName(info.completeBaseName());
        item->setNewFileName(info.fileName());
        item->setType(PTItem::SVG);
        item->setCollection(set);
        QFile::copy(info.filePath(), item->fileURL().toLocalFile());
        ++added;
    }
    return added;
}

void DemoLibrary::save()
{
    bool done = false;
    QEventLoop loop;
    PTSaveManagedObjectContextWithCompletion([&](const pt::Error&) {
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
}
