#pragma once

namespace pt {

// One factor for every interface animation, so that tests (factor 0) see the end state at once and a slow-motion
// setting could stretch them all.
class AnimationTiming {
public:
    static void setScale(double scale);
    static double scale();
    // The duration to use for an animation designed to last `milliseconds`.
    static int duration(int milliseconds);
};

} // namespace pt
