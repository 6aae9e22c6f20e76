#pragma once

#include "transfer/import/PTFileOpenURLHandlerOperation.h"

// "pictern://preferences?section=<pane>": the preferences window on that pane.
class PTFileOpenURLPreferencesHandlerOperation : public PTFileOpenURLHandlerOperation {
public:
    static inline const QString URLType = QStringLiteral("preferences");
    static inline const QString SectionKey = QStringLiteral("section");

    static bool handlesURL(const QUrl& url);

protected:
    void executeWithDone(const Done& done) override;
};
