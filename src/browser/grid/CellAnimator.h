#pragma once

#include <QEasingCurve>
#include <QHash>
#include <QPointF>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class GridClock;
class PTGridViewCell;

// The animations of grid cells. Each is a record (property, from, to, start, duration, easing, fill, removal,
// completion); what a cell shows is its record evaluated at the clock's now, its model value without one.
// Animations added while a transaction is open belong to it, and the transaction's completion runs once all of
// them have ended or been removed. A Qt animation drives the frames, and runs only while an animation does.
class CellAnimator {
public:
    enum Property { Scale, Position, Opacity };
    struct Animation {
        Property property = Scale;
        QPointF from; // scale and opacity in x
        QPointF to;
        double duration = 0; // 0: the transaction's duration
        QEasingCurve easing = timingFunction();
        // Kept at its end value once over, until removed.
        bool fillForwards = true;
        bool removedOnCompletion = true;
        std::function<void()> completion;
    };

    // Frame asks the grid for a repaint on each tick.
    CellAnimator(GridClock& clock, std::function<void()> frame);
    ~CellAnimator();

    // 0.52 s, through the interface kit's timing factor.
    static double animationTime();
    static QEasingCurve timingFunction();
    GridClock& clock() const { return clock_; }

    // Transactions nest; duration applies to animations that name none.
    void begin(double duration, std::function<void()> completion = {});
    void commit();

    // Replaces (and so ends) an animation of the same property.
    void add(PTGridViewCell* cell, Animation animation);
    bool has(const PTGridViewCell* cell, Property property) const;
    // The value the cell shows now, nothing without an animation of the property.
    std::optional<QPointF> presentation(const PTGridViewCell* cell, Property property) const;
    void remove(PTGridViewCell* cell, Property property);
    void removeAll(PTGridViewCell* cell);
    bool isAnimating(const PTGridViewCell* cell) const { return records_.contains(cell); }
    // Whether an animation is still under way.
    bool running() const;

    // Forwards shrinks the cell away and keeps it at scale 0 until removed; backwards grows it in. A cell caught
    // in a scale animation starts from the scale it shows.
    void applyScale(PTGridViewCell* cell, bool forwards);
    // Glides the cell from where it shows to the frame origin; an interrupted glide goes on from where it is.
    // The caller sets the cell's frame to the target.
    void applyPosition(PTGridViewCell* cell, const QPointF& origin);

    // Ends what is over at the clock's now: completions, removals, transactions.
    void tick();

private:
    struct Transaction;
    struct Record {
        Animation animation;
        double start = 0;
        bool ended = false;
        std::vector<std::shared_ptr<Transaction>> transactions;
    };
    class Driver;

    void finish(Record& record);
    void startDriver();

    GridClock& clock_;
    std::function<void()> frame_;
    QHash<const PTGridViewCell*, std::vector<Record>> records_;
    std::vector<std::shared_ptr<Transaction>> open_;
    std::unique_ptr<Driver> driver_;
};
