#include "AppTestLibrary.h"

#include "TestSupport.h"

#include "library/PTLibraryController.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "platform/runtime/Defaults.h"

#include <QDir>

#include <memory>

AppTestLibrary& AppTestLibrary::shared()
{
    static const std::shared_ptr<AppTestLibrary> library = [] {
        std::shared_ptr<AppTestLibrary> made(new AppTestLibrary);
        pt::Defaults::standard().set(PTLibraryController::PathKey, made->path());
        PTLibraryController::setCurrentLibrary(PTLibraryController::initWithCreatingLibraryAtPath(made->path()));
        PTStoreStack::setHost(made);
        return made;
    }();
    return *library;
}

AppTestLibrary::AppTestLibrary() = default;

QString AppTestLibrary::path() const
{
    return dir_.filePath(QStringLiteral("Test.ptlibrary"));
}

QString AppTestLibrary::storePath() const
{
    return QDir(path()).filePath(PTLibraryController::StoreFileName);
}

void AppTestLibrary::presentError(const pt::Error& error)
{
    presented << error.localizedDescription();
}

PTCollection* AppTestLibrary::addSet(const QString& name, const QStringList& itemNames)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    PTCollection* set = PTCollectionController::sharedController().createCollectionWithName(name, context);
    for (const QString& itemName : itemNames) {
        PTItem* item = PTItem::insert(*context);
        item->setName(itemName);
        item->setCollection(set);
    }
    bool saved = false;
    PTSaveManagedObjectContextWithCompletion([&saved](const pt::Error&) { saved = true; });
    pt::test::runMainQueueUntil([&saved] { return saved; });
    return set;
}
