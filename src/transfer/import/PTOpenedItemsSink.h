#pragma once

#include <QList>
#include <QUrl>

#include <memory>

// Where files and URLs opened from outside (the command line, a second launch, the desktop) end up. The
// file-open handler installs itself at start-up; until then they are logged and dropped.
class PTOpenedItemsSink {
public:
    virtual ~PTOpenedItemsSink() = default;
    // Main thread; the URLs in the order they arrived.
    virtual void queueItems(const QList<QUrl>& urls) = 0;

    static void install(std::shared_ptr<PTOpenedItemsSink> sink);
    static std::shared_ptr<PTOpenedItemsSink> installed();
    // To the installed sink, else to the log.
    static void deliver(const QList<QUrl>& urls);
};
