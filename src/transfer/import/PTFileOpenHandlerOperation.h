#pragma once

#include <QList>
#include <QUrl>

#include <functional>

// One piece of work of the file-open handler: the URLs one operation class collected, and what it does with
// them. The work runs on the main thread and ends by calling `done` once; an operation destroyed before it did
// calls it itself, so the handler's queue never stalls.
class PTFileOpenHandlerOperation {
public:
    using Done = std::function<void()>;

    virtual ~PTFileOpenHandlerOperation();

    const QList<QUrl>& urls() const { return urls_; }
    void addURL(const QUrl& url) { urls_.append(url); }
    // The order among the operations of one request: lower first.
    virtual quint64 sort() const { return 1; }
    // Whether the operation takes no more URLs; a new one of its class starts with the next.
    virtual bool isMaxCapacity() const { return false; }
    // Starts the work; `done` may be called more than once, only the first call counts.
    void execute(Done done);

protected:
    virtual void executeWithDone(const Done& done) = 0;

private:
    QList<QUrl> urls_;
    Done done_;
};
