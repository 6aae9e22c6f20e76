#include "foundation/ViewAdditions.h"

#include "foundation/PaintedArea.h"
#include "platform/graphics/ShadowPainter.h"

#include <QEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <random>

namespace viewAdditions {

namespace {

const char* const MaskProperty = "autoresizingMask";
// Found by name: without a meta-object of its own the follower cannot be told from other children by type.
const QString FollowerName = QStringLiteral("pictern-autoresizing-follower");

// Resizes its widget by the mask whenever the widget's parent is resized, and follows the widget to new parents.
class AutoresizingFollower : public QObject {
public:
    explicit AutoresizingFollower(QWidget* widget)
        : QObject(widget)
        , widget_(widget)
    {
        setObjectName(FollowerName);
        widget->installEventFilter(this);
        watchParent();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == widget_ && event->type() == QEvent::ParentChange) {
            watchParent();
        } else if (watched == parent_ && event->type() == QEvent::Resize) {
            const auto* resize = static_cast<QResizeEvent*>(event);
            const int mask = autoresizingMask(widget_);
            if (mask != 0 && resize->oldSize().isValid())
                widget_->setGeometry(autoresizedGeometry(widget_->geometry(), mask, resize->oldSize(), resize->size()));
        }
        return false;
    }

private:
    void watchParent()
    {
        if (parent_)
            parent_->removeEventFilter(this);
        parent_ = widget_->parentWidget();
        if (parent_)
            parent_->installEventFilter(this);
    }

    QWidget* widget_;
    QPointer<QWidget> parent_;
};

// One axis of the mask: the two margins and the size before, and the parent's growth to share among the flexible
// ones.
void resizeAxis(int& start, int& length, int oldParent, int newParent, bool flexibleStart, bool flexibleLength,
                bool flexibleEnd)
{
    const double parts[3] = {double(start), double(length), double(oldParent - start - length)};
    const bool flexible[3] = {flexibleStart, flexibleLength, flexibleEnd};
    double total = 0;
    int count = 0;
    for (int i = 0; i < 3; ++i) {
        if (flexible[i]) {
            total += std::max(0.0, parts[i]);
            ++count;
        }
    }
    if (count == 0)
        return;
    const double growth = newParent - oldParent;
    const auto share = [&](int i) {
        if (!flexible[i])
            return 0.0;
        return total > 0 ? growth * std::max(0.0, parts[i]) / total : growth / count;
    };
    const double newStart = parts[0] + share(0);
    const double newEnd = newStart + parts[1] + share(1);
    start = int(std::lround(newStart));
    length = std::max(0, int(std::lround(newEnd)) - start);
}

QImage noiseTile()
{
    static const QImage tile = [] {
        constexpr int Side = 124;
        QImage image(Side, Side, QImage::Format_Grayscale8);
        // A private generator: the process-wide one of the C library stays untouched.
        std::minstd_rand generator(120);
        for (int y = 0; y < Side; ++y) {
            uchar* row = image.scanLine(y);
            for (int x = 0; x < Side; ++x)
                row[x] = uchar(generator() & 0xFF);
        }
        return image;
    }();
    return tile;
}

} // namespace

bool isFirstResponder(const QWidget* widget)
{
    if (!widget)
        return false;
    const QWidget* window = widget->window();
    return window->isActiveWindow() && window->focusWidget() == widget;
}

void swapFirstResponder(QWidget* widget, QWidget* responder)
{
    if (!widget || !responder || widget == responder || widget->window() != responder->window())
        return;
    QWidget::setTabOrder(widget, responder);
}

int autoresizingMask(const QWidget* widget)
{
    return widget ? widget->property(MaskProperty).toInt() : 0;
}

void setAutoresizingBit(QWidget* widget, int bit, bool value)
{
    if (!widget)
        return;
    const int mask = autoresizingMask(widget);
    widget->setProperty(MaskProperty, value ? mask | bit : mask & ~bit);
    if (!widget->findChild<QObject*>(FollowerName, Qt::FindDirectChildrenOnly))
        new AutoresizingFollower(widget);
}

