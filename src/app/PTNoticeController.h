#pragma once

#include "app/PTNotice.h"
#include "ui/views/PTPopover.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QVector>

class PTUpdateController;
class QWidget;

// The notices of the toolbar's notices button: the list, the count of those that can show, and the popover
// that lists them. It starts with two persistent notices: the design-application plug-in's, which shows while the
// installed plug-in is older than the carried one, and the update notice, which shows once an update was found.
// Notices the desktop did not show (no notification server) join the list until the user clicks them away.
class PTNoticeController : public QObject {
    Q_OBJECT
public:
    static inline const QString UpdateTitle = QStringLiteral("A new version of Pictern is available!");
    static inline const QString UpdateMessage =
        QStringLiteral("There is a new version of the Pictern available, click here to update.");
    static inline const QString UpdateMessageWithVersion =
        QStringLiteral("Pictern %1 (%2) is now available to download, click here to upgrade.");
    static inline const QString SketchPluginTitle = QStringLiteral("Sketch Plugin Update");
    static inline const QString SketchPluginMessage =
        QStringLiteral("There is a new version of the Sketch plugin available.");

    static PTNoticeController& sharedController();
    // The update notice follows the given update controller, the shared one by default.
    PTNoticeController();
    explicit PTNoticeController(PTUpdateController& updates);
    ~PTNoticeController() override;

    // Takes the notice; a persistent one is listed only while it can display.
    void addNotice(PTNotice* notice);
    // Lists a notice of the text with Pictern's icon, which a click removes; noticePosted() announces it.
    PTNotice* postNotice(const QString& title, const QString& message);
    // Drops the notice from the list and deletes it.
    void removeNotice(PTNotice* notice);
    QVector<PTNotice*> notices() const { return notices_; }
    bool hasNotices() const { return count_ > 0; }
    int noticesCount() const { return count_; }

    // A passive showing (of a notice that just arrived) neither takes the focus nor grabs the mouse and closes by
    // itself after a while; it is left alone when the popover is already up, and replaced by the user's showing.
    void showPopoverRelativeToRect(const QRect& rect, QWidget* view, Qt::Edge edge, bool passive = false);
    // The open popover, or null.
    PTPopover* popover() const { return popover_; }

signals:
    void noticesCountChanged(int count);
    // A notice of postNotice() joined the list: the window shows the list so that it is read.
    void noticePosted(PTNotice* notice);

private:
    void noticeChanged();
    void computeViews();

    QVector<PTNotice*> notices_;
    int count_ = 0;
    QPointer<PTPopover> popover_;
    bool passive_ = false;
    // The popover's list of notice panels.
    QPointer<QWidget> list_;
};
