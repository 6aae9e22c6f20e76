#include "ui/views/PTPageControllerView.h"

#include "platform/ui/AnimationTiming.h"

#include <QEasingCurve>
#include <QVariantAnimation>

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
    const bool firstPage = !showsPage_;
    const Direction direction = firstPage                                    ? Direction::None
                                : selectedIndex_ < index                     ? Direction::FromRight
                                                                             : Direction::FromLeft;
    QWidget* from = currentPage();
    selectedIndex_ = index;
    showsPage_ = true;
    QWidget* to = pages_[index];
    Q_EMIT willTransition(from, to, direction);

    if (animation_)
        animation_->stop();
    // A slide cut short leaves only the page it came from.
    for (const QPointer<QWidget>& page : pages_)
        if (page && page != to && page != from)
            page->hide();
    to->setGeometry(rect());
    to->show();
    to->raise();
    const int duration = firstPage ? 0 : pt::AnimationTiming::duration(static_cast<int>(transitionDuration_ * 1000));
    if (duration <= 0) {
        finishTransition(to, from);
        return;
    }
    const int sign = direction == Direction::FromRight ? 1 : -1;
    auto* animation = new QVariantAnimation(this);
    animation_ = animation;
    animation->setDuration(duration);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    connect(animation, &QVariantAnimation::valueChanged, this, [this, to, from, sign](const QVariant& value) {
        const int offset = static_cast<int>(width() * (1.0 - value.toDouble()));
        to->move(sign * offset, 0);
        if (from)
            from->move(sign * (offset - width()), 0);
    });
    connect(animation, &QVariantAnimation::finished, this, [this, to, from] { finishTransition(to, from); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void PTPageControllerView::finishTransition(QWidget* to, QWidget* from)
{
    if (from && from != to)
        from->hide();
    to->setGeometry(rect());
    Q_EMIT didTransition(to, from);
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
