#include "ui/views/PTPageControllerView.h"

#include "platform/ui/AnimationTiming.h"
#include "ui/views/PTPageControllerDelegate.h"

#include <QGraphicsOpacityEffect>
#include <QVariantAnimation>

#include <cmath>

PTPageControllerView::PTPageControllerView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Pages"));
}

void PTPageControllerView::setPages(const std::vector<QWidget*>& pages)
{
    for (const QPointer<QWidget>& page : pages_)
        if (page)
            page->hide();
    pages_.assign(pages.begin(), pages.end());
    for (QWidget* page : pages) {
        page->setParent(this);
        page->hide();
    }
    showsPage_ = false;
    selectedIndex_ = 0;
    setSelectedIndex(0);
}

QWidget* PTPageControllerView::currentPage() const
{
    return showsPage_ ? pages_[selectedIndex_].data() : nullptr;
}

void PTPageControllerView::setSelectedIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(pages_.size()))
        return;
    if (index == selectedIndex_ && showsPage_)
        return;
    // A change cut short ends where it was going, and its delegate hears that it is done.
    if (isAnimating())
        animation_->setCurrentTime(animation_->duration());

    const bool firstPage = !showsPage_;
    using Subtype = Transition::Subtype;
    Transition transition{Transition::Type::Push,
                          selectedIndex_ < index || (selectedIndex_ == 0 && index == 0) ? Subtype::FromRight
                                                                                        : Subtype::FromLeft};
    const int previousIndex = selectedIndex_;
    QWidget* from = currentPage();
    selectedIndex_ = index;
    showsPage_ = true;
    QWidget* to = pages_[index];
    if (delegate_)
        transition = delegate_->customTransition(this, pages_[previousIndex], to).value_or(transition);
    transition_ = transition;
    if (delegate_)
        delegate_->willTransition(this, from, to);

    // Only the two pages of the change are shown.
    for (const QPointer<QWidget>& page : pages_)
        if (page && page != to && page != from)
            page->hide();
    TransitionContext context{firstPage ? 0.0 : transitionDuration_};
    if (delegate_)
        delegate_->willStartTransition(this, context);
    to->show();
    if (transition.type == Transition::Type::Reveal && from)
        from->raise();
    else
        to->raise();
    const int duration = pt::AnimationTiming::duration(static_cast<int>(std::lround(context.duration * 1000)));
    if (duration <= 0) {
        finishTransition(to, from);
        return;
    }
    if (transition.type == Transition::Type::Fade)
        to->setGraphicsEffect(new QGraphicsOpacityEffect);
    layOut(to, from, 0);
    auto* animation = new QVariantAnimation(this);
    animation_ = animation;
    animation->setDuration(duration);
    animation->setEasingCurve(context.timingFunction);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    connect(animation, &QVariantAnimation::valueChanged, this,
            [this, to, from](const QVariant& value) { layOut(to, from, value.toDouble()); });
    connect(animation, &QVariantAnimation::finished, this, [this, to, from] { finishTransition(to, from); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void PTPageControllerView::layOut(QWidget* to, QWidget* from, double progress) const
{
    using Type = Transition::Type;
    using Subtype = Transition::Subtype;
    // Where the new page starts: one page away on the side it comes from.
    const QPointF side = transition_.subtype == Subtype::FromRight  ? QPointF(width(), 0)
                         : transition_.subtype == Subtype::FromLeft ? QPointF(-width(), 0)
                         : transition_.subtype == Subtype::FromTop  ? QPointF(0, -height())
                                                                    : QPointF(0, height());
    const bool toMoves = transition_.type == Type::Push || transition_.type == Type::MoveIn;
    const bool fromMoves = transition_.type == Type::Push || transition_.type == Type::Reveal;
    to->setGeometry(QRect((toMoves ? side * (1 - progress) : QPointF()).toPoint(), size()));
    if (auto* effect = qobject_cast<QGraphicsOpacityEffect*>(to->graphicsEffect()))
        effect->setOpacity(progress);
    if (from)
        from->move((fromMoves ? -side * progress : QPointF()).toPoint());
}

void PTPageControllerView::finishTransition(QWidget* to, QWidget* from)
{
    if (from && from != to) {
        from->hide();
        from->move(0, 0);
    }
    to->setGraphicsEffect(nullptr);
    to->setGeometry(rect());
    if (delegate_)
        delegate_->didTransition(this, to, from);
}

void PTPageControllerView::setSelectedPage(QWidget* page)
{
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i] == page)
            setSelectedIndex(static_cast<int>(i));
}

void PTPageControllerView::navigateForward()
{
    if (!isAnimating())
        setSelectedIndex(selectedIndex_ + 1);
}

void PTPageControllerView::navigateBack()
{
    if (!isAnimating())
        setSelectedIndex(selectedIndex_ - 1);
}

bool PTPageControllerView::isAnimating() const
{
    return animation_ && animation_->state() == QAbstractAnimation::Running;
}

void PTPageControllerView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (QWidget* page = currentPage(); page && !isAnimating())
        page->setGeometry(rect());
}
