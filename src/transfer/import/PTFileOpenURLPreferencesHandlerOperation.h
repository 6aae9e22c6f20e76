#pragma once

#include "transfer/import/PTFileOpenURLHandlerOperation.h"

// "pictern://preferences?section=<pane>": the preferences window on that pane. A refused query opens nothing and
// says so in the file-open handler's notice.
class PTFileOpenURLPreferencesHandlerOperation : public PTFileOpenURLHandlerOperation {
public:
    static inline const QString URLType = QStringLiteral("preferences");
    static inline const QString SectionKey = QStringLiteral("section");

    static bool handlesURL(const QUrl& url, QVariant* reading = nullptr);

protected:
    void executeWithDone(const Done& done) override;
};
