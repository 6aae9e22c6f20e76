#include "library/upkeep/PTFSObserver.h"

#include "platform/runtime/Logging.h"

#include <QDir>
#include <QDirIterator>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <array>

namespace {

constexpr uint32_t WatchMask = IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
    | IN_DELETE_SELF | IN_ONLYDIR;

quint32 flagsFor(uint32_t mask)
{
    quint32 flags = (mask & IN_ISDIR) ? PTFSEvent::ItemIsDir : PTFSEvent::ItemIsFile;
    if (mask & (IN_MODIFY | IN_CLOSE_WRITE))
        flags |= PTFSEvent::ItemModified;
    if (mask & IN_CREATE)
        flags |= PTFSEvent::ItemCreated;
    if (mask & IN_DELETE)
        flags |= PTFSEvent::ItemRemoved;
    if (mask & (IN_MOVED_FROM | IN_MOVED_TO))
        flags |= PTFSEvent::ItemRenamed;
    return flags;
}

} // namespace

std::unique_ptr<PTFSObserver> PTFSObserver::observePath(const QString& path, Handler handler)
{
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) {
        qCWarning(lcLibrary) << "no file-system watcher for" << path;
        return nullptr;
    }
    return std::unique_ptr<PTFSObserver>(new PTFSObserver(fd, path, std::move(handler)));
}

PTFSObserver::PTFSObserver(int fd, const QString& path, Handler handler)
    : fd_(fd), path_(path), handler_(std::move(handler))
{
    latency_.setSingleShot(true);
    latency_.setInterval(LatencyMs);
    connect(&latency_, &QTimer::timeout, this, &PTFSObserver::flush);
}

PTFSObserver::~PTFSObserver()
{
    stop();
    ::close(fd_);
}

bool PTFSObserver::start()
{
    if (notifier_)
        return true;
    addWatchesBelow(path_);
    if (folders_.isEmpty())
        return false;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &PTFSObserver::readEvents);
    return true;
}

void PTFSObserver::stop()
{
    delete notifier_;
    notifier_ = nullptr;
    for (auto it = folders_.begin(); it != folders_.end(); ++it)
        inotify_rm_watch(fd_, it.key());
    folders_.clear();
    latency_.stop();
    pending_ = {};
    pendingIndex_.clear();
}

void PTFSObserver::addWatchesBelow(const QString& folder)
{
    QStringList folders{folder};
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        folders.append(it.next());
    for (const QString& dir : folders) {
        if (folders_.size() >= MaximumWatches) {
            qCWarning(lcLibrary) << "watching only the first" << MaximumWatches << "folders of" << path_;
            return;
        }
        const int wd = inotify_add_watch(fd_, QFile::encodeName(dir).constData(), WatchMask);
        if (wd >= 0)
            folders_.insert(wd, dir);
    }
}

void PTFSObserver::readEvents()
{
    alignas(inotify_event) std::array<char, 64 * 1024> buffer;
    for (;;) {
        const ssize_t length = ::read(fd_, buffer.data(), buffer.size());
        if (length <= 0)
            return;
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & (IN_IGNORED | IN_DELETE_SELF)) {
                folders_.remove(event->wd);
                continue;
            }
            const QString folder = folders_.value(event->wd);
            if (folder.isEmpty() || event->len == 0)
                continue;
            const QString path = QDir(folder).filePath(QFile::decodeName(event->name));
            if ((event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)))
                addWatchesBelow(path);
            record(path, flagsFor(event->mask));
        }
    }
}

void PTFSObserver::record(const QString& path, quint32 flags)
{
    const auto known = pendingIndex_.constFind(path);
    if (known != pendingIndex_.constEnd()) {
        pending_.flags[*known] |= flags;
    } else {
        pendingIndex_.insert(path, pending_.paths.size());
        pending_.paths.append(path);
        pending_.flags.append(flags);
    }
    if (!latency_.isActive())
        latency_.start();
}

void PTFSObserver::flush()
{
    PTFSEvent event = std::move(pending_);
    pending_ = {};
    pendingIndex_.clear();
    if (event.count() > 0 && handler_)
        handler_(event);
}
