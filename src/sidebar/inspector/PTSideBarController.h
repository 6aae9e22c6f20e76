#pragma once

#include "platform/runtime/NotificationCenter.h"
#include "platform/store/ManagedObject.h"

#include <QObject>
#include <QPointer>
#include <QScrollArea>
#include <QVector>

#include <functional>
#include <memory>

#include <optional>

class PTCollection;
class PTItem;
class PTSideBarTabControl;
class PTSideBarViewController;
class PTSideColumns;
class QAction;
class QScrollArea;
class QWidget;

// The inspector column: its panes behind a tab strip, fed with the grid's items and the source list's sets and
// groups. Each pane saves its edits before new data replaces them; a save that changes what the grid shows asks
// the grid to reload, once per turn of the main queue. Pending edits are also saved when the application is
// about to quit, before its last save. It also hides and shows the window's inspector and sets columns for the
// View menu.
class PTSideBarController : public QObject {
    Q_OBJECT
public:
    using Objects = QVector<pt::store::ManagedObject*>;

    // The set pane and the icon pane, in that order.
    explicit PTSideBarController(QObject* parent = nullptr);
    // The given panes in tab order; the controller takes them.
    explicit PTSideBarController(const QVector<PTSideBarViewController*>& panes, QObject* parent = nullptr);
    ~PTSideBarController() override;

    QWidget* containerView() const { return containerView_; }
    QScrollArea* scrollArea() const { return scrollArea_; }
    PTSideBarTabControl* tabControl() const { return tabControl_; }
    const QVector<PTSideBarViewController*>& viewControllers() const { return controllers_; }
    int currentControllerIndex() const { return currentIndex_; }

    // The grid's selection; clear empties the inspector instead of handing it a new selection.
    void setItems(const QVector<PTItem*>& items, bool clear);
    // The sets the grid shows and the groups and sets selected in the source list.
    void setCollections(const QVector<PTCollection*>& collections, const Objects& topLevelObjects);
    // Hands the current items to every pane again.
    void reloadData();
    // Saves one pane now.
    void saveState(PTSideBarViewController* pane);
    // Saves the panes of the items now (what a search must find); the completion runs once the store holds the
    // edits, at once when no pane had any to write.
    void saveItemEdits(std::function<void()> completion);
    void requestGridViewUpdate();
    void selectController(PTSideBarViewController* pane);
    // Starts editing the name in the pane at index 1; false when there is none.
    bool beginEditingItemName();
    void updateFrame();

    // The window's columns are in place: takes the View menu's Show/Hide Inspector (Ctrl+I) and Show/Hide Sets
    // items, opens the inspector on the first launch, and reads which side columns show.
    void splitViewReady(std::shared_ptr<PTSideColumns> columns, bool firstLaunch);
    bool isOpen() const { return open_; }
    bool isCollectionOpen() const { return collectionOpen_; }
    // The inspector column.
    void toggle();
    void open();
    void close();
    // The sets column.
    void toggleCollections();
    void openCollections();
    void closeCollections();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SavedSelection {
        QVector<PTCollection*> collections;
        Objects topLevel;
    };

    void build(const QVector<PTSideBarViewController*>& panes);
    void setControllerIndex(int index);
    void setVisibleView(QWidget* view);
    void saveCurrentController(int mask, std::function<void()> completion = {});
    void finishSave(bool saved, bool gridNeedsReload, std::function<void()> completion = {});
    void didToggle();
    void didToggleCollections();

    QPointer<QWidget> containerView_;
    // Gone first when the column is deleted with its window: the column's children go before the controller.
    QPointer<QScrollArea> scrollArea_;
    PTSideBarTabControl* tabControl_ = nullptr;
    QVector<PTSideBarViewController*> controllers_;
    QVector<PTItem*> items_;
    QVector<PTCollection*> collections_;
    Objects topLevel_;
    // The source list's selection while an item selection is shown, given back when it ends.
    std::optional<SavedSelection> saved_;
    int currentIndex_ = -1;
    bool wantsGridViewUpdate_ = false;
    pt::ObserverToken willTerminate_;
    std::shared_ptr<PTSideColumns> columns_;
    QPointer<QAction> menuItem_;
    QPointer<QAction> collectionMenuItem_;
    bool open_ = false;
    bool collectionOpen_ = false;
};
