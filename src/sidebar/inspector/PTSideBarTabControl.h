#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QPointer>
#include <QVector>
#include <QWidget>

class PTSideBarViewController;

// The strip of tabs above the inspector, one per pane, each as wide as the strip shared out evenly. The selected
// tab's label is blue; a click on another tab selects it and emits selectionChanged.
class PTSideBarTabControl : public QWidget {
    Q_OBJECT
public:
    explicit PTSideBarTabControl(QWidget* parent = nullptr);

    void setControllers(const QVector<PTSideBarViewController*>& controllers);
    int selectedIndex() const { return selectedIndex_; }
    // Stores and repaints, without emitting.
    void setSelectedIndex(int index);
    void selectIndexAndPerformAction(int index);
    QRect rectForControllerAtIndex(int index) const;
    // -1 when the point is on no tab.
    int indexAt(const QPoint& point) const;
    PTSideBarViewController* controllerAtIndex(int index) const;
    QSize sizeHint() const override;

signals:
    void selectionChanged(int index);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QVector<QPointer<PTSideBarViewController>> controllers_;
    int selectedIndex_ = 0;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
