#pragma once

#include <QWidget>

class PTWindowBottomBar;

// The middle column of the main window: the grid controller's view (the grid, or its placeholder when nothing
// shows) over the bottom bar. It tells when that view first painted (start-up is measured to that moment).
class PTGridColumn : public QWidget {
    Q_OBJECT
public:
    // The container is the grid controller's.
    explicit PTGridColumn(QWidget* container, QWidget* parent = nullptr);
    PTWindowBottomBar* bottomBar() const { return bottomBar_; }

signals:
    // After the grid's first paint.
    void firstPaint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PTWindowBottomBar* bottomBar_;
    QWidget* container_;
    bool painted_ = false;
};
