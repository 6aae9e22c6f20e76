#pragma once

#include <QWidget>

#include <functional>

class QMenu;

// One row of the export sheet; reports the pointer entering and leaving it, so the row can show its close control
// while hovered.
class PTExporterSheetRowView : public QWidget {
    Q_OBJECT
public:
    explicit PTExporterSheetRowView(QWidget* parent = nullptr);

    std::function<void()> mouseEnteredHandler;
    std::function<void()> mouseExitedHandler;

    // A pop-up menu of the row holds the pointer while it is open and the row hears no leave when the pointer
    // goes elsewhere meanwhile: once the menu closes, the row reports where the pointer is.
    void followPointerAcross(QMenu* menu);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
