#include "library/upkeep/PTFSEventHandlerController.h"

#include "library/upkeep/PTImportValidation.h"

#include <QFileInfo>
#include <QUuid>

PTFSEventHandlerController& PTFSEventHandlerController::sharedController()
{
    static PTFSEventHandlerController* controller = new PTFSEventHandlerController;
    return *controller;
}

PTFSEventHandlerController::PTFSEventHandlerController() : queue_(pt::DispatchQueue::serial(QueueLabel))
{
    timer_.setSingleShot(true);
    timer_.setInterval(CoalescingMs);
    connect(&timer_, &QTimer::timeout, this, &PTFSEventHandlerController::deliver);
}

QString PTFSEventHandlerController::registerEventHandler(Handler handler, quint64 mask)
{
    const QString identifier = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    handlers_[identifier] = Registration{std::move(handler), mask};
    return identifier;
}

void PTFSEventHandlerController::removeEventHandlerWithID(const QString& identifier)
{
    handlers_.erase(identifier);
}

void PTFSEventHandlerController::handleFSEvent(const PTFSEvent& event)
{
    // Each path by its own flags: a batch that starts with another kind of change still carries modified files.
    QStringList modified;
    for (int i = 0; i < event.count() && i < event.flags.size(); ++i) {
        if (event.flags[i] & PTFSEvent::ItemModified)
            modified.append(event.paths[i]);
    }
    if (modified.isEmpty())
        return;
    queue_.async([this, modified] { processChangedFiles(modified); });
}

void PTFSEventHandlerController::processChangedFiles(const QStringList& paths)
{
    const auto validation = PTImportValidation::installed();
    bool collectedAny = false;
    for (const QString& path : paths) {
        if (QFileInfo(path).isDir() || !validation)
            continue;
        if (validation->validateURLStrings({path}, PTImportValidation::AllOptions).size() != 1)
            continue;
        const QUrl url = QUrl::fromLocalFile(path);
        std::lock_guard lock(collectedMutex_);
        QList<QUrl>& urls = collected_[ChangedFilesMask];
        if (!urls.contains(url))
            urls.append(url);
        collectedAny = true;
    }
    if (!collectedAny)
        return;
    pt::DispatchQueue::main().async([this] {
        std::lock_guard lock(collectedMutex_);
        if (!collected_.empty())
            timer_.start();
    });
}

void PTFSEventHandlerController::deliver()
{
    std::map<quint64, QList<QUrl>> collected;
    {
        std::lock_guard lock(collectedMutex_);
        collected.swap(collected_);
    }
    // Handlers may register or remove handlers while being called.
    const auto handlers = handlers_;
    for (const auto& [identifier, registration] : handlers) {
        QList<QUrl> urls;
        for (const auto& [mask, maskUrls] : collected) {
            if (mask & registration.mask)
                urls.append(maskUrls);
        }
        if (!urls.isEmpty())
            registration.handler(urls);
    }
}

void PTFSEventHandlerController::endObservation()
{
    timer_.stop();
    std::lock_guard lock(collectedMutex_);
    collected_.clear();
}
