#include "ui/views/PTPopover.h"

#include "ui/theme/PTStyles.h"

#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

PTPopover::PTPopover(QWidget* parent) : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setAccessibleName(QStringLiteral("Popover"));
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
}

void PTPopover::setContentWidget(QWidget* content)
{
    if (content == content_)
        return;
    delete content_;
    content_ = content;
    if (content)
        layout()->addWidget(content);
    adjustSize();
}

void PTPopover::showRelativeTo(const QRect& rect, QWidget* view, Qt::Edge edge)
{
    adjustSize();
    const QRect anchor(view->mapToGlobal(rect.topLeft()), rect.size());
    const QScreen* screen = view->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    move(placement(anchor, size(), edge, area));
    show();
}

QPoint PTPopover::placement(const QRect& anchor, const QSize& size, Qt::Edge edge, const QRect& screen)
{
    // QRect::center() rounds down by a pixel on even sizes.
    const int centreX = anchor.x() + anchor.width() / 2;
    const int centreY = anchor.y() + anchor.height() / 2;
    QPoint at;
    switch (edge) {
    case Qt::TopEdge:
        at = QPoint(centreX - size.width() / 2, anchor.top() - size.height());
        break;
    case Qt::BottomEdge:
        at = QPoint(centreX - size.width() / 2, anchor.bottom() + 1);
        break;
    case Qt::LeftEdge:
        at = QPoint(anchor.left() - size.width(), centreY - size.height() / 2);
        break;
    case Qt::RightEdge:
        at = QPoint(anchor.right() + 1, centreY - size.height() / 2);
        break;
    }
    if (screen.isValid()) {
        at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height())));
    }
    return at;
}

void PTPopover::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    Q_EMIT shown();
}

void PTPopover::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    Q_EMIT closed();
}

void PTPopover::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0, 0, 0, 38));
    painter.setBrush(PTStyles::sidebarBackgroundColor());
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}
