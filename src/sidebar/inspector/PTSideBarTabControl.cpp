#include "sidebar/inspector/PTSideBarTabControl.h"

#include "sidebar/inspector/PTSideBarViewController.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

PTSideBarTabControl::PTSideBarTabControl(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Inspector tabs"));
    setFixedHeight(38);
}

void PTSideBarTabControl::setControllers(const QVector<PTSideBarViewController*>& controllers)
{
    for (const auto& controller : controllers_)
        if (controller)
            disconnect(controller, nullptr, this, nullptr);
    controllers_.clear();
    for (PTSideBarViewController* controller : controllers) {
        controllers_.append(controller);
        connect(controller, &PTSideBarViewController::labelChanged, this, qOverload<>(&QWidget::update));
    }
    update();
}

void PTSideBarTabControl::setSelectedIndex(int index)
{
    selectedIndex_ = index;
    update();
}

void PTSideBarTabControl::selectIndexAndPerformAction(int index)
{
    setSelectedIndex(index);
    emit selectionChanged(index);
}

QRect PTSideBarTabControl::rectForControllerAtIndex(int index) const
{
    if (controllers_.isEmpty())
        return {};
    const double width = std::round(double(this->width()) / controllers_.size());
    return QRect(int(std::floor(index * width)), 0, int(width), height());
}

int PTSideBarTabControl::indexAt(const QPoint& point) const
{
    for (int i = 0; i < controllers_.size(); ++i)
        if (rectForControllerAtIndex(i).contains(point))
            return i;
    return -1;
}

PTSideBarViewController* PTSideBarTabControl::controllerAtIndex(int index) const
{
    return index >= 0 && index < controllers_.size() ? controllers_.at(index).data() : nullptr;
}

QSize PTSideBarTabControl::sizeHint() const
{
    return {222, 38};
}

bool PTSideBarTabControl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const PTSideBarViewController* controller = controllerAtIndex(indexAt(help->pos()));
        if (controller)
            QToolTip::showText(help->globalPos(), controller->label(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void PTSideBarTabControl::paintEvent(QPaintEvent*)
{
    const bool dark = PTThemeIsAppearance(0);
    QPainter painter(this);
    painter.fillRect(rect(), dark ? PTStyles::sectionHeaderColor() : QColor(0xFE, 0xFE, 0xFE));
    QFont font = PTStyles::systemFont(12);
    font.setBold(true);
    painter.setFont(font);
    const QColor normal = dark ? QColor(255, 255, 255, 102) : QColor(0x56, 0x56, 0x56);
    const QColor separator = dark ? QColor(255, 255, 255, 26) : QColor(0xD8, 0xDC, 0xDF, 77);
    for (int i = 0; i < controllers_.size(); ++i) {
        const QRect tab = rectForControllerAtIndex(i);
        if (i > 0)
            painter.fillRect(QRect(tab.left(), tab.top() + 9, 1, tab.height() - 18), separator);
        painter.setPen(i == selectedIndex_ ? PTStyles::defaultBlue() : normal);
        if (controllers_.at(i))
            painter.drawText(tab, Qt::AlignCenter, controllers_.at(i)->label());
    }
}

void PTSideBarTabControl::mouseReleaseEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (index >= 0 && index != selectedIndex_)
        selectIndexAndPerformAction(index);
}
