#include "browser/grid/CellAnimator.h"

#include "browser/grid/GridClock.h"
#include "browser/grid/PTGridViewCell.h"
#include "platform/ui/AnimationTiming.h"

#include <QAbstractAnimation>

#include <algorithm>

namespace {

// Sums of clock steps are not exact; an animation this close to its end is over.
constexpr double kTimeTolerance = 1e-9;

} // namespace

struct CellAnimator::Transaction {
    double duration = 0;
    std::function<void()> completion;
    int pending = 0;
    bool committed = false;

    void settle()
    {
        if (committed && pending == 0 && completion)
            std::exchange(completion, {})();
    }
};

// Ticks the animator on every frame of Qt's animation timer.
class CellAnimator::Driver final : public QAbstractAnimation {
public:
    explicit Driver(CellAnimator& animator)
        : animator_(animator)
    {
    }
    int duration() const override { return -1; }

protected:
    void updateCurrentTime(int) override { animator_.tick(); }

private:
    CellAnimator& animator_;
};

CellAnimator::CellAnimator(GridClock& clock, std::function<void()> frame)
    : clock_(clock)
    , frame_(std::move(frame))
    , driver_(std::make_unique<Driver>(*this))
{
}

CellAnimator::~CellAnimator() = default;

double CellAnimator::animationTime()
{
    return pt::AnimationTiming::duration(520) / 1000.0;
}

QEasingCurve CellAnimator::timingFunction()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.25, 0.1), QPointF(0.25, 1), QPointF(1, 1));
    return curve;
}

void CellAnimator::begin(double duration, std::function<void()> completion)
{
    auto transaction = std::make_shared<Transaction>();
    transaction->duration = duration;
    transaction->completion = std::move(completion);
    open_.push_back(std::move(transaction));
}

void CellAnimator::commit()
{
    if (open_.empty())
        return;
    const std::shared_ptr<Transaction> transaction = open_.back();
    open_.pop_back();
    transaction->committed = true;
    transaction->settle();
}

void CellAnimator::add(PTGridViewCell* cell, Animation animation)
{
    remove(cell, animation.property);
    Record record;
    if (animation.duration <= 0)
        animation.duration = open_.empty() ? animationTime() : open_.back()->duration;
    record.animation = std::move(animation);
    record.start = clock_.now();
    record.transactions = open_;
    for (const auto& transaction : open_)
        ++transaction->pending;
    records_[cell].push_back(std::move(record));
    startDriver();
}

bool CellAnimator::has(const PTGridViewCell* cell, Property property) const
{
    const auto it = records_.constFind(cell);
    return it != records_.constEnd()
        && std::any_of(it->begin(), it->end(), [&](const Record& r) { return r.animation.property == property; });
}

std::optional<QPointF> CellAnimator::presentation(const PTGridViewCell* cell, Property property) const
{
    const auto it = records_.constFind(cell);
    if (it == records_.constEnd())
        return std::nullopt;
    for (const Record& record : *it) {
        const Animation& a = record.animation;
        if (a.property != property)
            continue;
        const double elapsed = clock_.now() - record.start + kTimeTolerance;
        if (elapsed >= a.duration && !a.fillForwards)
            return std::nullopt;
        const double progress = a.duration > 0 ? std::clamp(elapsed / a.duration, 0.0, 1.0) : 1.0;
        const qreal eased = a.easing.valueForProgress(progress);
        return a.from + (a.to - a.from) * eased;
    }
    return std::nullopt;
}

void CellAnimator::finish(Record& record)
{
    if (record.ended)
        return;
    record.ended = true;
    // A completion may remove the record itself (a transaction that ends drops its cells), so nothing of it is
    // touched once the callbacks start.
    const std::function<void()> completion = std::exchange(record.animation.completion, {});
    const std::vector<std::shared_ptr<Transaction>> transactions = std::exchange(record.transactions, {});
    if (completion)
        completion();
    for (const auto& transaction : transactions) {
        --transaction->pending;
        transaction->settle();
    }
}

void CellAnimator::remove(PTGridViewCell* cell, Property property)
{
    auto it = records_.find(cell);
    if (it == records_.end())
        return;
    std::vector<Record> removed;
    auto& list = *it;
    const auto split = std::stable_partition(list.begin(), list.end(),
                                             [&](const Record& r) { return r.animation.property != property; });
    std::move(split, list.end(), std::back_inserter(removed));
    list.erase(split, list.end());
    if (list.empty())
        records_.erase(it);
    for (Record& record : removed)
        finish(record);
}

void CellAnimator::removeAll(PTGridViewCell* cell)
{
    std::vector<Record> removed = records_.take(cell);
    for (Record& record : removed)
        finish(record);
}

bool CellAnimator::running() const
{
    for (const auto& list : records_)
        for (const Record& record : list)
            if (!record.ended)
                return true;
    return false;
}

void CellAnimator::tick()
{
    const double now = clock_.now();
    // Completions may add or remove animations: collect first, then finish.
    std::vector<std::pair<const PTGridViewCell*, Property>> due;
    for (auto it = records_.cbegin(); it != records_.cend(); ++it)
        for (const Record& record : it.value())
            if (!record.ended && now - record.start + kTimeTolerance >= record.animation.duration)
                due.emplace_back(it.key(), record.animation.property);
    for (const auto& [cell, property] : due) {
        auto it = records_.find(cell);
        if (it == records_.end())
            continue;
        auto record = std::find_if(it->begin(), it->end(), [&](const Record& r) { return r.animation.property == property; });
        if (record == it->end() || record->ended)
            continue;
        if (record->animation.removedOnCompletion) {
            Record taken = std::move(*record);
            it->erase(record);
            if (it->empty())
                records_.erase(it);
            finish(taken);
        } else {
            finish(*record);
        }
    }
    if (frame_)
        frame_();
    if (!running())
        driver_->stop();
}

void CellAnimator::applyScale(PTGridViewCell* cell, bool forwards)
{
    Animation animation;
    animation.property = Scale;
    animation.from = QPointF(forwards ? 1 : 0, 0);
    if (const std::optional<QPointF> current = presentation(cell, Scale)) {
        cell->setScale(current->x());
        animation.from = *current;
        remove(cell, Scale);
    }
    animation.to = QPointF(forwards ? 0 : 1, 0);
    animation.removedOnCompletion = !forwards;
    animation.completion = [cell] { cell->controllerDidAnimateCell(0); };
    cell->controllerWillAnimateCell(0);
    add(cell, std::move(animation));
}

void CellAnimator::applyPosition(PTGridViewCell* cell, const QPointF& origin)
{
    Animation animation;
    animation.property = Position;
    animation.from = presentation(cell, Position).value_or(cell->position());
    animation.to = PTGridViewCell::positionForFrame(QRectF(origin, cell->frame().size()));
    animation.duration = animationTime();
    animation.completion = [cell] { cell->controllerDidAnimateCell(1); };
    cell->controllerWillAnimateCell(1);
    add(cell, std::move(animation));
}

void CellAnimator::startDriver()
{
    if (driver_->state() != QAbstractAnimation::Running)
        driver_->start();
}
