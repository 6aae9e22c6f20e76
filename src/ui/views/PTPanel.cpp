#include "ui/views/PTPanel.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QWindow>

PTPanel::PTPanel(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setAccessibleName(QStringLiteral("Panel"));
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void PTPanel::setRendersTitle(bool renders)
{
    if (!renders && !windowTitle().isEmpty())
        title_ = windowTitle();
    setWindowTitle(renders ? title_ : QString());
}

void PTPanel::setLooksModal(bool modal)
{
    Qt::WindowFlags flags = windowFlags() | Qt::CustomizeWindowHint;
    flags.setFlag(Qt::WindowCloseButtonHint, !modal);
    flags.setFlag(Qt::WindowMinimizeButtonHint, !modal);
    flags.setFlag(Qt::WindowMaximizeButtonHint, !modal);
    const bool visible = isVisible();
    setWindowFlags(flags);
    if (visible)
        show();
}

void PTPanel::closeEvent(QCloseEvent* event)
{
    if (disableClose_)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void PTPanel::mousePressEvent(QMouseEvent* event)
{
    // A press that no child took is on the background: it moves the panel.
    if (event->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove())
        return;
    QWidget::mousePressEvent(event);
}
