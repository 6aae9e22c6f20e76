#pragma once

#include "transfer/import/PTFileOpenURLHandlerOperation.h"

// "pictern://download?url=<address>&headers[<name>]=<value>...": fetches the file under the download sheet. A
// request whose query is refused, whose address is not one text, or whose "headers" is not a set of at most
// MaxHeaderFields named fields, is refused with a notice before anything goes out.
class PTFileOpenURLDownloadHandlerOperation : public PTFileOpenURLHandlerOperation {
public:
    static inline const QString URLType = QStringLiteral("download");
    static inline const QString URLKey = QStringLiteral("url");
    static inline const QString HeadersKey = QStringLiteral("headers");
    static inline const QString InvalidRequestMessage = QStringLiteral("The download request is not valid.");
    // Far more than any server asks for; the request comes from any program.
    static constexpr qsizetype MaxHeaderFields = 100;

    static bool handlesURL(const QUrl& url, QVariant* reading = nullptr);
    quint64 sort() const override { return 1; }

protected:
    void executeWithDone(const Done& done) override;
};
