#include "ui/sheets/PTSheetTabView.h"

#include "foundation/ColorPrivate.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

PTSheetTabView::PTSheetTabView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Tabs"));
}

void PTSheetTabView::addTabWithTitle(const QString& title)
{
    titles_.append(title);
    update();
}

void PTSheetTabView::removeTabAtIndex(int index)
{
    if (index < 0 || index >= titles_.size())
        return;
    titles_.removeAt(index);
    update();
}

void PTSheetTabView::setSelectedIndex(int index)
{
    if (willSelectIndex_)
        index = willSelectIndex_(index);
    if (index < 0 || index >= count())
        index = -1;
    const int previous = std::exchange(selectedIndex_, index);
    update();
    if (index != previous)
        Q_EMIT didSelectIndex(index);
}

QRect PTSheetTabView::rectOfTabAtIndex(int index) const
{
    if (titles_.isEmpty())
        return QRect();
    const int width = static_cast<int>(std::ceil(this->width() / double(titles_.size())));
    return QRect(index * width, 0, width, height());
}

void PTSheetTabView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    int hit = -1;
    for (int i = 0; i < count() && hit < 0; ++i)
        if (rectOfTabAtIndex(i).contains(at))
            hit = i;
    setSelectedIndex(hit);
}

void PTSheetTabView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    if (titles_.isEmpty())
        return;
    QPainter painter(this);
    QFont normal;
    normal.setPixelSize(13);
    QFont selected = normal;
    selected.setBold(true);
    const QColor text = PTColorFromHEX(0x465860, 1.0);
    const QColor line = PTColorFromHEX(0xD9DDE0, 1.0);
    for (int i = 0; i < count(); ++i) {
        const QRect r = rectOfTabAtIndex(i);
        const bool isSelected = i == selectedIndex_;
        if (!isSelected) {
            painter.fillRect(r, Qt::white);
            painter.fillRect(QRect(r.x(), height() - 1, r.width(), 1), line);
        }
        painter.setFont(isSelected ? selected : normal);
        painter.setPen(isSelected ? text : PTColorFromHEX(0x465860, 0.5));
        painter.drawText(r, Qt::AlignCenter, titles_[i]);
        if (i > 0)
            painter.fillRect(QRect(r.x() - 1, 0, 1, height()), line);
    }
}
