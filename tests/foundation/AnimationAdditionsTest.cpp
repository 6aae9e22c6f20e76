#include "foundation/AnimationAdditions.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct Recorder : AnimationAdditions::ProgressDelegate {
    std::vector<std::pair<float, float>> steps; // value, progress
    float pendingValue = NAN;
    void animationDidGetNewValue(AnimationAdditions&, float value) override { pendingValue = value; }
    void animationDidProgress(AnimationAdditions&, float progress) override { steps.push_back({pendingValue, progress}); }
};

} // namespace

TEST(AnimationAdditionsTest, TellsTheValueBetweenFromAndToThenTheProgress)
{
    const struct {
        float from, to, progress, value, clamped;
    } cases[] = {
        {10, 20, 0.5f, 15, 0.5f},   // rising values start at `from`
        {20, 10, 0.25f, 17.5f, 0.25f},
        {-4, 4, 1.5f, 4, 1},        // progress beyond the end stays at the end
        {3, 7, NAN, 3, 0},
    };
    for (const auto& c : cases) {
        Recorder recorder;
        AnimationAdditions animation(100);
        animation.setProgressDelegate(&recorder);
        animation.setFromValue(c.from, c.to);
        animation.setCurrentProgress(c.progress);
        ASSERT_EQ(recorder.steps.size(), 1u);
        EXPECT_FLOAT_EQ(recorder.steps[0].first, c.value) << c.from << " to " << c.to;
        EXPECT_FLOAT_EQ(recorder.steps[0].second, c.clamped);
    }
}

TEST(AnimationAdditionsTest, RunningReachesTheEndAndADelegateMayHearOnlyProgress)
{
    Recorder recorder;
    AnimationAdditions animation(60);
    animation.setProgressDelegate(&recorder);
    animation.setFromValue(1, 0);
    animation.start();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return animation.state() == QAbstractAnimation::Stopped; }));
    ASSERT_GE(recorder.steps.size(), 2u);
    for (size_t i = 1; i < recorder.steps.size(); ++i)
        EXPECT_GE(recorder.steps[i].second, recorder.steps[i - 1].second);
    EXPECT_FLOAT_EQ(recorder.steps.back().first, 0);
    EXPECT_FLOAT_EQ(recorder.steps.back().second, 1);

    // A delegate with neither call overridden is fine.
    AnimationAdditions::ProgressDelegate silent;
    animation.setProgressDelegate(&silent);
    animation.setCurrentProgress(0.5f);
    EXPECT_FLOAT_EQ(animation.currentProgress(), 0.5f);
}
