#pragma once

#include "browser/quicklook/PTQuickLookImageView.h"

#include <QPoint>

#include <functional>

class QMenu;

// The icon preview's image: an open hand while the pointer is over it, a closed hand while pressed; dragging
// it asks its owner to start a drag, and its context menu is the owner's.
class PTIconSideBarPreviewImageView : public PTQuickLookImageView {
    Q_OBJECT
public:
    explicit PTIconSideBarPreviewImageView(QWidget* parent = nullptr);

    // Called once per press when the pointer has moved far enough for a drag.
    std::function<void()> wantsToStartDrag;
    // The context menu; none when it answers null. The caller owns the menu.
    std::function<QMenu*()> menuForEvent;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QPoint pressPoint_;
    bool pressed_ = false;
};
