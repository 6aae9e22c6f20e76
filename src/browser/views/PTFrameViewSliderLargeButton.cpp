#include "browser/views/PTFrameViewSliderLargeButton.h"

#include "foundation/DifferentStuff.h"

#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

PTFrameViewSliderLargeButton::PTFrameViewSliderLargeButton(QWidget* parent)
    : PTFrameViewSliderLargeButton(tr("Larger icons"), parent)
{
}

PTFrameViewSliderLargeButton::PTFrameViewSliderLargeButton(const QString& accessibleName, QWidget* parent)
    : QToolButton(parent)
{
    setAccessibleName(accessibleName);
    setAutoRaise(true);
    setIconSize(QSize(16, 16));
}

QImage PTFrameViewSliderLargeButton::imageNamed(const QString& name) const
{
    return differentStuff::imageWithName(name, QStringLiteral("png"), true, devicePixelRatioF());
}

QImage PTFrameViewSliderLargeButton::buttonImage() const
{
    return imageNamed(QStringLiteral("pic-big"));
}

void PTFrameViewSliderLargeButton::viewRequiresScreenUpdate()
{
    // The art is drawn upright for Qt's y-down space: no flip.
    setIcon(QIcon(QPixmap::fromImage(buttonImage())));
    update();
}

void PTFrameViewSliderLargeButton::showEvent(QShowEvent* event)
{
    QToolButton::showEvent(event);
    if (QWindow* window = this->window()->windowHandle()) {
        disconnect(screenWatch_);
        screenWatch_ = connect(window, &QWindow::screenChanged, this,
                               &PTFrameViewSliderLargeButton::viewRequiresScreenUpdate);
    }
    viewRequiresScreenUpdate();
}
