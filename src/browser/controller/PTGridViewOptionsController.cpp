#include "browser/controller/PTGridViewOptionsController.h"

#include "platform/runtime/Defaults.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/views/PTPopover.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>

#include <algorithm>

void PTGridViewOptionsController::registerDefaults()
{
    pt::Defaults::standard().registerDefaults({{ShowGridKey, true}, {ShowLabelsKey, true}});
}

float PTGridViewOptionsController::currentValue()
{
    return float(pt::Defaults::standard().doubleForKey(GridViewSizeKey));
}

void PTGridViewOptionsController::setDefaultSize(float size)
{
    pt::Defaults::standard().set(GridViewSizeKey, double(size));
}

double PTGridViewOptionsController::clampValue(double value)
{
    return std::clamp(value, MinimumSize, MaximumSize);
}

void PTGridViewOptionsController::stepSize(double step)
{
    setDefaultSize(float(clampValue(currentValue() + step)));
}

void PTGridViewOptionsController::increaseSizeStatically(Qt::KeyboardModifiers modifiers)
{
    stepSize(modifiers & Qt::ShiftModifier ? SmallStep : LargeStep);
}

void PTGridViewOptionsController::decreaseSizeStatically(Qt::KeyboardModifiers modifiers)
{
    stepSize(-(modifiers & Qt::ShiftModifier ? SmallStep : LargeStep));
}

PTGridViewOptionsController::PTGridViewOptionsController(QWidget* parent)
    : QWidget(parent)
    , slider_(new QSlider(Qt::Horizontal, this))
    , gridModeControl_(new PTSegmentedControl(this))
    , showGridControl_(new PTSwitchControl(this))
    , showLabelsControl_(new PTSwitchControl(this))
{
    setObjectName(QStringLiteral("gridViewOptions"));
    setAccessibleName(tr("Grid Options"));
    slider_->setRange(int(MinimumSize), int(MaximumSize));
    slider_->setSingleStep(int(SmallStep));
    slider_->setPageStep(int(LargeStep));
    slider_->setAccessibleName(tr("Icon Size"));
    gridModeControl_->setSegmentCount(2);
    gridModeControl_->setCustomHeight(24);
    gridModeControl_->setMinWidth(60);
    gridModeControl_->setLabel(tr("Light"), 0);
    gridModeControl_->setLabel(tr("Dark"), 1);
    gridModeControl_->setAutoCalculatesFrame(true);
    gridModeControl_->setAccessibleName(tr("Grid Appearance"));
    showGridControl_->setAccessibleName(tr("Show Grid"));
    showLabelsControl_->setAccessibleName(tr("Show Labels"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(10);
    layout->addWidget(new QLabel(tr("Size"), this), 0, 0);
    layout->addWidget(slider_, 0, 1);
    layout->addWidget(new QLabel(tr("Grid"), this), 1, 0);
    layout->addWidget(gridModeControl_, 1, 1, Qt::AlignRight);
    layout->addWidget(new QLabel(tr("Show Grid"), this), 2, 0);
    layout->addWidget(showGridControl_, 2, 1, Qt::AlignRight);
    layout->addWidget(new QLabel(tr("Show Labels"), this), 3, 0);
    layout->addWidget(showLabelsControl_, 3, 1, Qt::AlignRight);
    setFixedWidth(260);

    pt::Defaults& defaults = pt::Defaults::standard();
    defaults.bindBool(showGridControl_, "checked", ShowGridKey);
    defaults.bindBool(showLabelsControl_, "checked", ShowLabelsKey);
    resetSlider();
    resetModeControl();
    connect(slider_, &QSlider::valueChanged, this, &PTGridViewOptionsController::commitChange);
    connect(gridModeControl_, &PTToolbarSegmentedControl::action, this, &PTGridViewOptionsController::setGridModeFromSender);
    connect(&defaults, &pt::Defaults::changed, this, [this](const QString& key) {
        if (key == GridViewSizeKey)
            resetSlider();
        else if (key == DarkModeEnabledKey)
            resetModeControl();
    });
}

PTGridViewOptionsController::~PTGridViewOptionsController()
{
    if (popover_) {
        setParent(nullptr);
        delete popover_;
    }
}

void PTGridViewOptionsController::showPopoverRelativeToView(QWidget* view, Qt::Edge edge)
{
    if (popover_)
        return;
    popover_ = new PTPopover(view);
    popover_->setContentWidget(this);
    show();
    connect(popover_, &PTPopover::closed, this, &PTGridViewOptionsController::popoverDidClose);
    popover_->showRelativeTo(view->rect(), view, edge);
}

void PTGridViewOptionsController::popoverDidClose()
{
    // The options outlive the popover: take them back before it goes.
    PTPopover* popover = popover_;
    popover_.clear();
    setParent(nullptr);
    popover->deleteLater();
    if (didClose_)
        didClose_();
}

void PTGridViewOptionsController::increaseSize()
{
    slider_->setValue(int(clampValue(slider_->value() + SmallStep)));
    commitChange();
}

void PTGridViewOptionsController::decreaseSize()
{
    slider_->setValue(int(clampValue(slider_->value() - SmallStep)));
    commitChange();
}

void PTGridViewOptionsController::setGridModeFromSender(int segment)
{
    pt::Defaults::standard().set(DarkModeEnabledKey, segment == 1);
}

void PTGridViewOptionsController::resetModeControl()
{
    gridModeControl_->setSelectedSegment(pt::Defaults::standard().boolForKey(DarkModeEnabledKey) ? 1 : 0);
}

void PTGridViewOptionsController::resetSlider()
{
    const QSignalBlocker blocker(slider_);
    slider_->setValue(int(std::lround(currentValue())));
}

void PTGridViewOptionsController::commitChange()
{
    setDefaultSize(float(slider_->value()));
}
