#pragma once

#include "browser/grid/PTGridViewCell.h"

#include <QColor>

// The body of a section header: a translucent bar over a blurred, saturated copy of what scrolls beneath it, with
// a hairline at top and bottom. It takes every click, so a click on a header never reaches the grid's selection.
class PTGridViewSectionCell : public PTGridViewCell {
public:
    explicit PTGridViewSectionCell(QString reuseIdentifier);

    bool mouseDown(QMouseEvent* event, const QPointF& point) override;
    void drawStateDidUpdate() override;
    void drawCellInRect(QPainter& painter, const QRectF& rect) override;
    bool wantsBackdrop() const override { return true; }
    void setBackdrop(const QImage& content) override;

    // The bar's colours for the drawing state's appearance.
    QColor backgroundColor() const { return backgroundColor_; }
    QColor borderColor() const { return borderColor_; }
    qreal saturation() const { return saturation_; }

protected:
    // Redraws the cell and asks the grid for a paint of it.
    void redisplay();

private:
    void applyAppearance();

    QImage backdrop_;
    QColor backgroundColor_;
    QColor borderColor_;
    qreal saturation_ = 0;
};
