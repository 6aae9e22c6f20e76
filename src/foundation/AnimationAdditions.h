#pragma once

#include <QAbstractAnimation>

// An animation that tells a delegate, at each step, the value between its from and to values and then the
// progress. Running, the progress goes linearly from 0 to 1 over the duration; it can also be set directly.
class AnimationAdditions : public QAbstractAnimation {
public:
    // Both calls are optional; the animation does not own its delegate.
    class ProgressDelegate {
    public:
        virtual ~ProgressDelegate() = default;
        virtual void animationDidGetNewValue(AnimationAdditions& animation, float value);
        virtual void animationDidProgress(AnimationAdditions& animation, float progress);
    };

    explicit AnimationAdditions(int durationMs, QObject* parent = nullptr);

    int duration() const override { return duration_; }
    ProgressDelegate* progressDelegate() const { return delegate_; }
    void setProgressDelegate(ProgressDelegate* delegate) { delegate_ = delegate; }
    float fromValue() const { return from_; }
    float toValue() const { return to_; }
    void setFromValue(float from, float to);
    float currentProgress() const { return progress_; }
    // Takes the progress (clamped to 0..1) and tells the delegate the value, then the progress.
    void setCurrentProgress(float progress);

protected:
    void updateCurrentTime(int currentTime) override;

private:
    int duration_;
    ProgressDelegate* delegate_ = nullptr;
    float from_ = 0;
    float to_ = 0;
    float progress_ = 0;
};
