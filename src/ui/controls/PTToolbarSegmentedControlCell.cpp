#include "ui/controls/PTToolbarSegmentedControlCell.h"

#include "ui/controls/PTControlDrawing.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include "foundation/DifferentStuff.h"
#include "foundation/MCAdditions.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

constexpr qreal IconSize = 12;

} // namespace

void PTToolbarSegmentedControlCell::draw(QPainter& painter, const QRectF& frame,
                                         const PTToolbarSegmentedControl& control)
{
    if (control.customHeight() != 0 && !control.isInTitleBar())
        drawCustomBezel(painter, frame, control);
    else
        drawPlatformBezel(painter, frame, control);
}

void PTToolbarSegmentedControlCell::drawOverlayingTextures(QPainter&, const QRectF&, const PTToolbarSegmentedControl&)
{
}

void PTToolbarSegmentedControlCell::drawCustomBezel(QPainter& painter, const QRectF& frame,
                                                    const PTToolbarSegmentedControl& control)
{
    const bool dark = PTThemeIsAppearance(PTAppearanceDark);
    const bool confirmation = control.confirmationStyle();
    const QRectF bezel(frame.x(), frame.y(), frame.width(), frame.height() - 1);
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(bezel, control.borderRadius());
    const QPainterPath inset = MCAdditions::bezierPathByInsettingPathBy(path, 1);

    // The shadowed body and the rim over the segments are the costly parts and change with few inputs: each is
    // drawn once into a cached pixmap.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const bool pressedAccent = confirmation && control.selectedSegment() == 0;
    const BodyKey key{frame.size(), ratio, dark, confirmation, pressedAccent, control.borderRadius(),
                      control.strokeColor()};
    if (!(key == bodyKey_) || body_.isNull()) {
        bodyKey_ = key;
        const auto layer = [&](auto draw) {
            QPixmap pixmap((frame.size() * ratio).toSize());
            pixmap.setDevicePixelRatio(ratio);
            pixmap.fill(Qt::transparent);
            QPainter layerPainter(&pixmap);
            layerPainter.setRenderHint(QPainter::Antialiasing);
            layerPainter.translate(-frame.topLeft());
            draw(layerPainter);
            return pixmap;
        };
        body_ = layer([&](QPainter& p) { drawBody(p, bezel, path, inset, dark, confirmation, pressedAccent); });
        rim_ = layer([&](QPainter& p) { drawRim(p, bezel, path, inset, dark, confirmation, control.strokeColor()); });
    }
    painter.drawPixmap(frame.topLeft(), body_);

    drawOverlayingTextures(painter, bezel, control);

    QColor separator = control.strokeColor();
    separator.setAlphaF(std::max(0.1f, separator.alphaF() - 0.1f));
    for (int i = 0; i < control.segmentCount(); ++i) {
        // A lone segment spans the whole frame; others sit where the hit testing finds them.
        const QRectF segment =
            control.segmentCount() == 1 ? bezel : control.rectForSegment(i).adjusted(0, 0, 0, -1);
        if (i == control.selectedSegment() && !confirmation &&
            control.trackingMode() == PTToolbarSegmentedControl::SelectOne) {
            painter.save();
            painter.setClipPath(path);
            // The selected label is white: on the light theme's white body a faint tint would not carry it.
            painter.fillRect(segment, dark ? QColor::fromRgbF(0, 0, 0, 0.06f) : PTStyles::toolbarIconTemplateColor());
            painter.restore();
        }
        drawSegment(painter, i, frame.height() - 5, control);
        if (i > 0)
            painter.fillRect(QRectF(segment.x() - 1, frame.y() + 1, 1, frame.height() - 3), separator);
    }

    painter.drawPixmap(frame.topLeft(), rim_);
}

void PTToolbarSegmentedControlCell::drawRim(QPainter& painter, const QRectF& bezel, const QPainterPath& path,
                                            const QPainterPath& inset, bool dark, bool confirmation,
                                            const QColor& stroke)
{
    if (dark) {
        MCAdditions::fillWithInnerShadow(painter, inset, PTStyles::darkModeControlShadow());
        return;
    }
    QPainterPath ring = path;
    ring.addPath(inset);
    ring.setFillRule(Qt::OddEvenFill);
    QColor faded = stroke;
    faded.setAlphaF(confirmation ? 0.1f : faded.alphaF());
    painter.fillPath(ring, PTStyles::Gradient{faded, stroke}.over(bezel));
}

void PTToolbarSegmentedControlCell::drawBody(QPainter& painter, const QRectF& bezel, const QPainterPath& path,
                                             const QPainterPath& inset, bool dark, bool confirmation,
                                             bool pressedAccent)
{
    pt::Shadow shadow{QColor(0, 0, 0, 13), QPointF(0, -1), 1};
    if (dark)
        shadow = {QColor::fromRgbF(0, 0, 0, 0.4f), QPointF(0, 0), 1};
    else if (confirmation)
        shadow.color = QColor::fromRgbF(0x01 / 255.0f, 0x5D / 255.0f, 1, 0.19f);
    if (dark) {
        PTControlDrawing::drawDropShadow(painter, inset, shadow);
        PTControlDrawing::drawDropShadow(painter, inset, {QColor::fromRgbF(0, 0, 0, 0.2f), QPointF(0, -1), 1});
        painter.fillPath(inset, QColor(0x62, 0x62, 0x62));
    } else {
        PTControlDrawing::drawDropShadow(painter, path, shadow);
        painter.fillPath(path, Qt::white);
    }
    const QPainterPath& body = dark ? inset : path;
    if (confirmation) {
        const PTStyles::Gradient gradient = pressedAccent
                                                ? PTStyles::defaultControlHighlightedGradient()
                                                : PTStyles::defaultControlGradient();
        painter.fillPath(body, gradient.over(bezel));
    }

}

