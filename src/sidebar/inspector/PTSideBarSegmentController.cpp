#include "sidebar/inspector/PTSideBarSegmentController.h"

#include "sidebar/inspector/PTSideBarSegmentStackView.h"

#include <QToolButton>

namespace {

// Made before the base so that the base can take it as its view.
PTSideBarSegmentStackView* makeMainStackView()
{
    auto* view = new PTSideBarSegmentStackView;
    view->setMinHeight(0);
    return view;
}

} // namespace

PTSideBarSegmentController::PTSideBarSegmentController(const QString& identifier, bool autoExpand, QObject* parent)
    : PTSheetSegmentController(identifier, SideBarKeyFormat, makeMainStackView(), autoExpand, parent)
    , mainStackView_(static_cast<PTSideBarSegmentStackView*>(view()))
{
    mainStackView_->setController(this);
    toggleButton()->setVisible(false);
}

void PTSideBarSegmentController::setBackgroundColor(const QColor& color)
{
    mainStackView_->setBackgroundColor(color);
}

void PTSideBarSegmentController::mouseEntered()
{
    if (collapsible())
        toggleButton()->setVisible(true);
}

void PTSideBarSegmentController::mouseExited()
{
    if (collapsible())
        toggleButton()->setVisible(false);
}
