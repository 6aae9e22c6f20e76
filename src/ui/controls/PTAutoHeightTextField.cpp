#include "ui/controls/PTAutoHeightTextField.h"

#include <QResizeEvent>

PTAutoHeightTextField::PTAutoHeightTextField(const QString& text, QWidget* parent) : PTTitleLabel(text, parent)
{
    setWordWrap(true);
    updateHeight();
}

void PTAutoHeightTextField::setText(const QString& text)
{
    QLabel::setText(text);
    updateHeight();
}

void PTAutoHeightTextField::updateHeight()
{
    const int height = heightForWidth(width());
    if (height < 0 || height == this->height())
        return;
    resize(width(), height);
    Q_EMIT frameChanged();
}

void PTAutoHeightTextField::resizeEvent(QResizeEvent* event)
{
    PTTitleLabel::resizeEvent(event);
    // Only a new width can change the height the text needs.
    if (event->size().width() != event->oldSize().width())
        updateHeight();
}
