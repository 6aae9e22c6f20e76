#pragma once

#include "transfer/import/PTFileOpenHandlerOperation.h"

#include <QList>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

// Where everything that asks the application to open something arrives: files opened from the desktop or
// dropped on the grid, pictern: URLs, downloaded files. Each URL is offered to every registered operation class;
// the operations built run one at a time, in ascending sort order, on the main thread: each starts when the one
// before has called its `done`. The queue waits until shortly after launch has finished. What no class takes is
// named in one notice.
class PTFileOpenHandler {
public:
    // An operation class: where it stands in the family, whether it takes a URL, and a new operation of it. What
    // the class reads from a URL while deciding goes to `reading` and on to its operation with the URL, so that
    // nothing is parsed twice.
    struct OperationClass {
        QString name;
        int rank = 0;
        std::function<bool(const QUrl& url, QVariant* reading)> handlesURL;
        std::function<std::unique_ptr<PTFileOpenHandlerOperation>()> make;
    };
    // The places of the family's classes; classes register in any order and stand in this one.
    enum Rank { TernRank = 1, DownloadRank, PreferencesRank, PresetRank, IconRank, LibraryRank };

    static constexpr double LaunchDelaySeconds = 0.1;
    static inline const QString UnopenedTitle = QStringLiteral("Cannot Open");
    static inline const QString UnopenedMessage = QStringLiteral("Pictern cannot open %1.");

    PTFileOpenHandler();
    ~PTFileOpenHandler();
    PTFileOpenHandler(const PTFileOpenHandler&) = delete;
    PTFileOpenHandler& operator=(const PTFileOpenHandler&) = delete;

    static PTFileOpenHandler& sharedController();
    // Registers the classes: bundles, preference requests, export presets, icon files and folders, libraries. Once, at
    // start-up, with the shared handler.
    static void registerAll(PTFileOpenHandler& handler = sharedController());

    template <class Operation>
    void registerOperationClass(const QString& name, int rank)
    {
        OperationClass operationClass{name, rank, {}, [] { return std::make_unique<Operation>(); }};
        if constexpr (std::is_invocable_r_v<bool, decltype(&Operation::handlesURL), const QUrl&, QVariant*>)
            operationClass.handlesURL = &Operation::handlesURL;
        else
            operationClass.handlesURL = [](const QUrl& url, QVariant*) { return Operation::handlesURL(url); };
        registerOperationClass(std::move(operationClass));
    }
    void registerOperationClass(OperationClass operationClass);
    const std::vector<OperationClass>& operationClasses() const { return classes_; }

    // The operations for the URLs, sorted, not queued; the URLs no class took go to `unaccepted`.
    std::vector<std::unique_ptr<PTFileOpenHandlerOperation>> operationsForFileURLs(const QList<QUrl>& urls,
                                                                                QList<QUrl>* unaccepted = nullptr) const;
    // Queues the operations; false when no URL was taken. URLs nothing takes are named in a notice.
    bool queueItems(const QList<QUrl>& urls);
    bool handlesURLs(const QList<QUrl>& urls) const;
    // Starts the queue LaunchDelaySeconds later.
    void applicationDidFinishLaunching();
    bool isSuspended() const { return suspended_; }
    // Operations waiting, and the one running (if any).
    qsizetype pendingCount() const { return qsizetype(queue_.size()) + (running_ ? 1 : 0); }

private:
    void runNext();

    std::vector<OperationClass> classes_;
    std::deque<std::unique_ptr<PTFileOpenHandlerOperation>> queue_;
    std::unique_ptr<PTFileOpenHandlerOperation> running_;
    bool suspended_ = true;
    // Lets a late `done` know whether the handler still exists.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
