#pragma once

#include "platform/store/ManagedObject.h"

#include <QObject>
#include <QPointer>
#include <QVector>
#include <QWidget>

class PTCollection;
class PTItem;
class PTSideBarController;

// The base of every inspector pane. The inspector feeds each pane every item and set selection through the
// setters below, which call the pane's hooks around storing the new lists, and asks the pane to save its edits
// before new data replaces them.
class PTSideBarViewController : public QObject {
    Q_OBJECT
public:
    using Objects = QVector<pt::store::ManagedObject*>;
    // Bits of saveStateResponderOptions: when the inspector saves this pane.
    enum SaveOption { SavesBeforeNewItems = 2, SavesBeforeNewCollections = 4 };

    explicit PTSideBarViewController(QObject* parent = nullptr);
    ~PTSideBarViewController() override;

    QWidget* view() const { return view_; }
    QString label() const { return label_; }
    int saveStateResponderOptions() const { return saveStateResponderOptions_; }
    const QVector<PTItem*>& items() const { return items_; }
    const QVector<PTCollection*>& collections() const { return collections_; }
    const Objects& topLevelGroupsAndCollections() const { return topLevel_; }
    PTSideBarController* controller() const { return controller_; }
    void setController(PTSideBarController* controller) { controller_ = controller; }

    // Builds the pane's views once; the inspector calls it when it takes the pane.
    void load();
    // Yes: the visible view fills the scroll area instead of taking the height it needs.
    virtual bool wantsAutoSizedView() const { return false; }
    void requestGridViewUpdate();
    void becomePrimaryController();
    // Saves this pane at once (the action of fields whose change must be written straight away).
    void requestStateSave();
    // Writes the pane's edits to its objects; true when it did so and the store must save. Sets
    // gridNeedsReload when the grid shows something that changed.
    virtual bool saveState(bool& gridNeedsReload);
    virtual void willBecomeHidden() {}
    virtual void willBecomeVisible() {}
    virtual void didBecomeHidden() {}
    virtual void didBecomeVisible() {}

    void setItems(const QVector<PTItem*>& items, bool clear);
    void setTopLevelGroupsAndCollections(const Objects& objects);
    void setCollections(const QVector<PTCollection*>& collections);

signals:
    void viewChanged(QWidget* view);
    void labelChanged();

protected:
    // The view the inspector shows for this pane. The pane owns its views; the inspector only borrows them.
    void setView(QWidget* view);
    void setLabel(const QString& label);
    void setSaveStateResponderOptions(int options) { saveStateResponderOptions_ = options; }
    // Keeps a view of the pane alive and deleted with it while the inspector does not show it.
    void adopt(QWidget* view);

    virtual void controllerDidLoad() {}
    virtual void willReceiveTopLevelGroupsAndCollections() {}
    virtual void didReceiveTopLevelGroupsAndCollections() {}
    virtual void willReceiveNewCollections() {}
    virtual void didReceiveNewCollections() {}
    virtual void willReceiveNewItems(bool clear) { Q_UNUSED(clear); }
    virtual void didReceiveNewItems(bool clear) { Q_UNUSED(clear); }

private:
    QPointer<QWidget> view_;
    QVector<QPointer<QWidget>> owned_;
    QString label_;
    int saveStateResponderOptions_ = 0;
    QVector<PTItem*> items_;
    QVector<PTCollection*> collections_;
    Objects topLevel_;
    PTSideBarController* controller_ = nullptr; // the owner of the pane
    bool loaded_ = false;
};
