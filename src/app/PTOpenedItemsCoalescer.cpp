#include "app/PTOpenedItemsCoalescer.h"

#include "platform/runtime/Logging.h"
#include "transfer/import/PTOpenedItemsSink.h"

#include <QDir>

PTOpenedItemsCoalescer::PTOpenedItemsCoalescer(Handler handler, QObject* parent)
    : QObject(parent)
    , handler_(std::move(handler))
{
    timer_.setSingleShot(true);
    // A coarse timer may fire early; the wait is a promise to the user's burst.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(DelayMs);
    connect(&timer_, &QTimer::timeout, this, &PTOpenedItemsCoalescer::flush);
}

void PTOpenedItemsCoalescer::openArguments(const QStringList& arguments, const QString& workingDirectory)
{
    QList<QUrl> urls;
    for (const QString& argument : arguments) {
        const QUrl url = QUrl::fromUserInput(argument, workingDirectory, QUrl::AssumeLocalFile);
        if (!url.isValid() || url.scheme().isEmpty()) {
            qCWarning(lcApp) << "Dropping an opened item that is no URL:" << argument;
            continue;
        }
        urls.append(url);
    }
    open(urls);
}

void PTOpenedItemsCoalescer::open(const QList<QUrl>& urls)
{
    QList<QUrl> others;
    bool sawFile = false;
    for (const QUrl& url : urls) {
        if (!url.isValid()) {
            qCWarning(lcApp) << "Dropping an invalid opened URL:" << url.toString();
            continue;
        }
        if (url.scheme() != QLatin1String("file")) {
            others.append(url);
            continue;
        }
        // Qt takes file://host/path for a local (UNC) path; only this machine's files can be opened.
        if (!url.host().isEmpty() && url.host() != QLatin1String("localhost")) {
            qCWarning(lcApp) << "Dropping a file on another host:" << url.toString();
            continue;
        }
        const QUrl file = QUrl::fromLocalFile(QDir::cleanPath(url.toLocalFile()));
        sawFile = true;
        if (!seen_.contains(file)) {
            seen_.insert(file);
            files_.append(file);
        }
    }
    if (!others.isEmpty())
        deliver(others);
    // Every batch with files restarts the wait, so a burst is handed over together.
    if (sawFile)
        timer_.start();
}

void PTOpenedItemsCoalescer::flush()
{
    QList<QUrl> batch;
    batch.swap(files_);
    seen_.clear();
    if (!batch.isEmpty())
        deliver(batch);
}

void PTOpenedItemsCoalescer::deliver(const QList<QUrl>& urls)
{
    if (handler_)
        handler_(urls);
    else
        PTOpenedItemsSink::deliver(urls);
}
