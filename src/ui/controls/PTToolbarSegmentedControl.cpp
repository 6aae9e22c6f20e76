#include "ui/controls/PTToolbarSegmentedControl.h"

#include "ui/controls/PTEventMatchesKeyEquivalent.h"
#include "ui/controls/PTToolbarSegmentedControlCell.h"
#include "ui/theme/PTChevron.h"
#include "ui/theme/PTStyles.h"

#include "foundation/DifferentStuff.h"
#include "foundation/MenuAdditions.h"
#include "platform/runtime/Logging.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>

const QString PTToolbarSegmentedControl::DefaultLabelSeperator = QStringLiteral(" \u27E9 ");

namespace {

// The 15 x 18 corner of a segment where a press opens its menu at once.
constexpr qreal HotSpotWidth = 15;
constexpr qreal HotSpotHeight = 18;
constexpr qreal DefaultHeight = 20;

} // namespace

PTToolbarSegmentedControl::PTToolbarSegmentedControl(QWidget* parent)
    : QWidget(parent), menuDelay_(new QTimer(this)), borderRadius_(PTStyles::defaultControlBorderRadius()),
      strokeColor_(PTStyles::defaultControlStrokeColor())
{
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    menuDelay_->setSingleShot(true);
    connect(menuDelay_, &QTimer::timeout, this, [this] {
        if (pressedSegment_ >= 0)
            showMenu(pressedSegment_);
    });
    resize(width(), int(DefaultHeight));
    recalculateWidth();
}

PTToolbarSegmentedControl::~PTToolbarSegmentedControl() = default;

std::unique_ptr<PTToolbarSegmentedControlCell> PTToolbarSegmentedControl::makeCell() const
{
    return std::make_unique<PTToolbarSegmentedControlCell>();
}

PTToolbarSegmentedControlCell& PTToolbarSegmentedControl::cell()
{
    if (!cell_)
        cell_ = makeCell();
    return *cell_;
}

bool PTToolbarSegmentedControl::isValidSegment(int segment, const char* setter) const
{
    if (segment >= 0 && segment < segmentCount())
        return true;
    qCWarning(lcUi) << setter << "ignored segment" << segment << "of" << segmentCount();
    return false;
}

void PTToolbarSegmentedControl::setSegmentCount(int count)
{
    count = std::max(0, count);
    if (count == 1 && !frameListening_) {
        oldMinWidth_ = minWidth_;
        frameListening_ = true;
    } else if (count >= 2 && frameListening_) {
        frameListening_ = false;
        setMinWidth(oldMinWidth_);
        oldMinWidth_ = 0;
    }
    segments_.resize(size_t(count));
    for (auto it = labels_.begin(); it != labels_.end();)
        it = it->first >= count ? labels_.erase(it) : std::next(it);
    if (selectedSegment_ >= count)
        selectedSegment_ = -1;
    if (frameListening_)
        resetMinWidth();
    recalculateWidth();
}

void PTToolbarSegmentedControl::setSelectedSegment(int segment)
{
    // -1 selects none.
    if (segment != -1 && !isValidSegment(segment, "setSelectedSegment"))
        return;
    selectedSegment_ = segment;
    update();
}

QString PTToolbarSegmentedControl::label(int segment) const
{
    return segment >= 0 && segment < segmentCount() ? segments_[size_t(segment)].label : QString();
}

void PTToolbarSegmentedControl::setLabel(const QString& label, int segment)
{
    if (!isValidSegment(segment, "setLabel"))
        return;
    segments_[size_t(segment)].label = label;
    updateLabelForSegment(segment);
    recalculateWidth();
    updateAccessibleName();
}

void PTToolbarSegmentedControl::setSublabel(const QString& sublabel, int segment)
{
    if (!isValidSegment(segment, "setSublabel"))
        return;
    segments_[size_t(segment)].sublabel = sublabel;
    recheckSublables();
    updateAccessibleName();
}

QString PTToolbarSegmentedControl::sublabel(int segment) const
{
    if (segment < 0 || segment >= segmentCount())
        return QString();
    const Segment& s = segments_[size_t(segment)];
    if (!s.sublabel.isEmpty())
        return s.sublabel;
    if (!s.menu)
        return QString();
    const QList<QAction*> actions = s.menu->actions();
    for (qsizetype i = 0; i < actions.size(); ++i) {
        if (actions[i]->isChecked())
            return i == 0 && !allowsFirstMenuItemAsSublabel_ ? QString()
                                                              : menuAdditions::shownTitle(actions[i]->text());
    }
    return QString();
}

