#pragma once

#include "app/PTOpenedItemsSink.h"

// Files and URLs opened from outside go to the shared file-open handler, which routes each to its operation.
class PTFileOpenSink : public PTOpenedItemsSink {
public:
    void queueItems(const QList<QUrl>& urls) override;
};
