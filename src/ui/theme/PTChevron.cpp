#include "ui/theme/PTChevron.h"

#include <QHash>
#include <QPainterPath>
#include <QRawFont>

namespace {

// A chevron's ink is about half as wide as it is tall; a bracket's a quarter.
constexpr qreal ChevronAspect = 0.4;

bool drawsAngleAsChevron(const QFont& font)
{
    QFont probe = font;
    probe.setPixelSize(40);
    const QRawFont raw = QRawFont::fromFont(probe);
    if (!raw.isValid() || !raw.supportsCharacter(char32_t(PTChevron::Angle)))
        return false;
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(PTChevron::Angle)));
    const QRectF ink = glyphs.isEmpty() ? QRectF() : raw.pathForGlyph(glyphs.first()).boundingRect();
    return ink.height() > 0 && ink.width() >= ChevronAspect * ink.height();
}

} // namespace

QChar PTChevron::forFont(const QFont& font)
{
    // Interface code runs on the main thread only; a font is measured once.
    static QHash<QString, bool> chevronShaped;
    const QString key = font.key();
    auto it = chevronShaped.constFind(key);
    if (it == chevronShaped.constEnd())
        it = chevronShaped.insert(key, drawsAngleAsChevron(font));
    return QChar(*it ? Angle : Guillemet);
}

QString PTChevron::legible(const QString& text, const QFont& font)
{
    if (!text.contains(QChar(Angle)))
        return text;
    QString shown = text;
    shown.replace(QChar(Angle), forFont(font));
    return shown;
}
