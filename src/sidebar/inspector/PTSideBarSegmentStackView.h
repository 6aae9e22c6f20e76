#pragma once

#include "ui/views/PTStackView.h"

#include <QPointer>

class PTSideBarSegmentController;

// The whole view of an inspector section: a double click folds or unfolds its section, and the pointer entering
// or leaving it shows or hides the section's toggle.
class PTSideBarSegmentStackView : public PTStackView {
    Q_OBJECT
public:
    using PTStackView::PTStackView;
    PTSideBarSegmentController* controller() const { return controller_; }
    void setController(PTSideBarSegmentController* controller) { controller_ = controller; }

protected:
    // A double click arrives here once; the press of a third click is a plain press again.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPointer<PTSideBarSegmentController> controller_;
};
