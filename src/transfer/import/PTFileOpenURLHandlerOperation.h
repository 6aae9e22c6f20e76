#pragma once

#include "transfer/import/PTFileOpenHandlerOperation.h"

#include <QStringList>
#include <QVariantMap>

#include <optional>

// The base of the operations that serve the application's own URL scheme: "pictern://<host>?<query>". Each
// carries exactly one URL, and the query parsed once when it was taken.
class PTFileOpenURLHandlerOperation : public PTFileOpenHandlerOperation {
public:
    static inline const QString Scheme = QStringLiteral("pictern");

    // Whether the URL's scheme, lower-cased, is "pictern".
    static bool isSchemeCustomURLProtocol(const QUrl& url);
    // Scheme and host (compared lower-cased) match, and each required query item is present with a value that is
    // not blank; the parsed query goes to `reading`. A query the parser refuses (nested too deep) is taken too,
    // with a null reading, so that the operation of its host tells the user rather than nothing taking it.
    static bool handlesURL(const QUrl& url, const QString& urlType, const QStringList& requiredQueryStringComponents,
                           QVariant* reading);

    bool isMaxCapacity() const override { return !urls().isEmpty(); }

protected:
    // The query read when the URL was taken; none when it was refused.
    std::optional<QVariantMap> query() const;
};
