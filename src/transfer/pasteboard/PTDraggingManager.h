#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWidget>

class QTimer;

// Follows a drag of icons out of a window and, when the preference "PTPreferencesHideWindowOnDrag" is on or Ctrl
// is held, hides that window once the pointer has left the tolerance square around the start, at most once per
// drag. The end of the drag shows it again with the keys, whatever became of the drop: the desktop has no dock
// from which a hidden window could be brought back. Main thread only.
class PTDraggingManager : public QObject {
public:
    // How often the pointer is read while a drag runs its own event loop.
    static constexpr int PollIntervalMs = 16;

    static PTDraggingManager& sharedManager();

    // Points, along either axis.
    double tolerance = 15;

    // Whether the point lies strictly farther than the tolerance from the start horizontally or vertically.
    static bool isBeyondTolerance(QPointF start, QPointF point, double tolerance);
    // Whether windows are hidden during drags here: X11 alone tells the pointer's position while one runs.
    static bool canFollowPointer();

    // A drag has started at the point (global coordinates); reads the preference.
    void begin(QPointF point);
    // The drag has moved to the point, its source in the window that would be hidden.
    void move(QPointF point, QWidget* source, Qt::KeyboardModifiers modifiers);
    // Reads the pointer and the modifiers every PollIntervalMs until end(), feeding move().
    void followPointer(QWidget* source);
    // Stops following the pointer and brings back the window the drag hid.
    void end();

    bool isHandled() const { return handled_; }

private:
    PTDraggingManager() = default;
    void poll();

    QPointF start_;
    bool handled_ = false;
    bool hideOnDrag_ = false;
    QPointer<QWidget> source_;
    QPointer<QWidget> hidden_;
    QTimer* timer_ = nullptr;
};
