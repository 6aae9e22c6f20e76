#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QColor>
#include <QPushButton>

// A rounded bezel in the look of the segmented control, plain or in the confirmation (accent) style. It draws the
// bezel only: no title, no icon (the accessible name still carries the text). It follows the theme.
class PTButton : public QPushButton {
    Q_OBJECT
public:
    explicit PTButton(const QString& accessibleName, QWidget* parent = nullptr);

    bool confirmationStyle() const { return confirmationStyle_; }
    // Sets the stroke to the palette's stroke of the style, replacing a custom one.
    void setConfirmationStyle(bool confirmation);
    QColor strokeColor() const { return strokeColor_; }
    void setStrokeColor(const QColor& color);
    qreal borderRadius() const { return borderRadius_; }
    void setBorderRadius(qreal radius);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateAppearance();

    bool confirmationStyle_ = false;
    qreal borderRadius_;
    QColor strokeColor_;
    PTAppearanceObserver appearanceObserver_{this, &PTButton::updateAppearance};
};
