#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QColor>
#include <QImage>
#include <QWidget>

// The preview field: a rounded field of the background colour (or, where that is not opaque, a faint dotted
// pattern that marks transparency), a thin inner border, and the image centred at its own size, optionally
// painted all in one tint colour. It keeps the image as last painted, so a drag carries what is shown.
class PTQuickLookImageView : public QWidget {
    Q_OBJECT
public:
    explicit PTQuickLookImageView(QWidget* parent = nullptr);

    const QImage& image() const { return image_; }
    // Drawn at its own size in points (its pixels over its pixel ratio); forgets the last painted image.
    void setImage(const QImage& image);
    // Invalid: the image as it is.
    const QColor& iconColor() const { return iconColor_; }
    void setIconColor(const QColor& color);
    // Invalid counts as transparent.
    const QColor& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const QColor& color);

    qreal topLeftBorderRadius() const { return topLeftBorderRadius_; }
    void setTopLeftBorderRadius(qreal radius) { topLeftBorderRadius_ = radius; }
    qreal topRightBorderRadius() const { return topRightBorderRadius_; }
    void setTopRightBorderRadius(qreal radius) { topRightBorderRadius_ = radius; }
    qreal bottomLeftBorderRadius() const { return bottomLeftBorderRadius_; }
    void setBottomLeftBorderRadius(qreal radius) { bottomLeftBorderRadius_ = radius; }
    qreal bottomRightBorderRadius() const { return bottomRightBorderRadius_; }
    void setBottomRightBorderRadius(qreal radius) { bottomRightBorderRadius_ = radius; }

    // Where the image is drawn: centred, its origin rounded up to whole points.
    QRect draggingFrame() const;
    // The image as last painted (tint applied), or the plain image before the first paint.
    QImage draggingImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF imageSize() const;

    QImage image_;
    QColor iconColor_;
    QColor backgroundColor_;
    QImage lastPaintedImage_;
    qreal topLeftBorderRadius_ = 3;
    qreal topRightBorderRadius_ = 3;
    qreal bottomLeftBorderRadius_ = 3;
    qreal bottomRightBorderRadius_ = 3;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
