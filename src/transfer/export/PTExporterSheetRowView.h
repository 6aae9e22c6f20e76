#pragma once

#include <QWidget>

#include <functional>

// One row of the export sheet; reports the pointer entering and leaving it, so the row can show its close control
// while hovered.
class PTExporterSheetRowView : public QWidget {
    Q_OBJECT
public:
    explicit PTExporterSheetRowView(QWidget* parent = nullptr);

    std::function<void()> mouseEnteredHandler;
    std::function<void()> mouseExitedHandler;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reports where the pointer is now.
    void followPointer();
};
