#include "ui/colour/PTColourPickerClippedView.h"

#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"
#include "foundation/ViewAdditions.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr qreal kCornerRadius = 3;
constexpr qreal kKnobSize = 12;
constexpr qreal kKnobRing = 2;
constexpr qreal kKnobShadowBlur = 2;
// Room around the ring for its shadow in the cached knob picture.
constexpr qreal kKnobMargin = 4;
constexpr qreal kKnobHalf = kKnobSize / 2 + kKnobMargin;

QPixmap knobPixmap(qreal ratio)
{
    const qreal side = kKnobSize + 2 * kKnobMargin;
    QPixmap pixmap(qCeil(side * ratio), qCeil(side * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(kKnobMargin, kKnobMargin, kKnobSize, kKnobSize);
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addEllipse(outer);
    ring.addEllipse(outer.adjusted(kKnobRing, kKnobRing, -kKnobRing, -kKnobRing));
    // The shadow falls one point below the ring.
    painter.save();
    painter.translate(0, 1);
    MCAdditions::drawBlurWithColor(painter, ring, PTColorFromHEX(0x000000, 0.3), kKnobShadowBlur);
    painter.restore();
    painter.fillPath(ring, Qt::white);
    return pixmap;
}

QImage transparentImage(QSize pixels, qreal ratio)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

// A premultiplied channel times a factor out of 255 * 255, rounded.
inline uint scaled(uint channel, uint factor)
{
    return (channel * factor + 32512) / 65025;
}

} // namespace

void PTColourPickerClippedView::drawKnob(QPainter& painter, QPointF centre)
{
    static QHash<qreal, QPixmap> cache;
    const qreal ratio = viewAdditions::targetPixelRatio(painter);
    auto it = cache.find(ratio);
    if (it == cache.end())
        it = cache.insert(ratio, knobPixmap(ratio));
    painter.drawPixmap(centre - QPointF(kKnobHalf, kKnobHalf), *it);
}

void PTColourPickerClippedView::pictureChanged()
{
    m_pictureValid = false;
    update();
}

void PTColourPickerClippedView::makeMasks(QSize pixels, qreal ratio)
{
    const QRectF bounds(QPointF(), QSizeF(pixels) / ratio);
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(bounds, kCornerRadius);
    m_clip = transparentImage(pixels, ratio);
    {
        QPainter painter(&m_clip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(path, Qt::black);
    }
    // Darkening with black is the same as laying black over: only the border's coverage matters.
    m_border = transparentImage(pixels, ratio);
    QPainter painter(&m_border);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(PTColorFromHEX(0x000000, 0.12), 1));
    MCAdditions::strokeInside(painter, path);
    m_edge.clear();
    const int stride = m_clip.bytesPerLine() / int(sizeof(QRgb));
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* clip = reinterpret_cast<const QRgb*>(m_clip.constScanLine(y));
        const auto* border = reinterpret_cast<const QRgb*>(m_border.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const uint cover = qAlpha(border[x]);
            const uint keep = qAlpha(clip[x]) * (255 - cover);
            if (keep != 255 * 255 || cover != 0)
                m_edge.push_back({y * stride + x, keep, cover});
        }
    }
}

