#include "ui/views/PTStackView.h"

#include "ui/views/PTStackViewSubview.h"
#include "ui/views/PTViewCopying.h"

#include "platform/runtime/Logging.h"

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

const char* const CustomSpacingProperty = "ptStackCustomSpacing";
// Passes that re-measure nested stacks settle in two; the bound only guards against views that never settle.
constexpr int MaxMeasurePasses = 4;

bool explicitlyHidden(const QWidget* view)
{
    return view->testAttribute(Qt::WA_WState_ExplicitShowHide) && view->testAttribute(Qt::WA_WState_Hidden);
}

} // namespace

PTStackView::PTStackView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Stack"));
}

PTStackView::~PTStackView()
{
    // Children go after this destructor; they must not call back into a half-destroyed stack.
    for (const QPointer<QWidget>& view : views_)
        if (view)
            unwatch(view);
    for (const QPointer<QWidget>& view : gutterViews_)
        if (view)
            unwatch(view);
}

void PTStackView::setViews(const std::vector<QWidget*>& views)
{
    replaceViews(views);
}

void PTStackView::addView(QWidget* view)
{
    if (isArranged(view))
        return;
    std::vector<QWidget*> list(views_.begin(), views_.end());
    list.push_back(view);
    replaceViews(std::move(list));
}

void PTStackView::addViews(const std::vector<QWidget*>& views)
{
    std::vector<QWidget*> list(views_.begin(), views_.end());
    for (QWidget* view : views)
        if (std::find(list.begin(), list.end(), view) == list.end())
            list.push_back(view);
    replaceViews(std::move(list));
}

void PTStackView::insertView(QWidget* view, int index)
{
    std::vector<QWidget*> list(views_.begin(), views_.end());
    std::erase(list, view);
    index = std::clamp(index, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + index, view);
    replaceViews(std::move(list));
}

void PTStackView::moveView(QWidget* view, int index)
{
    if (isArranged(view))
        insertView(view, index);
}

void PTStackView::removeView(QWidget* view)
{
    removeViews({view});
}

void PTStackView::removeViews(const std::vector<QWidget*>& views)
{
    std::vector<QWidget*> list(views_.begin(), views_.end());
    for (QWidget* view : views)
        std::erase(list, view);
    if (list.size() != views_.size())
        replaceViews(std::move(list));
}

bool PTStackView::isArranged(const QWidget* view) const
{
    return view && std::find(views_.begin(), views_.end(), view) != views_.end();
}

void PTStackView::replaceViews(std::vector<QWidget*> views)
{
    std::erase(views, nullptr);
    for (const QPointer<QWidget>& old : views_) {
        if (!old || std::find(views.begin(), views.end(), old.data()) != views.end())
            continue;
        unwatch(old);
        old->setProperty(CustomSpacingProperty, QVariant());
        std::erase(visibleViews_, old.data());
        old->setParent(nullptr);
    }
    std::vector<QPointer<QWidget>> arranged;
    for (QWidget* view : views) {
        if (!isArranged(view))
            watch(view);
        arranged.emplace_back(view);
    }
    views_ = std::move(arranged);
    computeVisibleViews();
}

void PTStackView::watch(QWidget* view)
{
    if (view->parentWidget() != this) {
        const bool hidden = explicitlyHidden(view);
        view->setParent(this);
        if (!hidden)
            view->show();
    } else if (!explicitlyHidden(view) && view->isHidden()) {
        // Made after the stack was shown; shown with it unless someone hid it.
        view->show();
    }
    view->installEventFilter(this);
    connect(view, &QObject::destroyed, this, [this, view] {
        std::erase(visibleViews_, view);
        std::erase_if(views_, [view](const QPointer<QWidget>& v) { return !v || v.data() == view; });
        relayout();
    });
    const int frameSignal = view->metaObject()->indexOfSignal("frameChanged()");
    if (frameSignal >= 0)
        connect(view, view->metaObject()->method(frameSignal), this,
                metaObject()->method(metaObject()->indexOfSlot("arrangedFrameChanged()")));
}

void PTStackView::unwatch(QWidget* view)
{
    view->removeEventFilter(this);
    disconnect(view, nullptr, this, nullptr);
}

void PTStackView::setCustomSpacing(qreal spacing, QWidget* view)
{
    if (!view)
        return;
    view->setProperty(CustomSpacingProperty, spacing);
    relayout();
}

std::optional<qreal> PTStackView::spacingForView(const QWidget* view) const
{
    const QVariant value = view ? view->property(CustomSpacingProperty) : QVariant();
    if (!value.isValid())
        return std::nullopt;
    // Stored as the platform stored it: single precision.
    return static_cast<qreal>(value.toFloat());
}

