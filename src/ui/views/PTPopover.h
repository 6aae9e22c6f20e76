#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QFrame>

// A transient popup frame anchored to a rectangle of a widget, at one of its edges, on the theme's panel colour.
// It closes when the user clicks elsewhere.
class PTPopover : public QFrame {
    Q_OBJECT
public:
    explicit PTPopover(QWidget* parent = nullptr);

    QWidget* contentWidget() const { return content_; }
    // The popover lays out and sizes itself around the content, which it keeps.
    void setContentWidget(QWidget* content);
    // Shows the popover beside `rect` (in `view`'s coordinates) on the side of `edge`.
    void showRelativeTo(const QRect& rect, QWidget* view, Qt::Edge edge);

    // Where a popover of the size goes beside the anchor (global coordinates), kept inside the screen area.
    static QPoint placement(const QRect& anchor, const QSize& size, Qt::Edge edge, const QRect& screen);

Q_SIGNALS:
    void shown();
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* content_ = nullptr;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
