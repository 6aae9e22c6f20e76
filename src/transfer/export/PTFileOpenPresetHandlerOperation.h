#pragma once

#include "transfer/import/PTFileOpenHandlerOperation.h"

// Export presets ("ptpreset" files) opened from outside: imported together into the library's presets.
class PTFileOpenPresetHandlerOperation : public PTFileOpenHandlerOperation {
public:
    static bool handlesURL(const QUrl& url);

protected:
    void executeWithDone(const Done& done) override;
};
