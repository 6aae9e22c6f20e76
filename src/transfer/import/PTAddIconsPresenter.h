#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class PTCollection;
namespace pt::store {
class ManagedObject;
}

// Opens the add-icons sheet on the main window with no files yet and the set (or none) as the target. The
// import subsystem installs it; until then the commands that open it are disabled.
class PTAddIconsPresenter {
public:
    virtual ~PTAddIconsPresenter() = default;
    virtual void presentNewCollection(PTCollection* target) = 0;
    // Opens the sheet with the files, the set preselected (none: the sheet's own choice), naming the application
    // that asked (empty: none). Finished gets the set or group the icons went into, null when cancelled.
    using Finished = std::function<void(pt::store::ManagedObject* target)>;
    virtual void presentImport(const QList<QUrl>& files, PTCollection* preselected, const QString& requestingApplication,
                               Finished finished) = 0;

    static void install(std::shared_ptr<PTAddIconsPresenter> presenter);
    static std::shared_ptr<PTAddIconsPresenter> installed();
};
