#include "ui/views/PTScrollView.h"

#include <QEvent>
#include <QScrollBar>

PTScrollView::PTScrollView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setAccessibleName(QStringLiteral("Scroll view"));
    setFrameShape(QFrame::NoFrame);
    // The scroll area lays its bars out again whenever they show or hide; the bar's holder tells us.
    if (QWidget* holder = verticalScrollBar()->parentWidget())
        holder->installEventFilter(this);
}

void PTScrollView::setMargin(qreal margin, int edge)
{
    (edge == 0 ? bottomMargin_ : topMargin_) = margin;
    tile();
}

qreal PTScrollView::marginForEdge(int edge) const
{
    return edge == 0 ? bottomMargin_ : topMargin_;
}

void PTScrollView::tile()
{
    QWidget* holder = verticalScrollBar()->parentWidget();
    if (!holder || holder == this || tiling_)
        return;
    tiling_ = true;
    const QRect bar = holder->geometry();
    const int top = static_cast<int>(topMargin_);
    const int bottom = static_cast<int>(bottomMargin_);
    holder->setGeometry(bar.x(), top, bar.width(), std::max(0, height() - top - bottom));
    tiling_ = false;
}

bool PTScrollView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == verticalScrollBar()->parentWidget()
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        tile();
    return QAbstractScrollArea::eventFilter(watched, event);
}

void PTScrollView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    tile();
}