void fixLeftEdge(QWidget* widget, bool fixed)
{
    setAutoresizingBit(widget, FlexibleLeftMargin, !fixed);
}

void fixRightEdge(QWidget* widget, bool fixed)
{
    setAutoresizingBit(widget, FlexibleRightMargin, !fixed);
}

void fixTopEdge(QWidget* widget, bool fixed)
{
    setAutoresizingBit(widget, FlexibleTopMargin, !fixed);
}

void fixBottomEdge(QWidget* widget, bool fixed)
{
    setAutoresizingBit(widget, FlexibleBottomMargin, !fixed);
}

void fixWidth(QWidget* widget, bool fixed)
{
    setAutoresizingBit(widget, WidthSizable, !fixed);
}

void fixHeight(QWidget* widget, bool fixed)
{
    setAutoresizingBit(widget, HeightSizable, !fixed);
}

void fixAllEdgesAndSizes(QWidget* widget)
{
    fixLeftEdge(widget, true);
    fixRightEdge(widget, true);
    fixTopEdge(widget, true);
    fixBottomEdge(widget, true);
    fixWidth(widget, false);
    fixHeight(widget, false);
}

QRect autoresizedGeometry(const QRect& geometry, int mask, const QSize& oldParent, const QSize& newParent)
{
    int x = geometry.x();
    int width = geometry.width();
    int y = geometry.y();
    int height = geometry.height();
    resizeAxis(x, width, oldParent.width(), newParent.width(), mask & FlexibleLeftMargin, mask & WidthSizable,
               mask & FlexibleRightMargin);
    resizeAxis(y, height, oldParent.height(), newParent.height(), mask & FlexibleTopMargin, mask & HeightSizable,
               mask & FlexibleBottomMargin);
    return {x, y, width, height};
}

void matchBoundsOfView(QWidget* widget, const QWidget* other)
{
    if (widget)
        widget->resize(other ? other->size() : QSize(0, 0));
}

void expandToFitSuperview(QWidget* widget)
{
    if (!widget)
        return;
    const QWidget* parent = widget->parentWidget();
    widget->setGeometry(QRect(QPoint(0, 0), parent ? parent->size() : QSize(0, 0)));
}

void expandWidthToSuperview(QWidget* widget)
{
    if (!widget)
        return;
    const QWidget* parent = widget->parentWidget();
    widget->resize(parent ? parent->width() : 0, widget->height());
}

void drawNoiseWithOpacity(QPainter& painter, float opacity)
{
    if (!painter.isActive() || !(opacity > 0))
        return;
    const qreal scale = painter.device()->devicePixelRatioF();
    painter.save();
    painter.setOpacity(std::min(qreal(opacity), qreal(1)));
    painter.setCompositionMode(QPainter::CompositionMode_Screen);
    painter.scale(1 / scale, 1 / scale);
    painter.fillRect(paintedArea(painter), QBrush(noiseTile()));
    painter.restore();
}

qreal targetPixelRatio(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine && engine->paintDevice() ? engine->paintDevice() : painter.device();
    return device ? device->devicePixelRatioF() : 1.0;
}

void blurInRect(QPainter& painter, const QRectF& rect, float radius)
{
    QPaintEngine* engine = painter.paintEngine();
    if (!painter.isActive() || !engine || engine->paintDevice()->devType() != QInternal::Image)
        return;
    const auto* pixels = static_cast<const QImage*>(engine->paintDevice());
    const QRect area = painter.deviceTransform().mapRect(rect).toAlignedRect() & pixels->rect();
    if (area.isEmpty() || !(radius > 0))
        return;
    const qreal scale = painter.device()->devicePixelRatioF();
    QImage blurred = pt::ShadowPainter::blurredImage(pixels->copy(area), qreal(radius) * scale);
    blurred.setDevicePixelRatio(1);
    painter.save();
    // Back in the device pixels the blur was taken from.
    painter.setWorldTransform(QTransform::fromScale(1 / scale, 1 / scale));
    painter.setOpacity(1);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(area.topLeft(), blurred);
    painter.restore();
}

} // namespace viewAdditions
