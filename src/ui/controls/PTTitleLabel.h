#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QColor>
#include <QLabel>

// The label of the interface: its text takes one colour in the light theme and another in the dark one, and
// switches when the theme changes.
class PTTitleLabel : public QLabel {
    Q_OBJECT
public:
    explicit PTTitleLabel(const QString& text = QString(), QWidget* parent = nullptr);

    QColor appearanceAquaColor() const { return aquaColor_; }
    QColor appearanceDarkColor() const { return darkColor_; }
    void setAppearanceAquaColor(const QColor& color);
    void setAppearanceDarkColor(const QColor& color);
    // Applies the colour of the current theme.
    void updateTextColor();
    QColor textColor() const { return textColor_; }

protected:
    // The colour pair a kind of label starts with.
    void setDefaultTextColors(const QColor& aqua, const QColor& dark);
    // Draws the text in the theme's colour, without a palette of its own: a theme switch then costs a repaint,
    // not a palette change per label.
    void paintEvent(QPaintEvent* event) override;

private:
    QColor aquaColor_;
    QColor darkColor_;
    QColor textColor_;
    PTAppearanceObserver appearanceObserver_{this, &PTTitleLabel::updateTextColor};
};
