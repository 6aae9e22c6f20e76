#pragma once

#include "transfer/import/PTFileOpenHandlerOperation.h"

// Icon files and plain folders: the add-icons sheet with all of them, the set in view preselected; the queue waits
// until the sheet is done.
class PTFileOpenIconHandlerOperation : public PTFileOpenHandlerOperation {
public:
    static bool handlesURL(const QUrl& url);

protected:
    void executeWithDone(const Done& done) override;
};