QMenu* PTToolbarSegmentedControl::menu(int segment) const
{
    return segment >= 0 && segment < segmentCount() ? segments_[size_t(segment)].menu.data() : nullptr;
}

void PTToolbarSegmentedControl::setMenu(QMenu* menu, int segment)
{
    if (!isValidSegment(segment, "setMenu"))
        return;
    if (menu)
        menu->setFont(PTStyles::systemFont(12));
    segments_[size_t(segment)].menu = menu;
    if (sublabeledFromMenus_)
        recheckSublables();
    updateAccessibleName();
}

QImage PTToolbarSegmentedControl::image(int segment) const
{
    return segment >= 0 && segment < segmentCount() ? segments_[size_t(segment)].image : QImage();
}

void PTToolbarSegmentedControl::setImage(const QImage& image, int segment)
{
    if (!isValidSegment(segment, "setImage"))
        return;
    segments_[size_t(segment)].image =
        autoColorsIcons_ && !image.isNull() ? differentStuff::tintWithColor(image, PTStyles::toolbarIconTemplateColor())
                                            : image;
    recalculateWidth();
}

qreal PTToolbarSegmentedControl::widthForSegment(int segment) const
{
    return segment >= 0 && segment < segmentCount() ? segments_[size_t(segment)].width : 0;
}

const PTStyledLabel* PTToolbarSegmentedControl::attributedLabelForSegment(int segment) const
{
    const auto it = labels_.find(segment);
    return it == labels_.end() ? nullptr : &it->second;
}

QColor PTToolbarSegmentedControl::labelColor() const
{
    return confirmationStyle_ ? QColor(Qt::white) : PTStyles::defaultControlTextColor();
}

void PTToolbarSegmentedControl::updateLabelForSegment(int segment)
{
    hoverSegment_ = -1;
    labels_.erase(segment);
    if (!sublabeledFromMenus_ || label(segment).isEmpty())
        return;
    PTStyledLabel& styled = labels_[segment];
    const QColor color = labelColor();
    styled.append(label(segment), PTStyles::systemFont(12), color);
    QString sub = sublabel(segment);
    if (!sub.isEmpty()) {
        if (sub.size() > maxSublabelLength_)
            sub = sub.left(maxSublabelLength_ - 3) + QStringLiteral("...");
        QColor dimmed = color;
        dimmed.setAlphaF(0.55f);
        const QFont separatorFont = PTStyles::systemFont(11);
        styled.append(PTChevron::legible(labelSeperator_, separatorFont), separatorFont, dimmed);
        dimmed.setAlphaF(0.7f);
        QFont font = PTStyles::systemFont(12);
        font.setPixelSize(std::max(1, int(std::lround(sublabelFontSize_))));
        styled.append(sub, font, dimmed);
    }
    update();
}

void PTToolbarSegmentedControl::recheckSublables()
{
    for (int i = 0; i < segmentCount(); ++i)
        updateLabelForSegment(i);
    recalculateWidthWithMinWidth(minWidth_);
}

qreal PTToolbarSegmentedControl::recalculateWidthWithMinWidth(qreal minWidth)
{
    qreal total = 0;
    for (int i = 0; i < segmentCount(); ++i) {
        Segment& s = segments_[size_t(i)];
        const PTStyledLabel* styled = attributedLabelForSegment(i);
        qreal w = styled ? styled->width() : 0;
        if (styled && !styled->isEmpty())
            w += 2 * labelPadding_;
        if (!s.image.isNull())
            w += s.image.deviceIndependentSize().width() + iconSpacing_;
        w = std::max(minWidth, w);
        if (!obeyMinWidthForSingleSegment_ && segmentCount() == 1 && w > width())
            w = width() - 2;
        s.width = w;
        total += w;
    }
    update();
    width_ = std::round(segmentCount() + total + 2);
    updateGeometry();
    return width_;
}

qreal PTToolbarSegmentedControl::recalculateWidth()
{
    const qreal w = recalculateWidthWithMinWidth(minWidth_);
    if (autoCalculatesFrame_) {
        resizingItself_ = true;
        resize(int(w), height());
        resizingItself_ = false;
    }
    return w;
}

