#include "transfer/PTFileOpenURLDownloadHandlerOperation.h"

#include "foundation/URLComponentsAdditions.h"
#include "library/upkeep/PTLibraryShell.h"
#include "transfer/PTDownloadController.h"

bool PTFileOpenURLDownloadHandlerOperation::handlesURL(const QUrl& url)
{
    return PTFileOpenURLHandlerOperation::handlesURL(url, URLType, {URLKey});
}

void PTFileOpenURLDownloadHandlerOperation::executeWithDone(const Done& done)
{
    const QVariantMap query = urlComponentsAdditions::queryStringComponents(urls().first());
    const QVariant address = query.value(URLKey);
    const QVariant fields = query.value(HeadersKey);
    bool valid = address.typeId() == QMetaType::QString &&
                 (!fields.isValid() || fields.typeId() == QMetaType::QVariantMap);
    PTURLDownloader::Headers headers;
    const QVariantMap fieldMap = fields.toMap();
    for (auto it = fieldMap.cbegin(); valid && it != fieldMap.cend(); ++it) {
        valid = it.value().typeId() == QMetaType::QString;
        headers.insert(it.key(), it.value().toString());
    }
    if (!valid) {
        if (const auto shell = PTLibraryShell::installed())
            shell->postNotice(PTDownloadController::RefusedTitle, QStringLiteral("The download request is not valid."));
        return done();
    }
    PTDownloadController::sharedController().queueURL(QUrl(address.toString().trimmed(), QUrl::StrictMode), headers,
                                                      nullptr);
    // The queue goes on at once; the download holds its own sheet.
    done();
}
