#include "transfer/import/PTFileOpenHandler.h"

#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/DispatchQueue.h"
#include "transfer/export/PTFileOpenPresetHandlerOperation.h"
#include "transfer/import/PTFileOpenIconHandlerOperation.h"
#include "transfer/import/PTFileOpenLibraryHandlerOperation.h"
#include "transfer/import/PTFileOpenTernHandlerOperation.h"
#include "transfer/import/PTFileOpenURLPreferencesHandlerOperation.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

PTFileOpenHandler::PTFileOpenHandler() = default;

PTFileOpenHandler::~PTFileOpenHandler()
{
    alive_.reset();
}

PTFileOpenHandler& PTFileOpenHandler::sharedController()
{
    static PTFileOpenHandler handler;
    return handler;
}

void PTFileOpenHandler::registerAll(PTFileOpenHandler& handler)
{
    handler.registerOperationClass<PTFileOpenTernHandlerOperation>(QStringLiteral("PTFileOpenTernHandlerOperation"),
                                                                   TernRank);
    handler.registerOperationClass<PTFileOpenURLPreferencesHandlerOperation>(
        QStringLiteral("PTFileOpenURLPreferencesHandlerOperation"), PreferencesRank);
    handler.registerOperationClass<PTFileOpenPresetHandlerOperation>(
        QStringLiteral("PTFileOpenPresetHandlerOperation"), PresetRank);
    handler.registerOperationClass<PTFileOpenIconHandlerOperation>(QStringLiteral("PTFileOpenIconHandlerOperation"),
                                                                   IconRank);
    handler.registerOperationClass<PTFileOpenLibraryHandlerOperation>(
        QStringLiteral("PTFileOpenLibraryHandlerOperation"), LibraryRank);
}

void PTFileOpenHandler::registerOperationClass(OperationClass operationClass)
{
    const auto before = std::upper_bound(classes_.begin(), classes_.end(), operationClass.rank,
                                         [](int rank, const OperationClass& other) { return rank < other.rank; });
    classes_.insert(before, std::move(operationClass));
}

std::vector<std::unique_ptr<PTFileOpenHandlerOperation>> PTFileOpenHandler::operationsForFileURLs(
    const QList<QUrl>& urls, QList<QUrl>* unaccepted) const
{
    std::vector<std::unique_ptr<PTFileOpenHandlerOperation>> result;
    // The open operation of each class, in the order they were opened.
    std::vector<std::pair<QString, std::unique_ptr<PTFileOpenHandlerOperation>>> open;
    for (const QUrl& url : urls) {
        bool taken = false;
        for (const OperationClass& operationClass : classes_) {
            QVariant reading;
            if (!operationClass.handlesURL(url, &reading))
                continue;
            taken = true;
            auto found = std::find_if(open.begin(), open.end(), [&](const auto& entry) { return entry.first == operationClass.name; });
            if (found == open.end())
                found = open.insert(open.end(), {operationClass.name, operationClass.make()});
            found->second->addURL(url, reading);
            if (found->second->isMaxCapacity()) {
                result.push_back(std::move(found->second));
                open.erase(found);
            }
        }
        if (!taken && unaccepted)
            unaccepted->append(url);
    }
    for (auto& entry : open)
        result.push_back(std::move(entry.second));
    std::stable_sort(result.begin(), result.end(), [](const auto& a, const auto& b) { return a->sort() < b->sort(); });
    return result;
}

bool PTFileOpenHandler::queueItems(const QList<QUrl>& urls)
{
    QList<QUrl> unaccepted;
    std::vector<std::unique_ptr<PTFileOpenHandlerOperation>> operations = operationsForFileURLs(urls, &unaccepted);
    if (!unaccepted.isEmpty()) {
        QStringList names;
        for (const QUrl& url : std::as_const(unaccepted))
            names << (url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : url.toDisplayString());
        if (const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed())
            shell->postNotice(UnopenedTitle, UnopenedMessage.arg(names.join(QStringLiteral(", "))));
    }
    if (operations.empty())
        return false;
    for (auto& operation : operations)
        queue_.push_back(std::move(operation));
    runNext();
    return true;
}

bool PTFileOpenHandler::handlesURLs(const QList<QUrl>& urls) const
{
    return !operationsForFileURLs(urls).empty();
}

void PTFileOpenHandler::applicationDidFinishLaunching()
{
    std::weak_ptr<bool> alive = alive_;
    pt::dispatchAfter(LaunchDelaySeconds, pt::DispatchQueue::main(), [this, alive] {
        if (!alive.lock())
            return;
        suspended_ = false;
        runNext();
    });
}

void PTFileOpenHandler::runNext()
{
    if (suspended_ || running_ || queue_.empty())
        return;
    running_ = std::move(queue_.front());
    queue_.pop_front();
    std::weak_ptr<bool> alive = alive_;
    PTFileOpenHandlerOperation* operation = running_.get();
    // The next operation starts on a later turn of the main queue, never inside the one that ends.
    running_->execute([this, alive, operation] {
        pt::DispatchQueue::main().async([this, alive, operation] {
            if (!alive.lock() || running_.get() != operation)
                return;
            running_.reset();
            runNext();
        });
    });
}
