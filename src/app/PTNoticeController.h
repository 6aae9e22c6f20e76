#pragma once

#include "ui/views/PTPopover.h"
#include "ui/views/PTStackView.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QVector>

class PTNotice;
class QWidget;

// The notices of the toolbar's notices button: the list, the count of those that can show, and the popover
// that lists them. It starts with the persistent update notice, which shows once an update was found.
class PTNoticeController : public QObject {
    Q_OBJECT
public:
    static inline const QString UpdateTitle = QStringLiteral("A new version of Pictern is available!");
    static inline const QString UpdateMessage =
        QStringLiteral("There is a new version of the Pictern available, click here to update.");
    static inline const QString UpdateMessageWithVersion =
        QStringLiteral("Pictern %1 (%2) is now available to download, click here to upgrade.");

    static PTNoticeController& sharedController();
    PTNoticeController();
    ~PTNoticeController() override;

    // Takes the notice; a persistent one is listed only while it can display.
    void addNotice(PTNotice* notice);
    QVector<PTNotice*> notices() const { return notices_; }
    bool hasNotices() const { return count_ > 0; }
    int noticesCount() const { return count_; }

    void showPopoverRelativeToRect(const QRect& rect, QWidget* view, Qt::Edge edge);
    // The open popover, or null.
    PTPopover* popover() const { return popover_; }

signals:
    void noticesCountChanged(int count);

private:
    void noticeChanged();
    void computeViews();

    QVector<PTNotice*> notices_;
    int count_ = 0;
    QPointer<PTPopover> popover_;
    QPointer<PTStackView> stackView_;
};
