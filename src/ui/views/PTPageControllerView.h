#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

class QVariantAnimation;

// Shows one of several pages at a time and slides between them: a later page pushes in from the right, an
// earlier one (or the same one again) from the left. The first page appears without a slide.
class PTPageControllerView : public QWidget {
    Q_OBJECT
public:
    enum class Direction { None, FromRight, FromLeft };

    explicit PTPageControllerView(QWidget* parent = nullptr);

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

Q_SIGNALS:
    void willTransition(QWidget* from, QWidget* to, PTPageControllerView::Direction direction);
    void didTransition(QWidget* to, QWidget* from);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void finishTransition(QWidget* to, QWidget* from);

    std::vector<QPointer<QWidget>> pages_;
    int selectedIndex_ = 0;
    bool showsPage_ = false;
    double transitionDuration_ = 0.8;
    QPointer<QVariantAnimation> animation_;
};
