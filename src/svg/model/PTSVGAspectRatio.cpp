#include "svg/model/PTSVGAspectRatio.h"

#include <QString>

#include <algorithm>

namespace {

double aligned(PTSVGAspectRatio::Align align, double slack)
{
    switch (align) {
    case PTSVGAspectRatio::Align::Min: return 0;
    case PTSVGAspectRatio::Align::Mid: return slack / 2;
    case PTSVGAspectRatio::Align::Max: return slack;
    }
    return 0;
}

bool readAlign(QStringView text, PTSVGAspectRatio::Align& x, PTSVGAspectRatio::Align& y)
{
    using Align = PTSVGAspectRatio::Align;
    if (text.size() != 8 || text[0] != u'x' || text[4] != u'Y')
        return false;
    const auto part = [](QStringView name, Align& align) {
        if (name == u"Min")
            align = Align::Min;
        else if (name == u"Mid")
            align = Align::Mid;
        else if (name == u"Max")
            align = Align::Max;
        else
            return false;
        return true;
    };
    return part(text.mid(1, 3), x) && part(text.mid(5, 3), y);
}

} // namespace

PTSVGAspectRatio PTSVGAspectRatio::fromString(QStringView text)
{
    PTSVGAspectRatio ratio;
    const auto words = text.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return ratio;
    if (words[0] == u"none") {
        ratio.preserve_ = false;
    } else if (!readAlign(words[0], ratio.alignX_, ratio.alignY_)) {
        return {};
    }
    ratio.slice_ = words.size() > 1 && words[1] == u"slice";
    return ratio;
}

QTransform PTSVGAspectRatio::transform(const QRectF& source, const QRectF& viewport) const
{
    if (!(source.width() > 0) || !(source.height() > 0))
        return {};
    double scaleX = viewport.width() / source.width(), scaleY = viewport.height() / source.height();
    if (preserve_)
        scaleX = scaleY = slice_ ? std::max(scaleX, scaleY) : std::min(scaleX, scaleY);
    const double dx = viewport.x() + aligned(alignX_, viewport.width() - source.width() * scaleX);
    const double dy = viewport.y() + aligned(alignY_, viewport.height() - source.height() * scaleY);
    return QTransform(scaleX, 0, 0, scaleY, dx - source.x() * scaleX, dy - source.y() * scaleY);
}

QRectF PTSVGAspectRatio::fittedRect(const QSizeF& source, const QRectF& viewport) const
{
    return transform(QRectF(QPointF(), source), viewport).mapRect(QRectF(QPointF(), source));
}

QString PTSVGAspectRatio::toString() const
{
    if (!preserve_)
        return QStringLiteral("none");
    const auto name = [](Align align) {
        return align == Align::Min ? QStringLiteral("Min") : align == Align::Mid ? QStringLiteral("Mid") : QStringLiteral("Max");
    };
    QString text = QStringLiteral("x%1Y%2").arg(name(alignX_), name(alignY_));
    if (slice_)
        text += QStringLiteral(" slice");
    return text;
}
