#include "sidebar/inspector/PTSideBarTokenObject.h"

#include "ui/theme/PTStyles.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

namespace {

// Room around the text inside a pill, and between neighbouring pills.
constexpr qreal HorizontalPadding = 5;
constexpr qreal Gap = 3;
constexpr qreal Radius = 3;

QFont tokenFont(QTextDocument* document, const QTextFormat& format)
{
    QFont font = document->defaultFont();
    const QTextCharFormat charFormat = format.toCharFormat();
    if (charFormat.hasProperty(QTextFormat::FontPixelSize))
        font.setPixelSize(charFormat.font().pixelSize());
    return font;
}

bool isDark()
{
    return PTStyles::defaultControlTextColor().lightness() > 127;
}

} // namespace

QTextCharFormat PTSideBarTokenObject::formatForToken(const QString& text)
{
    QTextCharFormat format;
    format.setObjectType(ObjectType);
    format.setProperty(TextProperty, text);
    return format;
}

QString PTSideBarTokenObject::tokenOfFormat(const QTextFormat& format)
{
    if (format.objectType() != ObjectType)
        return {};
    return format.property(TextProperty).toString();
}

QSizeF PTSideBarTokenObject::intrinsicSize(QTextDocument* document, int, const QTextFormat& format)
{
    const QFontMetricsF metrics(tokenFont(document, format));
    return {std::ceil(metrics.horizontalAdvance(tokenOfFormat(format))) + 2 * HorizontalPadding + Gap,
            std::ceil(metrics.height()) + 2};
}

void PTSideBarTokenObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                                      const QTextFormat& format)
{
    const QRectF pill(rect.x(), rect.y(), rect.width() - Gap, rect.height());
    QColor fill = PTStyles::defaultBlue();
    fill.setAlphaF(isDark() ? 0.45 : 0.18);
    QPainterPath path;
    path.addRoundedRect(pill, Radius, Radius);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(path, fill);
    painter->setFont(tokenFont(document, format));
    painter->setPen(PTStyles::defaultControlTextColor());
    const QString text = QFontMetricsF(painter->font())
                             .elidedText(tokenOfFormat(format), Qt::ElideMiddle, pill.width() - 2 * HorizontalPadding);
    painter->drawText(pill.adjusted(HorizontalPadding, 0, -HorizontalPadding, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      text);
    painter->restore();
}
