#include "svg/model/PTSVGGradient.h"

#include "svg/model/PTSVGColor.h"
#include "svg/parse/PTSVGStyle.h"
#include "svg/PTSVGUtils.h"
#include "svg/dom/PTSVGXmlNode.h"

#include <QTransform>

#include <cairo.h>

#include <algorithm>

namespace {

// An opacity as a number or a percentage, clamped to 0..1.
double opacityValue(const QString& text)
{
    double value = PTSVGUtils::leadingFloat(text);
    if (text.trimmed().endsWith(u'%'))
        value /= 100.0;
    return std::clamp(value, 0.0, 1.0);
}

} // namespace

std::vector<PTSVGGradientStop> PTSVGGradient::computeColorStops(const PTSVGXmlNode& element)
{
    std::vector<PTSVGGradientStop> stops;
    double previous = 0;
    for (const auto& child : element.children()) {
        if (!child->isElement() || child->localName().compare(u"stop", Qt::CaseInsensitive) != 0)
            continue;
        const QString offsetText = child->attributeValue(u"offset").trimmed();
        double offset = PTSVGUtils::leadingFloat(offsetText);
        if (offsetText.endsWith(u'%'))
            offset /= 100.0;
        offset = std::max(std::clamp(offset, 0.0, 1.0), previous);
        previous = offset;

        // Colour and opacity are read apart: the style wins for each that it gives.
        const QString* styleText = child->attribute(u"style");
        const PTSVGStyle style = styleText ? PTSVGStyle::parseStyleString(*styleText) : PTSVGStyle();
        std::optional<QColor> color;
        if (const QString* styleColor = style.property(u"stop-color"))
            color = PTSVGColor::colorFromString(*styleColor);
        if (const QString* colorText = child->attribute(u"stop-color"); !color && colorText)
            color = PTSVGColor::colorFromString(*colorText);
        const QString* opacityText = style.property(u"stop-opacity");
        if (!opacityText)
            opacityText = child->attribute(u"stop-opacity");
        const QColor base = color.value_or(QColor(Qt::black));
        const double opacity = opacityText ? opacityValue(*opacityText) : 1.0;
        stops.push_back({offset, PTSVGColor::changeAlphaOnColor(base, base.alphaF() * opacity)});
    }
    return stops;
}

void PTSVGGradient::copyGradientInto(PTSVGGradient& copy) const
{
    copy.applyPropertiesFromNode(*this);
    copy.stops_ = stops_;
    copy.x1_ = x1_;
    copy.y1_ = y1_;
    copy.x2_ = x2_;
    copy.y2_ = y2_;
}

cairo_pattern_t* PTSVGGradient::newGeometryPattern(const QSizeF&) const
{
    return nullptr;
}

cairo_pattern_t* PTSVGGradient::newPattern(const QRectF& objectRect, const QRectF& viewPort, double opacity) const
{
    if (stops_.empty())
        return nullptr;
    const bool boxUnits = objectBoundingBoxUnits();
    if (boxUnits && (objectRect.width() <= 0 || objectRect.height() <= 0))
        return nullptr;
    cairo_pattern_t* pattern = newGeometryPattern(boxUnits ? QSizeF(1, 1) : viewPort.size());
    if (!pattern) {
        // A gradient without extent (a zero radius, one point) paints its last colour.
        const QColor last = stops_.back().color.toRgb();
        return cairo_pattern_create_rgba(last.redF(), last.greenF(), last.blueF(), last.alphaF() * opacity);
    }
    for (const auto& stop : stops_) {
        const QColor rgb = stop.color.toRgb();
        cairo_pattern_add_color_stop_rgba(pattern, stop.offset, rgb.redF(), rgb.greenF(), rgb.blueF(),
                                          rgb.alphaF() * opacity);
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    // The gradient transform applies in the gradient's own space, before the box maps it to user space.
    QTransform toUser = PTSVGConcatTransforms(transforms());
    if (boxUnits)
        toUser *= QTransform(objectRect.width(), 0, 0, objectRect.height(), objectRect.x(), objectRect.y());
    bool invertible = false;
    const QTransform toPattern = toUser.inverted(&invertible);
    if (!invertible) {
        cairo_pattern_destroy(pattern);
        return nullptr;
    }
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, toPattern.m11(), toPattern.m12(), toPattern.m21(), toPattern.m22(), toPattern.dx(),
                      toPattern.dy());
    cairo_pattern_set_matrix(pattern, &matrix);
    return pattern;
}
