#pragma once

#include "ui/sheets/PTSheetSegmentController.h"

class PTSideBarSegmentStackView;

// A titled section of an inspector pane. Its folded state is remembered under "sidebar.segment.<identifier>",
// apart from the sheets' sections; the toggle shows only while the pointer is over the section, and a double
// click on the section toggles it.
class PTSideBarSegmentController : public PTSheetSegmentController {
    Q_OBJECT
public:
    static inline const QString SideBarKeyFormat = QStringLiteral("sidebar.segment.%1");

    explicit PTSideBarSegmentController(const QString& identifier, bool autoExpand = true, QObject* parent = nullptr);

    void setBackgroundColor(const QColor& color);
    // Forwarded by the section's view.
    void mouseEntered();
    void mouseExited();

private:
    PTSideBarSegmentStackView* mainStackView_;
};
