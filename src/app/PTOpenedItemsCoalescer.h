#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QUrl>

#include <functional>

// Collects opened files for a short while so that a burst (a selection opened from the file manager, arguments
// of a launch) reaches the handler as one batch: each new file restarts the wait, duplicates are dropped and the
// order is kept. Other URLs (the application's own scheme) are handed over at once. Main thread.
class PTOpenedItemsCoalescer : public QObject {
    Q_OBJECT
public:
    static constexpr int DelayMs = 200;
    using Handler = std::function<void(const QList<QUrl>& urls)>;

    // Without a handler the batches go to the installed PTOpenedItemsSink.
    explicit PTOpenedItemsCoalescer(Handler handler = {}, QObject* parent = nullptr);

    // URI strings or paths as a launch passes them; relative paths are taken against the folder. Unparsable and
    // non-local file URIs are logged and dropped.
    void openArguments(const QStringList& arguments, const QString& workingDirectory);
    void open(const QList<QUrl>& urls);

private:
    void flush();
    void deliver(const QList<QUrl>& urls);

    Handler handler_;
    QList<QUrl> files_;
    // The files of files_, so that each new one is checked against a burst of any size at once.
    QSet<QUrl> seen_;
    QTimer timer_;
};