QSize PTToolbarSegmentedControl::sizeHint() const
{
    return QSize(int(width_), customHeight_ > 0 ? int(customHeight_) : int(DefaultHeight));
}

QRectF PTToolbarSegmentedControl::rectForSegment(int segment) const
{
    qreal x = segment + 1;
    for (int i = 0; i < segment; ++i)
        x += segments_[size_t(i)].width;
    return QRectF(x, 0, widthForSegment(segment), height());
}

int PTToolbarSegmentedControl::indexOfSegmentAt(const QPointF& point) const
{
    if (!rect().contains(point.toPoint()))
        return -1;
    for (int i = 0; i < segmentCount(); ++i) {
        const QRectF r = rectForSegment(i);
        // The one-point gap before a segment belongs to it.
        if (point.x() >= r.x() - 1 && point.x() < r.right())
            return i;
    }
    return -1;
}

bool PTToolbarSegmentedControl::isInTitleBar() const
{
    for (const QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<const QToolBar*>(w))
            return true;
    }
    return false;
}

bool PTToolbarSegmentedControl::isKey() const
{
    return window()->isActiveWindow();
}

QString PTToolbarSegmentedControl::toolTipText() const
{
    const QString sub = sublabel(0);
    return sub.isEmpty() ? label(0) : label(0) + labelSeperator_ + sub;
}

void PTToolbarSegmentedControl::updateAccessibleName()
{
    const QString text = toolTipText();
    setToolTip(PTChevron::legible(text, QToolTip::font()));
    setAccessibleName(text);
}

bool PTToolbarSegmentedControl::performKeyEquivalent(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (segmentCount() != 1 || !isEnabled() ||
        !PTEventMatchesKeyEquivalent(key, modifiers, text, keyEquivalentModifierMask_, keyEquivalent_))
        return false;
    performClick(0);
    return true;
}

void PTToolbarSegmentedControl::performClick(int segment)
{
    if (segment < 0 || segment >= segmentCount())
        return;
    if (trackingMode() == SelectOne)
        setSelectedSegment(segment);
    emit action(segment);
}

void PTToolbarSegmentedControl::setMinWidth(qreal width)
{
    minWidth_ = width;
    recalculateWidth();
}

void PTToolbarSegmentedControl::setSublabelFontSize(qreal size)
{
    sublabelFontSize_ = size;
    recheckSublables();
}

void PTToolbarSegmentedControl::setMaxSublabelLength(int length)
{
    maxSublabelLength_ = std::max(3, length);
    recheckSublables();
}

void PTToolbarSegmentedControl::setLabelPadding(qreal padding)
{
    labelPadding_ = padding;
    recalculateWidth();
}

void PTToolbarSegmentedControl::setIconSpacing(qreal spacing)
{
    iconSpacing_ = spacing;
    recalculateWidth();
}

void PTToolbarSegmentedControl::setCustomHeight(qreal height)
{
    customHeight_ = height;
    resize(width(), height > 0 ? int(height) : int(DefaultHeight));
    recalculateWidth();
}

void PTToolbarSegmentedControl::setBorderRadius(qreal radius)
{
    borderRadius_ = radius;
    update();
}

void PTToolbarSegmentedControl::setStrokeColor(const QColor& color)
{
    strokeColor_ = color;
    update();
}

void PTToolbarSegmentedControl::setLabelSeperator(const QString& seperator)
{
    labelSeperator_ = seperator;
    recheckSublables();
    updateAccessibleName();
}

void PTToolbarSegmentedControl::setAutoCentersLabel(bool on)
{
    autoCentersLabel_ = on;
    update();
}

void PTToolbarSegmentedControl::setObeyMinWidthForSingleSegment(bool on)
{
    obeyMinWidthForSingleSegment_ = on;
    recalculateWidth();
}

void PTToolbarSegmentedControl::setAutoCalculatesFrame(bool on)
{
    autoCalculatesFrame_ = on;
    recalculateWidth();
}

void PTToolbarSegmentedControl::setSublabeledFromMenus(bool on)
{
    sublabeledFromMenus_ = on;
    if (on)
        recheckSublables();
    else
        labels_.clear();
}

