#include "foundation/AnimationAdditions.h"

#include <algorithm>
#include <cmath>

void AnimationAdditions::ProgressDelegate::animationDidGetNewValue(AnimationAdditions&, float) {}

void AnimationAdditions::ProgressDelegate::animationDidProgress(AnimationAdditions&, float) {}

AnimationAdditions::AnimationAdditions(int durationMs, QObject* parent)
    : QAbstractAnimation(parent), duration_(std::max(0, durationMs))
{
}

void AnimationAdditions::setFromValue(float from, float to)
{
    from_ = from;
    to_ = to;
}

void AnimationAdditions::setCurrentProgress(float progress)
{
    progress_ = std::isnan(progress) ? 0.0f : std::clamp(progress, 0.0f, 1.0f);
    if (!delegate_)
        return;
    // The value moves from `from` towards `to`, whichever of the two is greater.
    delegate_->animationDidGetNewValue(*this, from_ + (to_ - from_) * progress_);
    delegate_->animationDidProgress(*this, progress_);
}

void AnimationAdditions::updateCurrentTime(int currentTime)
{
    setCurrentProgress(duration_ > 0 ? float(currentTime) / float(duration_) : 1.0f);
}
