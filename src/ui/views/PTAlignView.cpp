#include "ui/views/PTAlignView.h"

#include "ui/views/PTStackLayout.h"

#include <QEvent>

PTAlignView::PTAlignView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Aligned view"));
}

void PTAlignView::setView(QWidget* view)
{
    if (view == view_)
        return;
    if (view_) {
        view_->removeEventFilter(this);
        view_->setParent(nullptr);
    }
    view_ = view;
    if (view) {
        view->setParent(this);
        view->show();
        view->installEventFilter(this);
    }
    layoutView();
}

void PTAlignView::setHorizontalAlignment(int alignment)
{
    if (alignment == horizontalAlignment_)
        return;
    horizontalAlignment_ = alignment;
    layoutView();
}

void PTAlignView::setVerticalAlignment(int alignment)
{
    if (alignment == verticalAlignment_)
        return;
    verticalAlignment_ = alignment;
    layoutView();
}

QPoint PTAlignView::childOrigin(const QSize& bounds, const QSize& child, int horizontal, int vertical)
{
    const qreal x = horizontal == Minimum   ? 0
                    : horizontal == Maximum ? bounds.width() - child.width()
                                            : bounds.width() / 2.0 - child.width() / 2.0;
    // Qt's y grows downwards: the minimum (bottom) edge is the largest y.
    const qreal y = vertical == Minimum   ? bounds.height() - child.height()
                    : vertical == Maximum ? 0
                                          : bounds.height() / 2.0 - child.height() / 2.0;
    return PTStackLayout::integral(QRectF(QPointF(x, y), QSizeF(child))).topLeft();
}

void PTAlignView::layoutView()
{
    if (!view_)
        return;
    view_->move(childOrigin(size(), view_->size(), horizontalAlignment_, verticalAlignment_));
}

bool PTAlignView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_ && event->type() == QEvent::Resize)
        layoutView();
    return false;
}

void PTAlignView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutView();
}
