#pragma once

#include <QEasingCurve>
#include <QPointer>
#include <QWidget>

#include <vector>

class PTPageControllerDelegate;
class QVariantAnimation;

// Shows one of several pages at a time and slides between them: by default a later page pushes in from the
// right, an earlier one (or the same one again) from the left. The first page appears without a slide. A
// delegate may replace the transition and adjust its timing.
class PTPageControllerView : public QWidget {
    Q_OBJECT
public:
    // How the new page replaces the old one, and the side it comes from (a fade comes from no side).
    struct Transition {
        enum class Type { Fade, MoveIn, Push, Reveal };
        enum class Subtype { FromRight, FromLeft, FromTop, FromBottom };
        Type type = Type::Push;
        Subtype subtype = Subtype::FromRight;
        bool operator==(const Transition&) const = default;
    };
    // The timing of one page change, which the delegate may adjust as it starts.
    struct TransitionContext {
        // Seconds, before the interface's animation scale.
        double duration = 0;
        QEasingCurve timingFunction{QEasingCurve::InOutQuad};
    };

    explicit PTPageControllerView(QWidget* parent = nullptr);

    // Not owned; it must outlive the view or be cleared first.
    void setDelegate(PTPageControllerDelegate* delegate) { delegate_ = delegate; }
    PTPageControllerDelegate* delegate() const { return delegate_; }
    // Keeps the pages and shows the first.
    void setPages(const std::vector<QWidget*>& pages);
    const std::vector<QPointer<QWidget>>& pages() const { return pages_; }
    int selectedIndex() const { return selectedIndex_; }
    // An index that names no page is ignored.
    void setSelectedIndex(int index);
    void setSelectedPage(QWidget* page);
    QWidget* currentPage() const;
    // Ignored while a slide runs.
    void navigateForward();
    void navigateBack();
    bool isAnimating() const;
    // Seconds, before the interface's animation scale.
    void setTransitionDuration(double seconds) { transitionDuration_ = seconds; }
    // The transition of the latest page change.
    const Transition& transition() const { return transition_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Places both pages at a point of the transition, 0 at its start and 1 at its end.
    void layOut(QWidget* to, QWidget* from, double progress) const;
    void finishTransition(QWidget* to, QWidget* from);

    std::vector<QPointer<QWidget>> pages_;
    int selectedIndex_ = 0;
    bool showsPage_ = false;
    double transitionDuration_ = 0.8;
    Transition transition_;
    PTPageControllerDelegate* delegate_ = nullptr;
    QPointer<QVariantAnimation> animation_;
};
