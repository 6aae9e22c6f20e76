#include "sidebar/inspector/PTSideBarController.h"


#include "browser/controller/PTGridViewController.h"
#include "library/PTLibraryController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/DispatchQueue.h"
#include "sidebar/inspector/PTIconSideBarController.h"
#include "sidebar/inspector/PTSetSideBarController.h"
#include "sidebar/inspector/PTSideBarBackgroundView.h"
#include "sidebar/inspector/PTSideBarMainSeperatorView.h"
#include "sidebar/inspector/PTSideBarTabControl.h"
#include "sidebar/inspector/PTSideColumns.h"

#include <QAction>
#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

PTSideBarController::PTSideBarController(QObject* parent) : QObject(parent)
{
    build({new PTSetSideBarController, new PTIconSideBarController});
}

PTSideBarController::PTSideBarController(const QVector<PTSideBarViewController*>& panes, QObject* parent)
    : QObject(parent)
{
    build(panes);
}

PTSideBarController::~PTSideBarController()
{
    // The panes own their views: take the shown one back before the column goes.
    if (scrollArea_)
        scrollArea_->takeWidget();
    qDeleteAll(controllers_);
    if (containerView_ && !containerView_->parent())
        delete containerView_.data();
}

void PTSideBarController::build(const QVector<PTSideBarViewController*>& panes)
{
    auto* container = new PTSideBarBackgroundView;
    containerView_ = container;
    container->setAccessibleName(tr("Inspector"));
    tabControl_ = new PTSideBarTabControl;
    scrollArea_ = new QScrollArea;
    scrollArea_->setAccessibleName(tr("Inspector pane"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setWidgetResizable(false);
    scrollArea_->viewport()->setAutoFillBackground(false);
    scrollArea_->viewport()->installEventFilter(this);
    auto* separator = new PTSideBarMainSeperatorView;
    separator->setAccessibleName(tr("Inspector tabs separator"));
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabControl_);
    layout->addWidget(separator);
    layout->addWidget(scrollArea_, 1);

    for (PTSideBarViewController* pane : panes) {
        pane->setParent(this);
        pane->setController(this);
        pane->load();
        controllers_.append(pane);
        connect(pane, &PTSideBarViewController::viewChanged, this, [this, pane](QWidget* view) {
            if (currentIndex_ >= 0 && controllers_.at(currentIndex_) == pane)
                setVisibleView(view);
        });
    }
    tabControl_->setControllers(controllers_);
    connect(tabControl_, &PTSideBarTabControl::selectionChanged, this, &PTSideBarController::setControllerIndex);
    setControllerIndex(0);
    setItems({}, false);
    updateFrame();

    willTerminate_ = pt::NotificationCenter::defaultCenter().addObserver(
        PTLibraryController::WillTerminateNotification, nullptr, [this](const pt::Notification&) {
            saveCurrentController(PTSideBarViewController::SavesBeforeNewItems |
                                  PTSideBarViewController::SavesBeforeNewCollections);
        });
}

void PTSideBarController::setControllerIndex(int index)
{
    if (index == currentIndex_ || index < 0 || index >= controllers_.size())
        return;
    PTSideBarViewController* old = currentIndex_ >= 0 ? controllers_.at(currentIndex_) : nullptr;
    if (old)
        old->willBecomeHidden();
    currentIndex_ = index;
    PTSideBarViewController* pane = controllers_.at(index);
    pane->willBecomeVisible();
    setVisibleView(pane->view());
    pane->didBecomeVisible();
    if (old)
        old->didBecomeHidden();
}

void PTSideBarController::setVisibleView(QWidget* view)
{
    // setWidget() deletes the widget it replaces; the panes own their views.
    if (scrollArea_->widget() != view) {
        scrollArea_->takeWidget();
        if (view)
            scrollArea_->setWidget(view);
    }
    updateFrame();
}

void PTSideBarController::updateFrame()
{
    if (currentIndex_ < 0 || !scrollArea_)
        return;
    PTSideBarViewController* pane = controllers_.at(currentIndex_);
    QWidget* view = pane->view();
    if (!view)
        return;
    const QSize viewport = scrollArea_->viewport()->size();
    if (pane->wantsAutoSizedView()) {
        view->setGeometry(0, 0, viewport.width(), viewport.height());
        return;
    }
    const int height = view->hasHeightForWidth() ? view->heightForWidth(viewport.width())
                                                 : std::max(view->height(), view->sizeHint().height());
    view->resize(viewport.width(), height);
}

bool PTSideBarController::eventFilter(QObject* watched, QEvent* event)
{
    if (scrollArea_ && watched == scrollArea_->viewport() && event->type() == QEvent::Resize)
        updateFrame();
    return QObject::eventFilter(watched, event);
}

void PTSideBarController::selectController(PTSideBarViewController* pane)
{
    const int index = controllers_.indexOf(pane);
    if (index < 0)
        return;
    tabControl_->setSelectedIndex(index);
    setControllerIndex(tabControl_->selectedIndex());
}

void PTSideBarController::setItems(const QVector<PTItem*>& items, bool clear)
{
    if (items.isEmpty()) {
        // An emptied item selection shows the source list's selection again; a clearing does not.
        if (!clear && saved_) {
            const SavedSelection saved = *saved_;
            setCollections(saved.collections, saved.topLevel);
        }
        saved_.reset();
    } else if (items_.isEmpty()) {
        // The lists held now are the source list's; while items are shown they are the items' sets, so moving
        // from one item selection to another keeps what was saved first.
        saved_.reset();
        if (!topLevel_.isEmpty() || !collections_.isEmpty())
            saved_ = SavedSelection{collections_, topLevel_};
    }
    if (items.isEmpty() && items_.isEmpty())
        return;
    if (!items_.isEmpty())
        saveCurrentController(PTSideBarViewController::SavesBeforeNewItems);
    items_.clear();
    if (items.isEmpty()) {
        for (PTSideBarViewController* pane : controllers_)
            pane->setItems({}, clear);
        return;
    }
    items_ = items;
    QVector<PTCollection*> sets;
    for (PTItem* item : items)
        if (PTCollection* set = item->collection(); set && !sets.contains(set))
            sets.append(set);
    Objects objects(sets.begin(), sets.end());
    setCollections(sets, objects);
    for (PTSideBarViewController* pane : controllers_)
        pane->setItems(items_, clear);
}

void PTSideBarController::setCollections(const QVector<PTCollection*>& collections, const Objects& topLevelObjects)
{
    if (!collections_.isEmpty()) {
        saveCurrentController(PTSideBarViewController::SavesBeforeNewCollections);
        collections_.clear();
        topLevel_.clear();
    }
    if (!collections.isEmpty())
        collections_ = collections;
    topLevel_ = topLevelObjects;
    for (PTSideBarViewController* pane : controllers_) {
        pane->setTopLevelGroupsAndCollections(topLevel_);
        pane->setCollections(collections_);
    }
}

void PTSideBarController::reloadData()
{
    for (PTSideBarViewController* pane : controllers_)
        pane->setItems(items_, true);
}

void PTSideBarController::saveCurrentController(int mask, std::function<void()> completion)
{
    bool gridNeedsReload = false;
    bool saved = false;
    for (PTSideBarViewController* pane : controllers_)
        if (pane->saveStateResponderOptions() & mask)
            saved = pane->saveState(gridNeedsReload) || saved;
    finishSave(saved, gridNeedsReload, std::move(completion));
}

void PTSideBarController::saveItemEdits(std::function<void()> completion)
{
    saveCurrentController(PTSideBarViewController::SavesBeforeNewItems, std::move(completion));
}

void PTSideBarController::saveState(PTSideBarViewController* pane)
{
    bool gridNeedsReload = false;
    const bool saved = pane->saveState(gridNeedsReload);
    finishSave(saved, gridNeedsReload);
}

void PTSideBarController::finishSave(bool saved, bool gridNeedsReload, std::function<void()> completion)
{
    // A failed save is reported by the store; whoever waits goes on either way.
    if (saved)
        PTSaveManagedObjectContextWithCompletion([completion](const pt::Error&) {
            if (completion)
                completion();
        });
    else if (completion)
        completion();
    if (gridNeedsReload)
        requestGridViewUpdate();
}

void PTSideBarController::requestGridViewUpdate()
{
    if (wantsGridViewUpdate_)
        return;
    wantsGridViewUpdate_ = true;
    pt::DispatchQueue::main().async([guard = QPointer<PTSideBarController>(this)] {
        if (!guard)
            return;
        guard->wantsGridViewUpdate_ = false;
        pt::NotificationCenter::defaultCenter().post(PTGridViewController::ReloadNotification);
    });
}

bool PTSideBarController::beginEditingItemName()
{
    auto* pane = controllers_.size() > 1 ? qobject_cast<PTIconSideBarController*>(controllers_.at(1)) : nullptr;
    return pane && pane->beginEditingName();
}

void PTSideBarController::splitViewReady(std::shared_ptr<PTSideColumns> columns, bool firstLaunch)
{
    columns_ = std::move(columns);
    menuItem_ = columns_->inspectorMenuItem();
    if (menuItem_) {
        menuItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
        menuItem_->setEnabled(true);
        connect(menuItem_, &QAction::triggered, this, &PTSideBarController::toggle);
    }
    collectionMenuItem_ = columns_->collectionsMenuItem();
    if (collectionMenuItem_) {
        collectionMenuItem_->setEnabled(true);
        connect(collectionMenuItem_, &QAction::triggered, this, &PTSideBarController::toggleCollections);
    }
    if (firstLaunch)
        open();
    open_ = !columns_->isColumnHidden(PTSideColumns::InspectorColumn);
    collectionOpen_ = !columns_->isColumnHidden(PTSideColumns::SetsColumn);
    didToggle();
    didToggleCollections();
}

void PTSideBarController::toggle()
{
    if (open_)
        close();
    else
        open();
}

void PTSideBarController::open()
{
    open_ = true;
    if (columns_)
        columns_->setColumnHidden(PTSideColumns::InspectorColumn, false);
    didToggle();
}

void PTSideBarController::close()
{
    if (columns_)
        columns_->setColumnHidden(PTSideColumns::InspectorColumn, true);
    open_ = false;
    didToggle();
}

void PTSideBarController::didToggle()
{
    if (menuItem_)
        menuItem_->setText(open_ ? tr("Hide Inspector") : tr("Show Inspector"));
    updateFrame();
}

void PTSideBarController::toggleCollections()
{
    if (collectionOpen_)
        closeCollections();
    else
        openCollections();
}

void PTSideBarController::openCollections()
{
    collectionOpen_ = true;
    if (columns_)
        columns_->setColumnHidden(PTSideColumns::SetsColumn, false);
    didToggleCollections();
}

void PTSideBarController::closeCollections()
{
    if (columns_)
        columns_->setColumnHidden(PTSideColumns::SetsColumn, true);
    collectionOpen_ = false;
    didToggleCollections();
}

void PTSideBarController::didToggleCollections()
{
    if (collectionMenuItem_)
        collectionMenuItem_->setText(collectionOpen_ ? tr("Hide Sets") : tr("Show Sets"));
}