const QImage& PTColourPickerClippedView::clippedPicture(qreal ratio)
{
    const QSize pixels(qCeil(width() * ratio), qCeil(height() * ratio));
    if (m_pictureValid && m_picture.size() == pixels && m_picture.devicePixelRatio() == ratio)
        return m_picture;
    if (m_clip.size() != pixels || m_clip.devicePixelRatio() != ratio)
        makeMasks(pixels, ratio);
    // The same buffer serves every hue of a drag: a new one each step costs page faults.
    if (m_picture.size() != pixels || m_picture.devicePixelRatio() != ratio)
        m_picture = transparentImage(pixels, ratio);
    else
        m_picture.fill(Qt::transparent);
    drawPicture(m_picture);
    // Clip and border only where they change anything: painting through an antialiased clip path costs more than
    // the picture itself when a hue drag remakes the square on every step.
    // The clip masks have the picture's format and size, so their offsets fit it.
    auto* pixels32 = reinterpret_cast<QRgb*>(m_picture.bits());
    for (const EdgePixel& edge : m_edge) {
        QRgb& p = pixels32[edge.offset];
        p = qRgba(int(scaled(qRed(p), edge.keep)), int(scaled(qGreen(p), edge.keep)), int(scaled(qBlue(p), edge.keep)),
                  int(scaled(qAlpha(p), edge.keep) + edge.cover));
    }
    m_opaquePicture = pictureIsOpaque() ? QImage(m_picture.constBits(), pixels.width(), pixels.height(),
                                                 m_picture.bytesPerLine(), QImage::Format_RGB32)
                                        : QImage();
    m_opaquePicture.setDevicePixelRatio(ratio);
    m_pictureValid = true;
    return m_picture;
}

void PTColourPickerClippedView::drawKnobInside(QPainter& painter, QPointF centre)
{
    // The knob goes on a small layer on the device's pixel grid that takes the rounded clip and, on its colour
    // only, the border's darkening: laid over the kept picture this equals clipping and bordering it all at once.
    const qreal ratio = m_clip.devicePixelRatio();
    const QPoint origin((QPointF(centre.x() - kKnobHalf, centre.y() - kKnobHalf) * ratio).toPoint() - QPoint(1, 1));
    const int side = qCeil(2 * kKnobHalf * ratio) + 2;
    QImage layer = transparentImage(QSize(side, side), ratio);
    {
        QPainter knobPainter(&layer);
        knobPainter.translate(-QPointF(origin) / ratio);
        drawKnob(knobPainter, centre);
    }
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        const int viewY = origin.y() + y;
        const bool rowInside = viewY >= 0 && viewY < m_clip.height();
        const auto* clip = rowInside ? reinterpret_cast<const QRgb*>(m_clip.constScanLine(viewY)) : nullptr;
        const auto* border = rowInside ? reinterpret_cast<const QRgb*>(m_border.constScanLine(viewY)) : nullptr;
        for (int x = 0; x < side; ++x) {
            const int viewX = origin.x() + x;
            if (!rowInside || viewX < 0 || viewX >= m_clip.width()) {
                line[x] = 0;
                continue;
            }
            const uint keep = qAlpha(clip[viewX]);
            const uint colour = keep * (255 - qAlpha(border[viewX]));
            const QRgb p = line[x];
            line[x] = qRgba(int(scaled(qRed(p), colour)), int(scaled(qGreen(p), colour)),
                            int(scaled(qBlue(p), colour)), int(scaled(qAlpha(p), keep * 255)));
        }
    }
    painter.drawImage(QPointF(origin) / ratio, layer);
}

void PTColourPickerClippedView::drawPictureInto(QPainter& painter)
{
    const QImage& picture = clippedPicture(viewAdditions::targetPixelRatio(painter));
    const int corner = qCeil(kCornerRadius * picture.devicePixelRatio()) + 1;
    if (m_opaquePicture.isNull() || picture.height() <= 2 * corner)
        return painter.drawImage(QPointF(), picture);
    const qreal ratio = picture.devicePixelRatio();
    const auto band = [&](const QImage& image, int top, int rows) {
        const QRect source(0, top, image.width(), rows);
        painter.drawImage(QRectF(QPointF(0, top / ratio), QSizeF(source.size()) / ratio), image, source);
    };
    band(picture, 0, corner);
    band(m_opaquePicture, corner, picture.height() - 2 * corner);
    band(picture, picture.height() - corner, corner);
}

void PTColourPickerClippedView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawPictureInto(painter);
    drawKnobInside(painter, knobPosition());
}

void PTColourPickerClippedView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    setValueFromPoint(event->position());
    emit valueChanged();
    update();
}

void PTColourPickerClippedView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    setValueFromPoint(event->position());
    emit valueChanged();
    update();
}
