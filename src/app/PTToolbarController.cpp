#include "app/PTToolbarController.h"

#include "app/PTAddButton.h"
#include "app/PTNoticeController.h"
#include "app/PTPrefsButton.h"
#include "app/PTToolbarSeperatorIndicatorView.h"
#include "app/PTWindowTitleBar.h"
#include "browser/controller/PTGridViewOptionsController.h"
#include "browser/views/PTToolbarFilterControl.h"
#include "browser/views/PTToolbarSearchField.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/ui/ActionRouter.h"
#include "ui/colour/PTToolbarColorWellControl.h"
#include "ui/controls/PTToolbarSegmentedControl.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QSlider>
#include <QWidgetAction>

namespace {

PTToolbarController* sharedToolbar = nullptr;
const char* const SizeProperty = "gridSize";
const QStringList TypeSegments = {QStringLiteral("All"), QStringLiteral("SVG"), QStringLiteral("PDF"),
                                  QStringLiteral("Font")};

// The look every segmented control of the band shares: labels drawn, 24 high, as wide as its segments.
void styleControl(PTToolbarSegmentedControl* control)
{
    control->setSublabeledFromMenus(true);
    control->setCustomHeight(24);
    control->setAutoCalculatesFrame(true);
    // One-segment controls otherwise shrink to the frame they were given.
    control->setObeyMinWidthForSingleSegment(true);
}

QAction* commandItem(QMenu* menu, const QString& title, const QString& command)
{
    QAction* action = menu->addAction(title);
    pt::ActionRouter::shared().bind(action, command);
    return action;
}

// The button sends the command and is enabled exactly when the command is.
void bindButton(QToolButton* button, const QString& title, const QString& accessibleName, const QString& command)
{
    auto* action = new QAction(title, button);
    pt::ActionRouter::shared().bind(action, command);
    button->setDefaultAction(action);
    button->setAccessibleName(accessibleName);
}

} // namespace

const QVector<int>& PTToolbarController::gridViewSizes()
{
    static const QVector<int> sizes = {16, 20, 24, 32, 36, 48, 64, 128, 256};
    return sizes;
}

PTToolbarController* PTToolbarController::sharedController()
{
    return sharedToolbar;
}

