#pragma once

#include "library/upkeep/PTFSEvent.h"
#include "platform/runtime/DispatchQueue.h"

#include <QHash>
#include <QList>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <map>
#include <mutex>

// Collects changed icon files from file-system events and hands them, 0.3 s after the last change, to the
// handlers whose mask meets the mask the files were collected under (changed files are collected under mask 1).
class PTFSEventHandlerController : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QList<QUrl>& urls)>;
    static constexpr quint64 ChangedFilesMask = 1;
    static constexpr int CoalescingMs = 300;
    static inline const QString QueueLabel = QStringLiteral("com.pictern.fshandler.queue");

    static PTFSEventHandlerController& sharedController();
    PTFSEventHandlerController();

    // Answers the handler's identifier.
    QString registerEventHandler(Handler handler, quint64 mask);
    void removeEventHandlerWithID(const QString& identifier);

    // Takes the modified files of the event: each one that is not a folder and that the importer would accept
    // as one file is collected; the handlers hear of them when changes have settled.
    void handleFSEvent(const PTFSEvent& event);
    void beginObservation() {}
    // Drops what was collected and the pending delivery.
    void endObservation();

private:
    void processChangedFiles(const QStringList& paths);
    void deliver();

    struct Registration {
        Handler handler;
        quint64 mask;
    };
    std::map<QString, Registration> handlers_;
    pt::DispatchQueue queue_;
    std::mutex collectedMutex_;
    std::map<quint64, QList<QUrl>> collected_;
    QTimer timer_;
};
