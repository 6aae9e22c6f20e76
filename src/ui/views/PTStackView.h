#pragma once

#include "ui/views/PTStackLayout.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QMouseEvent;

// The vertical layout container of the interface. It stacks its arranged views from the top down at their own
// heights (see PTStackLayout), takes the height its contents need, and can resize its parent or its window to
// match. It watches its arranged and gutter views: hiding, showing or resizing one re-lays out the stack and
// every stack around it. Hidden arranged views stay children of the stack, out of the layout.
class PTStackView : public QWidget {
    Q_OBJECT
public:
    using DidLayoutHandler = std::function<void(const QRect& frame)>;
    using EventHandler = std::function<bool(QMouseEvent* event)>;
    using SpacerViewHandler = std::function<void(QWidget* separator, QWidget* viewAbove, int gap)>;

    explicit PTStackView(QWidget* parent = nullptr);
    ~PTStackView() override;

    // The arranged views, hidden ones included. A new view becomes a child of the stack; a view that leaves it
    // leaves the stack too (its owner is the caller then).
    const std::vector<QPointer<QWidget>>& views() const { return views_; }
    void setViews(const std::vector<QWidget*>& views);
    void addView(QWidget* view);
    void addViews(const std::vector<QWidget*>& views);
    // Moves the view there when it is already arranged.
    void insertView(QWidget* view, int index);
    void moveView(QWidget* view, int index);
    void removeView(QWidget* view);
    void removeViews(const std::vector<QWidget*>& views);
    bool isArranged(const QWidget* view) const;

    // The gap after the view in place of the spacing; cleared when the view leaves the stack.
    void setCustomSpacing(qreal spacing, QWidget* view);
    std::optional<qreal> spacingForView(const QWidget* view) const;

    qreal spacing() const { return spacing_; }
    // Takes effect at the next layout.
    void setSpacing(qreal spacing) { spacing_ = spacing; }
    // The separator prototype (a PTViewCopying widget the stack keeps), or null for none.
    QWidget* spacerView() const { return spacerView_; }
    void setSpacerView(QWidget* prototype);
    void setSpacerViewHandler(SpacerViewHandler handler) { spacerViewHandler_ = std::move(handler); }

    QMarginsF contentInsets() const { return contentInsets_; }
    void setContentInsets(const QMarginsF& insets);
    QMarginsF gutterInsets() const { return gutterInsets_; }
    void setGutterInsets(const QMarginsF& insets);
    int alignment() const { return alignment_; }
    // Values outside 0-3 are refused.
    void setAlignment(int alignment);
    qreal minHeight() const { return minHeight_; }
    void setMinHeight(qreal height);

    // A view pinned in an edge gutter (PTStackLayout::Gutter) with a mode; null removes it.
    void setGutterView(QWidget* view, PTStackLayout::Gutter edge, int mode);
    QWidget* gutterView(PTStackLayout::Gutter edge, int* mode = nullptr) const;
    bool isGutterView(const QWidget* view) const;
    // The content insets plus the room the gutter views take.
    QMarginsF computeContentEdgeInsets() const;

    void setAutoresizesSuperview(bool resizes) { autoresizesSuperview_ = resizes; }
    // The window takes the stack's size and cannot be resized by hand; its top edge stays.
    void setAutoresizesWindow(bool resizes) { autoresizesWindow_ = resizes; }
    void setBackgroundColor(const QColor& color);
    void setDidLayoutHandler(DidLayoutHandler handler) { didLayoutHandler_ = std::move(handler); }
    // Mouse presses and releases go to the handler first; answering true consumes them.
    void setEventHandler(EventHandler handler) { eventHandler_ = std::move(handler); }

    // Lays out now unless a pass is running.
    void relayout();
    // Lays out, then lets the enclosing stack lay out too.
    void relayoutAndPropagateFrameChange();

    // Counters of work done, for tests and benchmarks.
    int layoutPassCount() const { return passes_; }
    int geometrySetCount() const { return geometrySets_; }

Q_SIGNALS:
    // The stack changed its own geometry in a pass; enclosing stacks follow it even while hidden.
    void frameChanged();

private Q_SLOTS:
    void arrangedFrameChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void replaceViews(std::vector<QWidget*> views);
    void watch(QWidget* view);
    void unwatch(QWidget* view);
    void computeVisibleViews();
    void runLayout();
    void arrangedViewMoved(QWidget* view);
    void scheduleRelayout();
    void setGeometryOf(QWidget* view, const QRect& rect);
    void resizeWindow();
    PTStackView* enclosingStack() const;
    void clearSeparators();

    std::vector<QPointer<QWidget>> views_;
    std::vector<QWidget*> visibleViews_;
    std::vector<QWidget*> separators_;
    QPointer<QWidget> spacerView_;
    std::array<QPointer<QWidget>, 4> gutterViews_;
    std::array<int, 4> gutterModes_{};
    qreal spacing_ = 1.0;
    QMarginsF contentInsets_;
    QMarginsF gutterInsets_;
    int alignment_ = PTStackLayout::Fill;
    qreal minHeight_ = 0;
    bool autoresizesSuperview_ = false;
    bool autoresizesWindow_ = false;
    QColor backgroundColor_;
    DidLayoutHandler didLayoutHandler_;
    EventHandler eventHandler_;
    SpacerViewHandler spacerViewHandler_;
    bool layingOut_ = false;
    bool relayoutScheduled_ = false;
    int passes_ = 0;
    int geometrySets_ = 0;
};
