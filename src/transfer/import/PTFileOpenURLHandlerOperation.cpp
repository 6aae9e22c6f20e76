#include "transfer/import/PTFileOpenURLHandlerOperation.h"

#include "foundation/URLComponentsAdditions.h"

bool PTFileOpenURLHandlerOperation::isSchemeCustomURLProtocol(const QUrl& url)
{
    return url.scheme().toLower() == Scheme;
}

bool PTFileOpenURLHandlerOperation::handlesURL(const QUrl& url, const QString& urlType,
                                               const QStringList& requiredQueryStringComponents)
{
    const QVariantMap query = urlComponentsAdditions::queryStringComponents(url);
    for (const QString& key : requiredQueryStringComponents) {
        const QVariant value = query.value(key);
        if (value.typeId() != QMetaType::QString || value.toString().trimmed().isEmpty())
            return false;
    }
    return isSchemeCustomURLProtocol(url) && url.host().toLower() == urlType;
}
