#include "ui/controls/PTSheetTextField.h"

#include "ui/theme/PTStyles.h"

#include <QPainter>

PTSheetTextField::PTSheetTextField(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setFont(PTStyles::systemFont(12));
    updateAppearance();
    updateTextMargins();
}

void PTSheetTextField::updateAppearance()
{
    QPalette colours = palette();
    look_.updateAppearance(colours);
    setPalette(colours);
    update();
}

void PTSheetTextField::updateTextMargins()
{
    const QRectF bounds(rect());
    const QRectF text = look_.drawingRectForBounds(bounds);
    setTextMargins(int(text.left()), 0, int(bounds.right() - text.right()), 0);
}

void PTSheetTextField::setBorderRadius(qreal radius)
{
    look_.setBorderRadius(radius);
    update();
}

void PTSheetTextField::setStrokeColor(const QColor& color)
{
    look_.strokeColor = color;
    update();
}

void PTSheetTextField::setLabelPadding(qreal padding)
{
    look_.labelPadding = padding;
    updateTextMargins();
    update();
}

void PTSheetTextField::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    updateTextMargins();
}

void PTSheetTextField::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        look_.draw(painter, QRectF(rect()), hasFocus(), isEnabled());
    }
    QLineEdit::paintEvent(event);
}
