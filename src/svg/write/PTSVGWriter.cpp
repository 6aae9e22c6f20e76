#include "svg/write/PTSVGWriter.h"

#include "svg/model/PTSVGBezierPath.h"
#include "svg/model/PTSVGPath.h"
#include "svg/dom/PTSVGXmlWriter.h"

namespace {

QString fixed(double value)
{
    return QString::number(value, 'f', 6);
}

QString points(std::initializer_list<QPointF> list)
{
    QStringList numbers;
    for (const QPointF& point : list)
        numbers << fixed(point.x()) << fixed(point.y());
    return numbers.join(QLatin1Char(' '));
}

} // namespace

QString PTSVGWriter::SVGDocumentStringForSVGGlyph(const PTSVGPath& glyph)
{
    PTSVGBezierPath flipped = glyph.path();
    const double height = flipped.controlPointBounds().height();
    flipped.transform(QTransform::fromScale(1, -1) * QTransform::fromTranslate(0, -height));
    return SVGDocumentStringForBezierPath(flipped);
}

QString PTSVGWriter::SVGDocumentStringForBezierPath(const PTSVGBezierPath& path)
{
    return PTSVGXmlWriter::toString(*SVGDocumentForBezierPath(path));
}

std::unique_ptr<PTSVGXmlNode> PTSVGWriter::SVGDocumentForBezierPath(const PTSVGBezierPath& path)
{
    auto document = std::make_unique<PTSVGXmlNode>(PTSVGXmlNode::Kind::Document);
    PTSVGXmlNode* root = document->appendChild(rootElementForPath(path));
    auto element = std::make_unique<PTSVGXmlNode>(PTSVGXmlNode::Kind::Element, QStringLiteral("path"));
    element->setAttribute(QStringLiteral("d"), SVGPathStringForBezierPath(path));
    root->appendChild(std::move(element));
    return document;
}

std::unique_ptr<PTSVGXmlNode> PTSVGWriter::rootElementForPath(const PTSVGBezierPath& path)
{
    const QRectF box = path.controlPointBounds();
    auto root = std::make_unique<PTSVGXmlNode>(PTSVGXmlNode::Kind::Element, QStringLiteral("svg"));
    root->setAttribute(QStringLiteral("width"), fixed(box.width()));
    root->setAttribute(QStringLiteral("height"), fixed(box.height()));
    root->setAttribute(QStringLiteral("viewBox"),
                       QStringList{fixed(box.x()), fixed(box.y()), fixed(box.width()), fixed(box.height())}.join(u' '));
    root->setAttribute(QStringLiteral("xmlns"), QStringLiteral("http://www.w3.org/2000/svg"));
    return root;
}

QString PTSVGWriter::SVGPathStringForBezierPath(const PTSVGBezierPath& path)
{
    using Type = PTSVGBezierPath::ElementType;
    QString text;
    QPointF current, start;
    for (const auto& element : path.elements()) {
        const QPointF& end = element.points[0];
        switch (element.type) {
        case Type::MoveTo:
            text += QLatin1Char('M') + points({end});
            start = end;
            break;
        case Type::LineTo:
            text += QLatin1Char('L') + points({end});
            break;
        case Type::QuadTo: {
            // The exact cubic of a quadratic segment.
            const QPointF control = element.points[1];
            text += QLatin1Char('C')
                + points({current + 2.0 / 3.0 * (control - current), end + 2.0 / 3.0 * (control - end), end});
            break;
        }
        case Type::CurveTo:
            text += QLatin1Char('C') + points({element.points[1], element.points[2], end});
            break;
        case Type::Close:
            text += QLatin1Char('Z');
            break;
        }
        current = element.type == Type::Close ? start : end;
    }
    return text;
}
