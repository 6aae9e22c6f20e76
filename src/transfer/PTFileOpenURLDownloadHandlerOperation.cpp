#include "transfer/PTFileOpenURLDownloadHandlerOperation.h"

#include "library/upkeep/PTLibraryShell.h"
#include "transfer/PTDownloadController.h"

bool PTFileOpenURLDownloadHandlerOperation::handlesURL(const QUrl& url, QVariant* reading)
{
    return PTFileOpenURLHandlerOperation::handlesURL(url, URLType, {URLKey}, reading);
}

void PTFileOpenURLDownloadHandlerOperation::executeWithDone(const Done& done)
{
    const QVariantMap request = query().value_or(QVariantMap());
    const QVariant address = request.value(URLKey);
    const QVariant fields = request.value(HeadersKey);
    const QVariantMap fieldMap = fields.toMap();
    bool valid = address.typeId() == QMetaType::QString &&
                 (!fields.isValid() || fields.typeId() == QMetaType::QVariantMap) &&
                 fieldMap.size() <= MaxHeaderFields;
    PTURLDownloader::Headers headers;
    for (auto it = fieldMap.cbegin(); valid && it != fieldMap.cend(); ++it) {
        valid = it.value().typeId() == QMetaType::QString;
        headers.insert(it.key(), it.value().toString());
    }
    if (!valid) {
        if (const auto shell = PTLibraryShell::installed())
            shell->postNotice(PTDownloadController::RefusedTitle, InvalidRequestMessage);
        return done();
    }
    PTDownloadController::sharedController().queueURL(QUrl(address.toString().trimmed(), QUrl::StrictMode), headers,
                                                      nullptr);
    // The queue goes on at once; the download holds its own sheet.
    done();
}
