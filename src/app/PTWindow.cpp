#include "app/PTWindow.h"

#include "app/PTWindowTitleBar.h"
#include "platform/ui/SheetHost.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

PTWindow::PTWindow(QWidget* parent)
    : PTAppearanceWindow(parent)
    , layout_(new QVBoxLayout(this))
    , titleBar_(new PTWindowTitleBar(this))
{
    setAccessibleName(QStringLiteral("Pictern"));
    setWindowTitle(QStringLiteral("Pictern"));
    layout_->setContentsMargins(0, contentTopMargin(), 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(titleBar_);
}

void PTWindow::setContentView(QWidget* view)
{
    if (content_)
        layout_->removeWidget(content_);
    content_ = view;
    layout_->addWidget(view, 1);
}

void PTWindow::setMenuBar(QMenuBar* menuBar)
{
    layout_->setMenuBar(menuBar);
}

void PTWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (closeHandler_)
        closeHandler_();
}

void PTWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange)
        titleBar_->update();
    PTAppearanceWindow::changeEvent(event);
}

bool PTWindow::drawsActive(const QWidget* window)
{
    if (!window)
        return false;
    if (window->isActiveWindow())
        return true;
    for (QWidget* sheet = pt::SheetHost::attachedSheet(window); sheet; sheet = pt::SheetHost::attachedSheet(sheet)) {
        if (sheet->isActiveWindow())
            return true;
    }
    return false;
}