void PTToolbarSegmentedControlCell::drawPlatformBezel(QPainter& painter, const QRectF& frame,
                                                      const PTToolbarSegmentedControl& control)
{
    QStyleOptionButton option;
    option.initFrom(&control);
    option.rect = frame.toRect();
    option.state |= QStyle::State_Raised;
    control.style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, &control);
    drawOverlayingTextures(painter, frame, control);
    for (int i = 0; i < control.segmentCount(); ++i) {
        const QRectF segment = control.rectForSegment(i);
        if (i == control.selectedSegment()) {
            painter.save();
            painter.setClipRect(segment);
            option.state = (option.state & ~QStyle::State_Raised) | QStyle::State_Sunken;
            control.style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, &control);
            // The selected label is white: in the light theme the style's pressed bezel is too pale to carry it.
            if (!PTThemeIsAppearance(PTAppearanceDark) &&
                control.trackingMode() == PTToolbarSegmentedControl::SelectOne)
                painter.fillRect(segment.adjusted(0, 1, 0, -1), PTStyles::toolbarIconTemplateColor());
            painter.restore();
        }
        drawSegment(painter, i, frame.height() - 5, control);
        if (i > 0)
            painter.fillRect(QRectF(segment.x() - 1, frame.y() + 3, 1, frame.height() - 6), control.strokeColor());
    }
}

PTToolbarSegmentedControlCell::SegmentLook
PTToolbarSegmentedControlCell::lookForSegment(const PTToolbarSegmentedControl& control, int segment) const
{
    const bool selectedLook = segment == control.selectedSegment() &&
                              control.trackingMode() != PTToolbarSegmentedControl::Momentary;
    const bool key = control.isKey();
    SegmentLook look;
    // Only a disabled control is greyed: a window in the back (during a sheet, after a drop from another
    // program) keeps its labels and icons, which would otherwise read as disabled.
    if (selectedLook)
        look.textColor = Qt::white;
    else if (!control.isEnabled() && !control.confirmationStyle())
        look.textColor = QColor(0xB2, 0xB2, 0xB2);
    look.iconAlpha = control.isEnabled() ? 1.0 : 0.5;
    look.drawsArrow = segment == control.hoverSegment() && key && control.menu(segment);
    if (control.confirmationStyle() || selectedLook || PTThemeIsAppearance(PTAppearanceDark))
        look.arrowColor = QColor::fromRgbF(1, 1, 1, 0.85f);
    else
        look.arrowColor = QColor(0x73, 0x73, 0x73);
    return look;
}

void PTToolbarSegmentedControlCell::drawSegment(QPainter& painter, int segment, qreal h,
                                                const PTToolbarSegmentedControl& control)
{
    const QRectF s = control.rectForSegment(segment);
    const SegmentLook look = lookForSegment(control, segment);
    // Without a styled label the segment shows its plain label.
    PTStyledLabel plain;
    const PTStyledLabel* styled = control.attributedLabelForSegment(segment);
    if (!styled) {
        plain.append(control.label(segment), PTStyles::systemFont(12), control.palette().color(QPalette::ButtonText));
        styled = &plain;
    }

    const QImage image = control.image(segment);
    const qreal padding = control.labelPadding();
    if (!image.isNull()) {
        const qreal x = control.autoCentersLabel() && styled->isEmpty() ? s.x() + s.width() / 2 - IconSize / 2
                                                                        : s.x() + padding;
        const QRectF iconRect = QRectF(x, h / 2 - 4, IconSize, IconSize).toAlignedRect();
        differentStuff::drawProportionallyInRect(painter, image, iconRect, QSizeF(IconSize, IconSize),
                                                 look.iconAlpha);
    }

    if (!styled->isEmpty()) {
        QRectF text = s.adjusted(padding, 0, -padding, 0);
        const qreal centred = s.x() + s.width() / 2 - styled->width() / 2;
        const qreal iconRoom = control.iconSpacing() + IconSize;
        if (!image.isNull() && !(control.autoCentersLabel() && text.x() + iconRoom < centred))
            text.setLeft(text.left() + iconRoom);
        styled->draw(painter, text.x(), h / 2 + styled->height() / 2 - 2, text.width(), look.textColor,
                     control.labelElideMode());
    }

    if (look.drawsArrow) {
        painter.save();
        painter.translate(s.x() + s.width() - 10, h - 4.5);
        painter.scale(0.5, 0.5);
        QPainterPath arrow;
        arrow.moveTo(0, 0);
        arrow.lineTo(7, 8);
        arrow.lineTo(14, 0);
        arrow.closeSubpath();
        painter.fillPath(arrow, look.arrowColor);
        painter.restore();
    }
}
