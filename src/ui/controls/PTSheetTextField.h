#pragma once

#include "ui/controls/PTSheetFieldLook.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QLineEdit>

// The one-line text field of sheets and sidebars: no frame, a rounded body whose corners may differ and an inner
// stroke, following the theme. It is being edited while it has focus; a disabled field takes no focus.
class PTSheetTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit PTSheetTextField(QWidget* parent = nullptr);

    // Sets all four corners.
    void setBorderRadius(qreal radius);
    // A single corner; seen at the next repaint.
    void setTopLeftBorderRadius(qreal radius) { look_.topLeftBorderRadius = radius; }
    void setTopRightBorderRadius(qreal radius) { look_.topRightBorderRadius = radius; }
    void setBottomLeftBorderRadius(qreal radius) { look_.bottomLeftBorderRadius = radius; }
    void setBottomRightBorderRadius(qreal radius) { look_.bottomRightBorderRadius = radius; }
    QColor strokeColor() const { return look_.strokeColor; }
    void setStrokeColor(const QColor& color);
    qreal labelPadding() const { return look_.labelPadding; }
    void setLabelPadding(qreal padding);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateAppearance();
    void updateTextMargins();

    PTSheetFieldLook look_;
    PTAppearanceObserver appearanceObserver_{this, &PTSheetTextField::updateAppearance};
};
