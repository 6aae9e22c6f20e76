#pragma once

#include "library/upkeep/PTFSEvent.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QSocketNotifier;

// Watches one folder tree for changed files (inotify, sub-folders included, new ones followed) and hands the
// changes to its handler in batches, one second after the first change of a batch. Lives on the thread that made
// it; the handler runs there. Watching begins at start(), so only changes from then on are reported.
class PTFSObserver : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const PTFSEvent&)>;
    static constexpr int LatencyMs = 1000;
    // A tree with more folders than this is watched only in its first folders.
    static constexpr int MaximumWatches = 8192;

    // Answers a watcher that is not yet started, or null when the system refuses one.
    static std::unique_ptr<PTFSObserver> observePath(const QString& path, Handler handler);
    // Stops and releases the watcher.
    ~PTFSObserver() override;

    bool start();
    void stop();
    const QString& path() const { return path_; }

private:
    PTFSObserver(int fd, const QString& path, Handler handler);
    void addWatchesBelow(const QString& folder);
    void readEvents();
    void record(const QString& path, quint32 flags);
    void flush();

    int fd_;
    QString path_;
    Handler handler_;
    QSocketNotifier* notifier_ = nullptr;
    QHash<int, QString> folders_;
    QTimer latency_;
    PTFSEvent pending_;
    QHash<QString, qsizetype> pendingIndex_;
};
