#include "ui/controls/PTClickableTextField.h"

#include "ui/theme/PTStyles.h"

#include <QGraphicsOpacityEffect>
#include <QMouseEvent>

PTClickableTextField::PTClickableTextField(const QString& text, QWidget* parent) : PTTitleLabel(text, parent)
{
    setTextInteractionFlags(Qt::NoTextInteraction);
    setCursor(Qt::PointingHandCursor);
    setGraphicsEffect(new QGraphicsOpacityEffect(this));
    static_cast<QGraphicsOpacityEffect*>(graphicsEffect())->setOpacity(1.0);
}

qreal PTClickableTextField::opacity() const
{
    return static_cast<QGraphicsOpacityEffect*>(graphicsEffect())->opacity();
}

void PTClickableTextField::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void PTClickableTextField::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (isEnabled() && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void PTClickableTextField::changeEvent(QEvent* event)
{
    PTTitleLabel::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        static_cast<QGraphicsOpacityEffect*>(graphicsEffect())
            ->setOpacity(isEnabled() ? 1.0 : PTStyles::defaultDisabledAlpha());
}