void PTToolbarSegmentedControl::setConfirmationStyle(bool on)
{
    if (on == confirmationStyle_)
        return;
    confirmationStyle_ = on;
    strokeColor_ = on ? PTStyles::defaultControlGradientStrokeColor() : PTStyles::defaultControlStrokeColor();
    labels_.clear();
    setSublabeledFromMenus(sublabeledFromMenus_);
    update();
}

void PTToolbarSegmentedControl::appearanceDidChange()
{
    strokeColor_ =
        confirmationStyle_ ? PTStyles::defaultControlGradientStrokeColor() : PTStyles::defaultControlStrokeColor();
    for (int i = 0; i < segmentCount(); ++i)
        updateLabelForSegment(i);
    update();
}

void PTToolbarSegmentedControl::resetMinWidth()
{
    if (!obeyMinWidthForSingleSegment_)
        setMinWidth(width() - 4);
}

void PTToolbarSegmentedControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A frame the control gave itself must not feed back into the width it was worked out from.
    if (frameListening_ && !resizingItself_)
        resetMinWidth();
}

void PTToolbarSegmentedControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The hover arrow shows only while the window is key.
    if (event->type() == QEvent::ActivationChange)
        update();
    if (event->type() != QEvent::EnabledChange)
        return;
    if (!isEnabled() && confirmationStyle_) {
        droppedConfirmationStyle_ = true;
        setConfirmationStyle(false);
    } else if (isEnabled() && droppedConfirmationStyle_) {
        droppedConfirmationStyle_ = false;
        setConfirmationStyle(true);
    }
}

bool PTToolbarSegmentedControl::event(QEvent* event)
{
    // The hover arrow follows the window being key; the widget repaints nothing for that by itself.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
        update();
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show) {
        // Key equivalents are heard at the window, after the focused widget has passed on the key.
        if (keyWindow_ != window()) {
            if (keyWindow_)
                keyWindow_->removeEventFilter(this);
            keyWindow_ = window();
            keyWindow_->installEventFilter(this);
        }
    }
    return QWidget::event(event);
}

bool PTToolbarSegmentedControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == keyWindow_ && event->type() == QEvent::KeyPress && isVisible()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (performKeyEquivalent(key->key(), key->modifiers(), key->text()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PTToolbarSegmentedControl::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : PTStyles::defaultDisabledAlpha());
    cell().draw(painter, QRectF(rect()), *this);
}

void PTToolbarSegmentedControl::showMenu(int segment)
{
    menuDelay_->stop();
    pressedSegment_ = -1;
    if (trackingMode() == Momentary)
        selectedSegment_ = -1;
    update();
    if (QMenu* m = menu(segment))
        m->popup(mapToGlobal(rectForSegment(segment).bottomLeft().toPoint()));
}

void PTToolbarSegmentedControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int segment = indexOfSegmentAt(event->position());
    if (segment < 0)
        return;
    if (menu(segment)) {
        const QRectF r = rectForSegment(segment);
        const QRectF hotSpot(r.right() - HotSpotWidth, r.bottom() - HotSpotHeight, HotSpotWidth, HotSpotHeight);
        if (hotSpot.contains(event->position())) {
            showMenu(segment);
            return;
        }
        menuDelay_->start(style()->styleHint(QStyle::SH_ToolButton_PopupDelay, nullptr, this));
    }
    pressedSegment_ = segment;
    if (trackingMode() == Momentary)
        selectedSegment_ = segment;
    update();
}

void PTToolbarSegmentedControl::mouseReleaseEvent(QMouseEvent* event)
{
    menuDelay_->stop();
    const int pressed = pressedSegment_;
    pressedSegment_ = -1;
    if (trackingMode() == Momentary)
        selectedSegment_ = -1;
    update();
    if (pressed >= 0 && event->button() == Qt::LeftButton && indexOfSegmentAt(event->position()) == pressed)
        performClick(pressed);
}

void PTToolbarSegmentedControl::mouseMoveEvent(QMouseEvent* event)
{
    const int segment = indexOfSegmentAt(event->position());
    if (segment != hoverSegment_) {
        hoverSegment_ = segment;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void PTToolbarSegmentedControl::leaveEvent(QEvent* event)
{
    hoverSegment_ = -1;
    update();
    QWidget::leaveEvent(event);
}
