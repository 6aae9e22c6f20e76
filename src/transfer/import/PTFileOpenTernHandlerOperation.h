#pragma once

#include "transfer/import/PTFileOpenHandlerOperation.h"

// Exchange bundles ("pictern" folders holding META), imported one after the other.
class PTFileOpenTernHandlerOperation : public PTFileOpenHandlerOperation {
public:
    static bool handlesURL(const QUrl& url);

protected:
    void executeWithDone(const Done& done) override;
};
