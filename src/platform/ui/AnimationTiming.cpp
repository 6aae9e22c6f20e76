#include "platform/ui/AnimationTiming.h"

#include <atomic>
#include <cmath>

namespace pt {

namespace {
std::atomic<double> animationScale{1.0};
} // namespace

void AnimationTiming::setScale(double scale)
{
    animationScale = scale < 0 ? 0 : scale;
}

double AnimationTiming::scale()
{
    return animationScale;
}

int AnimationTiming::duration(int milliseconds)
{
    return static_cast<int>(std::lround(milliseconds * animationScale.load()));
}

} // namespace pt
