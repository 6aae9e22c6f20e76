#pragma once

#include <QList>
#include <QUrl>
#include <QVariant>

#include <functional>

// One piece of work of the file-open handler: the URLs one operation class collected, and what it does with
// them. The work runs on the main thread and ends by calling `done` once; an operation destroyed before it did
// calls it itself, so the handler's queue never stalls.
class PTFileOpenHandlerOperation {
public:
    using Done = std::function<void()>;

    virtual ~PTFileOpenHandlerOperation();

    const QList<QUrl>& urls() const { return urls_; }
    // What the class read from each URL while taking it (a parsed query), in the order of urls(); null where it
    // read nothing.
    const QList<QVariant>& readings() const { return readings_; }
    void addURL(const QUrl& url, const QVariant& reading = QVariant())
    {
        urls_.append(url);
        readings_.append(reading);
    }
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
    QList<QVariant> readings_;
    Done done_;
};
