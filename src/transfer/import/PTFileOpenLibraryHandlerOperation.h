#pragma once

#include "transfer/import/PTFileOpenHandlerOperation.h"

class PTLibraryController;

// Library packages: a switch to the first; it runs after all other work of the same request. A package that
// arrived by download is moved out of the download cache first.
class PTFileOpenLibraryHandlerOperation : public PTFileOpenHandlerOperation {
public:
    static constexpr quint64 Sort = 500;

    static bool handlesURL(const QUrl& url);
    quint64 sort() const override { return Sort; }

protected:
    void executeWithDone(const Done& done) override;

private:
    static void switchToDownloadedLibrary(PTLibraryController& library, const QString& path);
};
