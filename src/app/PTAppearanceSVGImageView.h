#pragma once

#include "svg/PTSVGView.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QColor>

// An SVG view whose fill follows the theme: one colour for the light appearance, one for the dark (the dark
// text white, 0xDDDDDD, when none is set). Every such view recolours at once when the theme changes.
class PTAppearanceSVGImageView : public PTSVGView {
    Q_OBJECT
public:
    explicit PTAppearanceSVGImageView(QWidget* parent = nullptr);

    QColor colorAppearanceAqua() const { return aqua_; }
    void setColorAppearanceAqua(const QColor& color);
    QColor colorAppearanceDarkAqua() const { return dark_; }
    void setColorAppearanceDarkAqua(const QColor& color);
    // Applies the colour of the current appearance.
    void updateAppearance();

private:
    QColor aqua_;
    QColor dark_;
    PTAppearanceObserver appearanceObserver_{this, &PTAppearanceSVGImageView::updateAppearance};
};
