#pragma once

#include "platform/store/ManagedObject.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>

class PTCollection;
class PTItem;

// What the icon browser asks of the sidebars: the source list's current set, selecting and renaming there, and
// the inspector's sets, items, reload and name editing, and the open-in choice. The sidebar subsystem installs its
// implementation at start-up; tests install fakes.
class PTBrowserSidebar {
public:
    using Objects = QVector<pt::store::ManagedObject*>;

    // A control that lists the applications able to open its files and names the one chosen.
    class OpenInControl : public QWidget {
    public:
        using QWidget::QWidget;
        // Keeps the files and lists the applications that can open them.
        virtual void setFileURLs(const QList<QUrl>& urls) = 0;
        // The desktop-file id of the chosen application; empty when there is none.
        virtual QString selectedApplication() const = 0;
        // Run when the user asks to open the files in the chosen application.
        void setOpenHandler(std::function<void()> handler) { openHandler_ = std::move(handler); }

    protected:
        void open() const
        {
            if (openHandler_)
                openHandler_();
        }

    private:
        std::function<void()> openHandler_;
    };

    virtual ~PTBrowserSidebar() = default;
    // The set selected in the source list; null when none is (a group, or nothing).
    virtual PTCollection* currentCollection() = 0;
    // The groups and sets selected in the source list, in its order; empty when nothing (or only the entry of all
    // icons) is.
    virtual Objects selectedGroupsAndCollections() = 0;
    // Selects the groups and sets (extend keeps the selection); the completion runs once the grid shows them.
    virtual void selectItems(const Objects& objects, bool extend, std::function<void()> completion = {}) = 0;
    // Runs the block with the source list's selection handed on even when it did not change.
    virtual void forceSelectionPropagation(const std::function<void()>& block) = 0;
    virtual void beginEditForManagedObject(pt::store::ManagedObject* object) = 0;

    // The inspector.
    virtual void setInspectedCollections(const QVector<PTCollection*>& sets, const Objects& topLevelObjects) = 0;
    virtual void setInspectedItems(const QVector<PTItem*>& items, bool clearing) = 0;
    virtual void reloadInspector() = 0;
    // Starts editing the inspected item's name; false when the inspector has no item page.
    virtual bool beginEditingItemName() = 0;
    // Writes what was typed in the inspector for the inspected items and not written yet (tags and descriptions
    // wait for the next save) and saves the library; the completion runs on the main queue once the store holds
    // it, at once when there is nothing to write.
    virtual void saveInspectedItemEdits(std::function<void()> completion) = 0;

    // The open-in choice for files: the desktop file id of the chosen application, empty when there is none;
    // and opening files with it.
    virtual QString applicationForFiles(const QList<QUrl>& files) = 0;
    virtual void openFilesInApplication(const QList<QUrl>& files, const QString& application) = 0;
    // A new open-in control, a child of the parent; null where the sidebars offer none.
    virtual OpenInControl* makeOpenInControl(QWidget* parent) = 0;

    static void install(std::shared_ptr<PTBrowserSidebar> sidebar);
    static std::shared_ptr<PTBrowserSidebar> installed();
};
