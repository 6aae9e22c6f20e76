#include "library/entities/PTLicence.h"

#include "library/entities/EntityValues.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "platform/store/ObjectContext.h"

using namespace entityValues;

PTLicence* PTLicence::insert(pt::store::ObjectContext& context)
{
    return from(context.insert(EntityName));
}

QString PTLicence::name() const { return string(*this, QStringLiteral("name")); }
void PTLicence::setName(const QString& name) { setString(*this, QStringLiteral("name"), name); }
QString PTLicence::url() const { return string(*this, QStringLiteral("url")); }
void PTLicence::setUrl(const QString& url) { setString(*this, QStringLiteral("url"), url); }
QString PTLicence::text() const { return string(*this, QStringLiteral("text")); }
void PTLicence::setText(const QString& text) { setString(*this, QStringLiteral("text"), text); }
QVector<PTCollection*> PTLicence::collections() const { return members<PTCollection>(*this, QStringLiteral("collections")); }
QVector<PTItem*> PTLicence::items() const { return members<PTItem>(*this, QStringLiteral("items")); }

QUrl PTLicence::validatedURL() const
{
    const QUrl parsed(url(), QUrl::StrictMode);
    return parsed.isValid() && !parsed.scheme().isEmpty() && !parsed.host().isEmpty() ? parsed : QUrl();
}
