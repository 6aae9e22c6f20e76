#include "BrowsingWindow.h"

#include "browser/PTBrowserShell.h"
#include "browser/PTBrowserSidebar.h"
#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTGridViewOptionsController.h"
#include "browser/views/PTFrameViewSlider.h"
#include "browser/views/PTFrameViewSliderSmallButton.h"
#include "browser/views/PTToolbarFilterControl.h"
#include "browser/views/PTToolbarSearchField.h"
#include "browser/controller/PTSearchController.h"
#include "library/entities/PTCollection.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"

#include <QAction>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The toolbar and menu parts of the shell that the browser asks for.
class WindowShell : public PTBrowserShell {
public:
    explicit WindowShell(BrowsingWindow* window) : window_(window) {}
    QWidget* mainWindow() override { return window_; }
    qint64 selectedType() override { return window_ ? window_->filter()->type() : 1; }
    PTLicence* selectedLicence() override { return window_ ? window_->filter()->license() : nullptr; }
    void clearSelectedType() override
    {
        if (window_)
            window_->filter()->clear();
    }
    QColor iconColor() override { return {}; }
    void recalculateGridViewOptionsWidth() override {}
    QAction* darkModeMenuItem() override { return &dark_; }
    QAction* gridViewHoverLabelsMenuItem() override { return &hover_; }
    void addActionAfterFind(QAction*) override {}
    void presentPreferences(const QString&) override {}
    // The demo's items live in a throwaway store: nothing to show in a file manager.
    void showFileURLsInFinder(const QList<QUrl>&) override {}

private:
    QPointer<BrowsingWindow> window_;
    QAction dark_;
    QAction hover_;
};

// The source list is the window's list of sets; there is no inspector.
class WindowSidebar : public PTBrowserSidebar {
public:
    explicit WindowSidebar(BrowsingWindow* window) : window_(window) {}
    PTCollection* currentCollection() override { return window_ ? window_->currentCollection() : nullptr; }
    Objects selectedGroupsAndCollections() override { return window_ ? window_->selectedSets() : Objects(); }
    void selectItems(const Objects& objects, bool, std::function<void()> completion) override
    {
        QVector<PTCollection*> sets;
        for (pt::store::ManagedObject* object : objects) {
            if (PTCollection* set = PTCollection::from(object))
                sets.append(set);
        }
        if (window_)
            window_->selectSets(sets);
        if (completion)
            completion();
    }
    void forceSelectionPropagation(const std::function<void()>& block) override { block(); }
    void beginEditForManagedObject(pt::store::ManagedObject*) override {}
    void setInspectedCollections(const QVector<PTCollection*>&, const Objects&) override {}
    void setInspectedItems(const QVector<PTItem*>&, bool) override {}
    void reloadInspector() override {}
    bool beginEditingItemName() override { return false; }
    // Nothing is edited here: a search can run at once.
    void saveInspectedItemEdits(std::function<void()> completion) override { completion(); }
    QString applicationForFiles(const QList<QUrl>&) override { return {}; }
    void openFilesInApplication(const QList<QUrl>&, const QString&) override {}
    // The preview panel shows no open-in choice here.
    OpenInControl* makeOpenInControl(QWidget*) override { return nullptr; }

private:
    QPointer<BrowsingWindow> window_;
};

} // namespace

