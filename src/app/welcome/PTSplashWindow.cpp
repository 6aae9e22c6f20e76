#include "app/welcome/PTSplashWindow.h"

#include "app/welcome/PTSplashWindowBackgroundView.h"

#include <QCloseEvent>
#include <QMouseEvent>

PTSplashWindow::PTSplashWindow(QWidget* parent)
    : QDialog(parent), background_(new PTSplashWindowBackgroundView(this))
{
    background_->lower();
}

void PTSplashWindow::closeEvent(QCloseEvent* event)
{
    if (shouldClose_ && !shouldClose_()) {
        event->ignore();
        return;
    }
    // The dialog's own close rejects it; that is not a second request.
    approved_ = true;
    QDialog::closeEvent(event);
    approved_ = false;
}

void PTSplashWindow::reject()
{
    // Escape asks like the close button does.
    if (approved_ || !shouldClose_ || shouldClose_())
        QDialog::reject();
}

void PTSplashWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    background_->setGeometry(rect());
}

void PTSplashWindow::mousePressEvent(QMouseEvent* event)
{
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(event);
}

void PTSplashWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - dragOffset_);
    QDialog::mouseMoveEvent(event);
}
