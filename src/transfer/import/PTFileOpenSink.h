#pragma once

#include "transfer/import/PTOpenedItemsSink.h"

// Files and URLs opened from outside go to the shared file-open handler, which routes each to its operation.
class PTFileOpenSink : public PTOpenedItemsSink {
public:
    void queueItems(const QList<QUrl>& urls) override;
};