PTToolbarController::PTToolbarController(PTWindowTitleBar* bar, QObject* parent)
    : QObject(parent)
    , addButton_(new PTAddButton(bar))
    , addControl_(new PTToolbarSegmentedControl(bar))
    , addMenu_(new QMenu(addControl_))
    , gridViewOptions_(new PTToolbarSegmentedControl(bar))
    , sizeMenu_(new QMenu(gridViewOptions_))
    , slider_(new QSlider(Qt::Horizontal))
    , searchField_(new PTToolbarSearchField(bar))
    , filterControl_(new PTToolbarFilterControl(bar))
    , typeSwitch_(new PTToolbarSegmentedControl(bar))
    , colorWell_(new PTToolbarColorWellControl(bar))
    , noticesControl_(new PTToolbarSegmentedControl(bar))
    , noticesSeparator_(new PTToolbarSeperatorIndicatorView(bar))
    , prefsButton_(new PTPrefsButton(bar))
{
    sharedToolbar = this;

    for (PTToolbarSegmentedControl* control : {addControl_, gridViewOptions_, typeSwitch_, noticesControl_})
        styleControl(control);
    bindButton(addButton_, tr("New Set…"), tr("New Set"), QStringLiteral("presentNewCollection:"));
    bindButton(prefsButton_, tr("Preferences…"), tr("Preferences"), QStringLiteral("presentPreferences:"));
    addControl_->setSegmentCount(1);
    addControl_->setLabel(tr("Add"), 0);
    addControl_->setLabelPadding(7);
    commandItem(addMenu_, tr("New Set…"), QStringLiteral("presentNewCollection:"));
    commandItem(addMenu_, tr("New Group"), QStringLiteral("newGroup:"));
    addControl_->setMenu(addMenu_, 0);
    addControl_->recalculateWidth();

    buildSizeMenu();
    gridViewOptions_->setSegmentCount(1);
    gridViewOptions_->setMenu(sizeMenu_, 0);
    gridViewOptions_->setSublabel(QStringLiteral("px"), 0);
    gridViewOptions_->setLabelSeperator(QString());
    gridViewOptions_->setAutoCentersLabel(false);
    gridViewOptions_->setMinWidth(40);
    selectGridSize(int(pt::Defaults::standard().integerForKey(GridSizeKey)));
    gridViewOptions_->recheckSublables();
    recalculateGridViewOptionsWidth();
    connect(gridViewOptions_, &PTToolbarSegmentedControl::action, this, &PTToolbarController::showGridViewOptions);

    searchField_->setAccessibleName(tr("Search"));
    searchField_->setMinimumWidth(100);
    filterControl_->setAccessibleName(tr("Filter"));
    filterControl_->setChangeHandler([this] { filterDidChange(); });
    searchField_->setMaximumWidth(600);

    typeSwitch_->setSegmentCount(int(TypeSegments.size()));
    for (int segment = 0; segment < TypeSegments.size(); ++segment)
        typeSwitch_->setLabel(TypeSegments.at(segment), segment);
    typeSwitch_->setAccessibleName(tr("Type"));
    typeSwitch_->recalculateWidth();
    followTypeSelection();
    connect(typeSwitch_, &PTToolbarSegmentedControl::action, this, &PTToolbarController::didChangeSelectionType);

    colorWell_->setAccessibleName(tr("Icon colour"));
    colorWell_->setColorDidChangeHandler([](const QColor& color, const QColor&) {
        pt::NotificationCenter::defaultCenter().post(ColorDidChangeNotification, nullptr,
                                                     {{QStringLiteral("color"), color}});
    });

    noticesControl_->setSegmentCount(1);
    connect(noticesControl_, &PTToolbarSegmentedControl::action, this, [this] { showNotices(); });
    connect(&PTNoticeController::sharedController(), &PTNoticeController::noticesCountChanged, this,
            &PTToolbarController::updateNotices);
    // A notice the desktop did not show opens the list, so that it is read where the user is, without taking
    // the keys or the clicks from what the user is doing.
    connect(&PTNoticeController::sharedController(), &PTNoticeController::noticePosted, this, [this] {
        if (noticesControl_->isVisible())
            showNotices(true);
    });
    updateNotices();

    filterTimer_.setSingleShot(true);
    filterTimer_.setInterval(FilterDelayMs);
    connect(&filterTimer_, &QTimer::timeout, this, [this] {
        pt::NotificationCenter::defaultCenter().post(FilterDidChangeNotification, this);
    });
    connect(&pt::Defaults::standard(), &pt::Defaults::changed, this, &PTToolbarController::defaultsChanged);

    QHBoxLayout* layout = bar->itemLayout();
    layout->addWidget(addButton_, 0, Qt::AlignVCenter);
    layout->addWidget(addControl_, 0, Qt::AlignVCenter);
    layout->addWidget(gridViewOptions_, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    layout->addWidget(searchField_, 3, Qt::AlignVCenter);
    layout->addStretch(1);
    layout->addWidget(typeSwitch_, 0, Qt::AlignVCenter);
    layout->addWidget(filterControl_, 0, Qt::AlignVCenter);
    layout->addWidget(colorWell_, 0, Qt::AlignVCenter);
    layout->addWidget(noticesSeparator_, 0, Qt::AlignVCenter);
    layout->addWidget(noticesControl_, 0, Qt::AlignVCenter);
    layout->addWidget(prefsButton_, 0, Qt::AlignVCenter);
}

PTToolbarController::~PTToolbarController()
{
    if (sharedToolbar == this)
        sharedToolbar = nullptr;
    delete gridOptions_.data();
}

void PTToolbarController::buildSizeMenu()
{
    sizeMenu_->setAccessibleName(tr("Grid size"));
    for (int size : gridViewSizes()) {
        QAction* item = sizeMenu_->addAction(QStringLiteral("%1px").arg(size));
        item->setCheckable(true);
        item->setProperty(SizeProperty, size);
        connect(item, &QAction::triggered, this, [this, size] { selectGridSize(size); });
    }
    sizeMenu_->addSeparator();
    slider_->setAccessibleName(tr("Grid size"));
    slider_->setRange(gridViewSizes().first(), gridViewSizes().last());
    slider_->setMinimumWidth(160);
    auto* sliderItem = new QWidgetAction(sizeMenu_);
    sliderItem->setDefaultWidget(slider_);
    sizeMenu_->addAction(sliderItem);

    // Pressing and releasing announce the start and end of a continuous change; while dragging, the stored size
    // follows the slider and the label catches up on release.
    connect(slider_, &QSlider::sliderPressed, this, [this] {
        pt::NotificationCenter::defaultCenter().post(SizeSliderDidStartNotification, this);
    });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (slider_->isSliderDown())
            broadcastSizeChange(value);
    });
    connect(slider_, &QSlider::sliderReleased, this, [this] {
        selectGridSize(slider_->value());
        pt::NotificationCenter::defaultCenter().post(SizeSliderDidEndNotification, this);
    });
}

