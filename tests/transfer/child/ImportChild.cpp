// A process of its own that imports into a library, for tests that kill an import on purpose.
// Usage: import_child <library package> <name of the target group> <options> <path>...
// Prints "imported <count>" after each stored batch and "done" when the import has ended.
#include "library/PTLibraryController.h"
#include "library/entities/PTGroup.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "platform/runtime/Defaults.h"
#include "platform/store/Predicate.h"
#include "transfer/import/PTImporter2.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

class Host : public PTStoreStackHost {
public:
    explicit Host(QString path) : path_(std::move(path)) {}
    QString storePath() const override { return path_; }
    void presentError(const pt::Error& error) override { QTextStream(stderr) << error.toString() << Qt::endl; }
    void saveFailed(const pt::Error& error) override { presentError(error); }

private:
    QString path_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 5)
        return 2;
    QTemporaryDir settings;
    pt::Defaults::useStorageFile(settings.filePath(QStringLiteral("settings.ini")));
    PTLibraryController::setCurrentLibrary(PTLibraryController::initWithLibraryPath(arguments.at(1)));
    if (!PTLibraryController::currentLibrary())
        return 3;
    PTStoreStack::setHost(std::make_shared<Host>(PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath()));
    pt::store::FetchRequest request;
    request.entityName = PTGroup::EntityName;
    request.predicate = *pt::store::Predicate::parse(QStringLiteral("name=%@"), {arguments.at(2)});
    const auto groups = PTMainManagedObjectContext()->fetch(request);
    if (!groups || groups->isEmpty())
        return 4;

    QTextStream out(stdout);
    auto importer = PTImporter2::create(groups->front(), arguments.mid(4), arguments.at(3).toULongLong(nullptr, 0));
    importer->setProgressHandler([&out](qint64 imported) { out << "imported " << imported << Qt::endl; });
    importer->setCompletionHandler([&out](const PTImporter2::Result&) {
        out << "done" << Qt::endl;
        // The save the completion asked for ends before the process does.
        PTSaveManagedObjectContextWithCompletion([](const pt::Error&) { QCoreApplication::exit(0); });
    });
    importer->begin();
    const int code = QCoreApplication::exec();
    importer.reset();
    PTStoreStack::setHost(nullptr);
    PTLibraryController::setCurrentLibrary(nullptr);
    return code;
}
