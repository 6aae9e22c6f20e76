#include "svg/PTSVGView.h"

#include "platform/graphics/ImageSurface.h"
#include "svg/PTSVG.h"

#include <QPainter>

#include <cairo.h>

#include <cmath>

PTSVGView::PTSVGView(QWidget* parent) : QWidget(parent) {}

PTSVGView::PTSVGView(std::shared_ptr<PTSVG> svg, QWidget* parent) : QWidget(parent)
{
    setSVG(std::move(svg));
}

PTSVGView* PTSVGView::viewWithSVGNamed(const QString& name, QWidget* parent)
{
    return new PTSVGView(PTSVG::svgNamed(name), parent);
}

PTSVGView::~PTSVGView()
{
    if (svg_)
        svg_->prepForDrawingInView(nullptr);
}

void PTSVGView::setSVG(std::shared_ptr<PTSVG> svg)
{
    if (svg_)
        svg_->prepForDrawingInView(nullptr);
    svg_ = std::move(svg);
    if (svg_) {
        if (tintColor_.isValid())
            svg_->setFillColor(tintColor_);
        svg_->prepForDrawingInView(this);
    }
    update();
}

void PTSVGView::setImageName(const QString& name)
{
    imageName_ = name;
    setSVG(PTSVG::svgNamed(name));
}

void PTSVGView::setTintColor(const QColor& color)
{
    tintColor_ = color;
    if (svg_)
        svg_->setFillColor(color);
    update();
}

void PTSVGView::paintEvent(QPaintEvent*)
{
    if (!svg_ || width() <= 0 || height() <= 0)
        return;
    // Widgets paint with QPainter: the document draws with cairo into an image at the device's pixel ratio,
    // which the painter then shows at the widget's size.
    const double ratio = devicePixelRatioF();
    const QSize pixels(int(std::ceil(width() * ratio)), int(std::ceil(height() * ratio)));
    pt::ImageSurface surface(pixels);
    if (surface.isNull())
        return;
    cairo_t* cr = cairo_create(surface.surface());
    cairo_scale(cr, ratio, ratio);
    svg_->drawInRect(cr, QRectF(rect()));
    cairo_destroy(cr);
    QImage image = surface.image();
    image.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.drawImage(QPointF(), image);
}
