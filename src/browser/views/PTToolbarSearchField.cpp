#include "browser/views/PTToolbarSearchField.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

namespace {

constexpr int BadgeHeight = 16;
constexpr int BadgeInset = 4;
constexpr int ScopeButtonWidth = 22;

// The scope button's magnifier, drawn in the text colour.
QIcon magnifierIcon(const QColor& color)
{
    QPixmap pixmap(QSize(32, 32));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(QRectF(5, 5, 15, 15));
    painter.drawLine(QPointF(18, 18), QPointF(26, 26));
    return QIcon(pixmap);
}

} // namespace

PTToolbarSearchField::PTToolbarSearchField(QWidget* parent)
    : QLineEdit(parent)
    , scopeButton_(new QToolButton(this))
{
    setObjectName(QStringLiteral("toolbarSearchField"));
    setAccessibleName(tr("Search"));
    setMouseTracking(true);
    scopeButton_->setObjectName(QStringLiteral("searchScopeButton"));
    scopeButton_->setAccessibleName(tr("Search scope"));
    scopeButton_->setAutoRaise(true);
    scopeButton_->setPopupMode(QToolButton::InstantPopup);
    scopeButton_->setFocusPolicy(Qt::NoFocus);
    scopeButton_->setCursor(Qt::ArrowCursor);
    scopeButton_->setIconSize(QSize(12, 12));
    scopeButton_->setStyleSheet(QStringLiteral("QToolButton { border: none; } "
                                               "QToolButton::menu-indicator { image: none; width: 0; }"));
    scopeButton_->setIcon(magnifierIcon(palette().color(QPalette::PlaceholderText)));
    relayout();
}

void PTToolbarSearchField::setBadgeTitle(const QString& title)
{
    badge_.setTitle(title.isNull() ? QString() : title);
    relayout();
}

QRect PTToolbarSearchField::cancelButtonRect() const
{
    const int width = int(badge_.proposedSize().width());
    return QRect(rect().right() + 1 - width - BadgeInset, (height() - BadgeHeight) / 2, width, BadgeHeight);
}

void PTToolbarSearchField::setSearchMenuTemplate(QMenu* menu)
{
    menu_ = menu;
    scopeButton_->setMenu(menu);
}

void PTToolbarSearchField::relayout()
{
    scopeButton_->setGeometry(2, 0, ScopeButtonWidth, height());
    setTextMargins(ScopeButtonWidth, 0, cancelButtonRect().width() + BadgeInset, 0);
    update();
}

bool PTToolbarSearchField::overCloseMark(const QPoint& position) const
{
    const QRect badge = cancelButtonRect();
    return !badge_.title().isEmpty() && badge.contains(position)
        && position.x() >= badge.right() + 1 - int(badge_.closePadding());
}

void PTToolbarSearchField::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    badge_.draw(painter, cancelButtonRect());
}

void PTToolbarSearchField::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    relayout();
}

void PTToolbarSearchField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        emit cancelOperation();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void PTToolbarSearchField::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && overCloseMark(event->position().toPoint())) {
        badge_.setHighlighted(true);
        update();
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void PTToolbarSearchField::mouseMoveEvent(QMouseEvent* event)
{
    setCursor(overCloseMark(event->position().toPoint()) ? Qt::ArrowCursor : Qt::IBeamCursor);
    if (badge_.isHighlighted()) {
        event->accept();
        return;
    }
    QLineEdit::mouseMoveEvent(event);
}

void PTToolbarSearchField::mouseReleaseEvent(QMouseEvent* event)
{
    if (!badge_.isHighlighted()) {
        QLineEdit::mouseReleaseEvent(event);
        return;
    }
    badge_.setHighlighted(false);
    update();
    event->accept();
    // Clearing the text ends the search as typing it away would.
    if (overCloseMark(event->position().toPoint()))
        clear();
}

void PTToolbarSearchField::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        scopeButton_->setIcon(magnifierIcon(palette().color(QPalette::PlaceholderText)));
}