BrowsingWindow::BrowsingWindow(const QVector<PTCollection*>& sets, QWidget* parent)
    : QWidget(parent),
      sets_(sets),
      setList_(new QListWidget(this)),
      filter_(new PTToolbarFilterControl(this)),
      slider_(new PTFrameViewSlider(this)),
      searchField_(new PTToolbarSearchField(this))
{
    setWindowTitle(QStringLiteral("Browsing"));
    setAccessibleName(QStringLiteral("Browsing window"));
    PTBrowserShell::install(std::make_shared<WindowShell>(this));
    PTBrowserSidebar::install(std::make_shared<WindowSidebar>(this));
    controller_ = std::make_unique<PTGridViewController>();
    controller_->makeSharedController();
    search_ = std::make_unique<PTSearchController>(searchField_, controller_.get());
    searchField_->setFixedWidth(220);

    setList_->setAccessibleName(QStringLiteral("Sets"));
    setList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    setList_->setFixedWidth(180);
    for (PTCollection* set : sets_)
        setList_->addItem(set->name());
    connect(setList_, &QListWidget::itemSelectionChanged, this, &BrowsingWindow::showSelectedSets);

    // Quick successive filter changes make one refill.
    auto* filterPost = new QTimer(this);
    filterPost->setSingleShot(true);
    filterPost->setInterval(200);
    connect(filterPost, &QTimer::timeout, this, [] {
        pt::NotificationCenter::defaultCenter().post(PTGridViewController::ToolbarFilterDidChangeNotification);
    });
    filter_->setChangeHandler([filterPost] { filterPost->start(); });

    slider_->setRange(16, 256);
    slider_->setValue(static_cast<int>(pt::Defaults::standard().doubleForKey(PTGridViewOptionsController::GridViewSizeKey)));
    connect(slider_, &QSlider::valueChanged, this, [](int value) {
        pt::Defaults::standard().set(PTGridViewOptionsController::GridViewSizeKey, double(value));
    });
    connect(slider_, &QSlider::sliderPressed, this, [] {
        pt::NotificationCenter::defaultCenter().post(PTGridViewController::SizeSliderDidStartNotification);
    });
    connect(slider_, &QSlider::sliderReleased, this, [] {
        pt::NotificationCenter::defaultCenter().post(PTGridViewController::SizeSliderDidEndNotification);
    });
    auto* smaller = new PTFrameViewSliderSmallButton(this);
    auto* larger = new PTFrameViewSliderLargeButton(this);
    connect(smaller, &QToolButton::clicked, slider_, [this] { slider_->setValue(slider_->minimum()); });
    connect(larger, &QToolButton::clicked, slider_, [this] { slider_->setValue(slider_->maximum()); });

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(8, 6, 8, 6);
    bar->addWidget(filter_);
    bar->addSpacing(12);
    bar->addWidget(searchField_);
    bar->addStretch();
    bar->addWidget(smaller);
    bar->addWidget(slider_);
    bar->addWidget(larger);
    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->addLayout(bar);
    right->addWidget(controller_->containerView(), 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(setList_);
    layout->addLayout(right, 1);
}

BrowsingWindow::~BrowsingWindow()
{
    search_.reset();
    controller_.reset();
    PTBrowserShell::install(nullptr);
    PTBrowserSidebar::install(nullptr);
}

PTCollection* BrowsingWindow::currentCollection() const
{
    const QList<QListWidgetItem*> selected = setList_->selectedItems();
    return selected.size() == 1 ? sets_.value(setList_->row(selected.first())) : nullptr;
}

PTBrowserSidebar::Objects BrowsingWindow::selectedSets() const
{
    PTBrowserSidebar::Objects objects;
    for (QListWidgetItem* item : setList_->selectedItems())
        objects.append(sets_.value(setList_->row(item)));
    return objects;
}

void BrowsingWindow::selectSets(const QVector<PTCollection*>& sets)
{
    setList_->clearSelection();
    for (PTCollection* set : sets) {
        if (const qsizetype row = sets_.indexOf(set); row >= 0)
            setList_->item(static_cast<int>(row))->setSelected(true);
    }
}

void BrowsingWindow::showSelectedSets()
{
    QVector<PTCollection*> chosen;
    PTGridViewController::Objects objects;
    for (QListWidgetItem* item : setList_->selectedItems()) {
        PTCollection* set = sets_.value(setList_->row(item));
        chosen.append(set);
        objects.append(set);
    }
    controller_->setCollections(chosen, objects, false);
}