void PTStackView::setSpacerView(QWidget* prototype)
{
    if (spacerView_ == prototype)
        return;
    delete spacerView_;
    Q_ASSERT(!prototype || dynamic_cast<PTViewCopying*>(prototype));
    spacerView_ = prototype;
    if (prototype) {
        prototype->setParent(this);
        prototype->hide();
    }
    // Copies of the old prototype go; the next pass makes new ones.
    clearSeparators();
    visibleViews_.clear();
    computeVisibleViews();
}

void PTStackView::clearSeparators()
{
    qDeleteAll(separators_);
    separators_.clear();
}

void PTStackView::setContentInsets(const QMarginsF& insets)
{
    contentInsets_ = insets;
    relayout();
}

void PTStackView::setGutterInsets(const QMarginsF& insets)
{
    gutterInsets_ = insets;
    relayout();
}

void PTStackView::setAlignment(int alignment)
{
    if (alignment < PTStackLayout::Fill || alignment > PTStackLayout::Centre) {
        qCWarning(lcUi) << "stack view alignment" << alignment << "refused";
        return;
    }
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    relayout();
}

void PTStackView::setMinHeight(qreal height)
{
    minHeight_ = height;
    relayout();
}

void PTStackView::setGutterView(QWidget* view, PTStackLayout::Gutter edge, int mode)
{
    QWidget* previous = gutterViews_[edge];
    if (previous && previous != view) {
        unwatch(previous);
        previous->setParent(nullptr);
    }
    gutterViews_[edge] = view;
    gutterModes_[edge] = std::clamp(mode, int(PTStackLayout::Fill), int(PTStackLayout::Centre));
    if (view && view != previous)
        watch(view);
    relayout();
}

QWidget* PTStackView::gutterView(PTStackLayout::Gutter edge, int* mode) const
{
    if (mode)
        *mode = gutterModes_[edge];
    return gutterViews_[edge];
}

bool PTStackView::isGutterView(const QWidget* view) const
{
    return view && std::find(gutterViews_.begin(), gutterViews_.end(), view) != gutterViews_.end();
}

QMarginsF PTStackView::computeContentEdgeInsets() const
{
    PTStackLayout::Input input;
    input.gutterInsets = gutterInsets_;
    for (int edge = 0; edge < 4; ++edge)
        if (gutterViews_[edge] && !gutterViews_[edge]->isHidden())
            input.gutters[edge] = PTStackLayout::GutterView{gutterViews_[edge]->size(), gutterModes_[edge]};
    return contentInsets_ + PTStackLayout::gutterMargins(input);
}

void PTStackView::setBackgroundColor(const QColor& color)
{
    backgroundColor_ = color;
    update();
}

void PTStackView::computeVisibleViews()
{
    std::vector<QWidget*> collected;
    for (const QPointer<QWidget>& view : views_)
        if (view && !view->isHidden())
            collected.push_back(view);
    const bool separatorsWanted = spacerView_ && collected.size() > 1;
    const bool separatorsStale = separatorsWanted ? separators_.size() != collected.size() - 1 : !separators_.empty();
    // The same views in the same order: nothing to do (a new order is laid out at once).
    if (collected == visibleViews_ && !separatorsStale)
        return;
    visibleViews_ = std::move(collected);

    std::vector<QWidget*> pool = std::move(separators_);
    separators_.clear();
    const std::size_t needed = separatorsWanted ? visibleViews_.size() - 1 : 0;
    auto next = pool.begin();
    for (std::size_t i = 0; i < needed; ++i) {
        QWidget* separator = nullptr;
        if (next != pool.end()) {
            separator = *next++;
        } else {
            separator = dynamic_cast<PTViewCopying*>(spacerView_.data())->copyView();
            separator->setParent(this);
            separator->show();
        }
        separators_.push_back(separator);
    }
    for (; next != pool.end(); ++next)
        delete *next;
    relayout();
}

void PTStackView::relayout()
{
    if (!layingOut_)
        runLayout();
}

void PTStackView::relayoutAndPropagateFrameChange()
{
    relayout();
    if (PTStackView* outer = enclosingStack())
        outer->relayoutAndPropagateFrameChange();
}

PTStackView* PTStackView::enclosingStack() const
{
    for (QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget())
        if (auto* stack = qobject_cast<PTStackView*>(ancestor))
            return stack;
    return nullptr;
}

