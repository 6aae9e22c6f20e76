#pragma once

#include <QObject>

#include <memory>

namespace pt {

class ReduceTransparencySource;

// The desktop's wish for less transparency, which views read each time they draw. The shared display follows
// the desktop portal's contrast setting on the session bus; a test gives it a source of its own.
class AccessibilityDisplay : public QObject {
    Q_OBJECT
public:
    // Made on first use.
    static AccessibilityDisplay& shared();
    // shared().reduceTransparency().
    static bool shouldReduceTransparency();

    explicit AccessibilityDisplay(std::unique_ptr<ReduceTransparencySource> source, QObject* parent = nullptr);
    ~AccessibilityDisplay() override;

    // False until the source answers.
    bool reduceTransparency() const { return reduceTransparency_; }
    // Follows another source from now on and starts it; until it answers, transparency is not reduced.
    void setSource(std::unique_ptr<ReduceTransparencySource> source);

private:
    std::unique_ptr<ReduceTransparencySource> source_;
    bool reduceTransparency_ = false;
};

} // namespace pt
