#pragma once

#include "transfer/import/PTFileOpenHandlerOperation.h"

#include <QStringList>

// The base of the operations that serve the application's own URL scheme: "pictern://<host>?<query>". Each
// carries exactly one URL.
class PTFileOpenURLHandlerOperation : public PTFileOpenHandlerOperation {
public:
    static inline const QString Scheme = QStringLiteral("pictern");

    // Whether the URL's scheme, lower-cased, is "pictern".
    static bool isSchemeCustomURLProtocol(const QUrl& url);
    // Scheme and host (compared lower-cased) match, and each required query item is present with a value that is
    // not blank.
    static bool handlesURL(const QUrl& url, const QString& urlType, const QStringList& requiredQueryStringComponents);

    bool isMaxCapacity() const override { return !urls().isEmpty(); }
};