void PTStackView::runLayout()
{
    layingOut_ = true;
    ++passes_;
    const QRect before = geometry();

    PTStackLayout::Input input;
    input.width = width();
    input.spacing = spacing_;
    input.contentInsets = contentInsets_;
    input.gutterInsets = gutterInsets_;
    input.alignment = static_cast<PTStackLayout::Alignment>(alignment_);
    input.minHeight = minHeight_;
    for (int edge = 0; edge < 4; ++edge)
        if (gutterViews_[edge] && !gutterViews_[edge]->isHidden())
            input.gutters[edge] = PTStackLayout::GutterView{gutterViews_[edge]->size(), gutterModes_[edge]};
    for (QWidget* separator : separators_)
        input.separatorHeights.push_back(separator->height());

    PTStackLayout::Result result;
    // A nested stack given a new width re-lays itself out and may change height; measure again until the
    // heights hold.
    for (int measure = 0; measure < MaxMeasurePasses; ++measure) {
        input.items.clear();
        for (QWidget* view : visibleViews_)
            input.items.push_back({view->size(), spacingForView(view)});
        result = PTStackLayout::compute(input);
        bool settled = true;
        for (std::size_t i = 0; i < visibleViews_.size(); ++i) {
            QWidget* view = visibleViews_[i];
            setGeometryOf(view, result.items[i]);
            settled = settled && view->height() == result.items[i].height();
        }
        if (settled)
            break;
    }
    for (std::size_t i = 0; i < visibleViews_.size(); ++i)
        if (auto* subview = dynamic_cast<PTStackViewSubview*>(visibleViews_[i]))
            subview->setSubviewIsAlternate(this, i % 2 == 1);
    for (std::size_t i = 0; i < separators_.size() && i < result.separators.size(); ++i) {
        setGeometryOf(separators_[i], result.separators[i]);
        if (spacerViewHandler_)
            spacerViewHandler_(separators_[i], visibleViews_[i], static_cast<int>(i));
    }

    const QRect frame(pos(), QSize(width(), static_cast<int>(std::ceil(result.height))));
    if (frame != geometry()) {
        ++geometrySets_;
        setGeometry(frame);
    }
    for (int edge = 0; edge < 4; ++edge)
        if (result.gutters[edge])
            setGeometryOf(gutterViews_[edge], *result.gutters[edge]);

    if (autoresizesWindow_)
        resizeWindow();
    if (autoresizesSuperview_ && parentWidget()) {
        parentWidget()->resize(size());
        move(0, 0);
    }
    if (didLayoutHandler_)
        didLayoutHandler_(geometry());
    layingOut_ = false;
    if (geometry() != before)
        Q_EMIT frameChanged();
}

void PTStackView::setGeometryOf(QWidget* view, const QRect& rect)
{
    if (view->geometry() == rect)
        return;
    ++geometrySets_;
    const int oldWidth = view->width();
    view->setGeometry(rect);
    // A hidden window gets no resize events; a nested stack must still follow its new width.
    if (!view->isVisible() && view->width() != oldWidth)
        if (auto* stack = qobject_cast<PTStackView*>(view))
            stack->relayout();
}

void PTStackView::resizeWindow()
{
    QWidget* window = this->window();
    if (window == this)
        return;
    const QPoint offset = mapTo(window, QPoint(0, 0));
    const QSize size(offset.x() + width(), offset.y() + height());
    // Qt keeps a window's top-left corner when it grows, so the top edge stays.
    if (window->minimumSize() != size || window->maximumSize() != size || window->size() != size)
        window->setFixedSize(size);
}

void PTStackView::arrangedFrameChanged()
{
    if (auto* view = qobject_cast<QWidget*>(sender()))
        arrangedViewMoved(view);
}

void PTStackView::arrangedViewMoved(QWidget* view)
{
    Q_UNUSED(view);
    if (layingOut_)
        return;
    if (window()->isVisible())
        scheduleRelayout();
    else
        relayout();
}

void PTStackView::scheduleRelayout()
{
    if (relayoutScheduled_)
        return;
    relayoutScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            relayoutScheduled_ = false;
            relayout();
        },
        Qt::QueuedConnection);
}

bool PTStackView::eventFilter(QObject* watched, QEvent* event)
{
    if (layingOut_ || !watched->isWidgetType())
        return false;
    auto* view = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
        if (isGutterView(view))
            relayout();
        else
            arrangedViewMoved(view);
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (isGutterView(view))
            relayout();
        else
            computeVisibleViews();
        break;
    default:
        break;
    }
    return false;
}

void PTStackView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    if (!backgroundColor_.isValid())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColor_);
}

void PTStackView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (layingOut_)
        return;
    // Resized from outside (by its window or an enclosing layout): lay out for the new width; the window is not
    // resized back from here.
    const bool resizesWindow = std::exchange(autoresizesWindow_, false);
    relayout();
    autoresizesWindow_ = resizesWindow;
}

void PTStackView::mousePressEvent(QMouseEvent* event)
{
    if (eventHandler_ && eventHandler_(event))
        return;
    QWidget::mousePressEvent(event);
}

void PTStackView::mouseReleaseEvent(QMouseEvent* event)
{
    if (eventHandler_ && eventHandler_(event))
        return;
    QWidget::mouseReleaseEvent(event);
}