void PTToolbarController::selectGridSize(int size)
{
    for (QAction* item : sizeMenu_->actions()) {
        const QVariant itemSize = item->property(SizeProperty);
        if (itemSize.isValid())
            item->setChecked(item->isEnabled() && itemSize.toInt() == size);
    }
    gridViewOptions_->setLabel(QString::number(size), 0);
    recalculateGridViewOptionsWidth();
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(size);
    }
    broadcastSizeChange(size);
}

void PTToolbarController::broadcastSizeChange(int size)
{
    // The controller's own write does not come back to it as an outside change.
    writingSize_ = true;
    pt::Defaults::standard().set(GridSizeKey, size);
    writingSize_ = false;
}

void PTToolbarController::defaultsChanged(const QString& key)
{
    if (key == GridSizeKey && !writingSize_)
        selectGridSize(qRound(pt::Defaults::standard().objectForKey(GridSizeKey).toDouble()));
    else if (key == TypeSelectionKey)
        followTypeSelection();
}

void PTToolbarController::followTypeSelection()
{
    // Writes by the filter control move the switch too, so that choosing a segment again is never taken for
    // "no change" and dropped.
    const QVariant stored = pt::Defaults::standard().objectForKey(TypeSelectionKey);
    currentSelected_ = stored.isValid() ? stored.toInt() : 1;
    const int segment = currentSelected_ - 1;
    typeSwitch_->setSelectedSegment(segment >= 0 && segment < typeSwitch_->segmentCount() ? segment : -1);
}

void PTToolbarController::didChangeSelectionType(int segment)
{
    const int value = segment + 1;
    if (value == currentSelected_)
        return;
    currentSelected_ = value;
    pt::Defaults::standard().set(TypeSelectionKey, value);
}

void PTToolbarController::filterDidChange()
{
    filterTimer_.start();
}

void PTToolbarController::recalculateGridViewOptionsWidth()
{
    gridViewOptions_->recalculateWidth();
}

QColor PTToolbarController::iconColor() const
{
    return colorWell_->color();
}

void PTToolbarController::showNotices(bool passive)
{
    PTNoticeController::sharedController().showPopoverRelativeToRect(noticesControl_->rect().adjusted(5, 5, -5, -5),
                                                                      noticesControl_, Qt::BottomEdge, passive);
}

void PTToolbarController::showGridViewOptions()
{
    if (!gridOptions_)
        gridOptions_ = new PTGridViewOptionsController;
    gridOptions_->showPopoverRelativeToView(gridViewOptions_, Qt::BottomEdge);
}

void PTToolbarController::updateNotices()
{
    const int count = PTNoticeController::sharedController().noticesCount();
    noticesControl_->setLabel(QString::number(count), 0);
    noticesControl_->setAccessibleName(tr("Notices: %1").arg(count));
    noticesControl_->recalculateWidth();
    noticesControl_->setVisible(count > 0);
}
