#include "transfer/import/PTFileOpenURLHandlerOperation.h"

#include "foundation/URLComponentsAdditions.h"

bool PTFileOpenURLHandlerOperation::isSchemeCustomURLProtocol(const QUrl& url)
{
    return url.scheme().toLower() == Scheme;
}

bool PTFileOpenURLHandlerOperation::handlesURL(const QUrl& url, const QString& urlType,
                                               const QStringList& requiredQueryStringComponents, QVariant* reading)
{
    // Every URL is offered to every class: the query is parsed only for the class of its host.
    if (!isSchemeCustomURLProtocol(url) || url.host().toLower() != urlType)
        return false;
    bool refused = false;
    const QVariantMap query = urlComponentsAdditions::queryStringComponents(url, &refused);
    if (refused)
        return true;
    for (const QString& key : requiredQueryStringComponents) {
        const QVariant value = query.value(key);
        if (value.typeId() != QMetaType::QString || value.toString().trimmed().isEmpty())
            return false;
    }
    if (reading)
        *reading = query;
    return true;
}

std::optional<QVariantMap> PTFileOpenURLHandlerOperation::query() const
{
    const QVariant reading = readings().value(0);
    if (reading.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return reading.toMap();
}
