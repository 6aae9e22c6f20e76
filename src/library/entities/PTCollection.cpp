#include "library/entities/PTCollection.h"

#include "foundation/DateHelper.h"
#include "foundation/StringAdditions.h"
#include "library/entities/EntityValues.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/PTLibraryController.h"
#include "library/entities/PTLicence.h"
#include "platform/runtime/Logging.h"
#include "platform/store/ObjectContext.h"

using namespace entityValues;

namespace {
const QString NameKey = QStringLiteral("name");
const QString IdentifierKey = QStringLiteral("identifier");
const QString FileNameKey = QStringLiteral("fileName");
} // namespace

PTCollection* PTCollection::insert(pt::store::ObjectContext& context)
{
    return from(context.insert(EntityName));
}

QString PTCollection::name() const
{
    const QString stored = string(*this, NameKey);
    return stored.isEmpty() ? QStringLiteral("Untitled Set") : stored;
}

void PTCollection::setName(const QString& name)
{
    if (stringAdditions::trim(name).isEmpty())
        setString(*this, NameKey, type() == MiscellaneousType ? MiscellaneousName : QStringLiteral("Unknown"));
    else
        setString(*this, NameKey, name);
}

QString PTCollection::normalizedSearch() const { return string(*this, QStringLiteral("normalizedSearch")); }
void PTCollection::setNormalizedSearch(const QString& text) { setString(*this, QStringLiteral("normalizedSearch"), text); }
QString PTCollection::identifier() const { return string(*this, IdentifierKey); }
void PTCollection::setIdentifier(const QString& identifier) { setString(*this, IdentifierKey, identifier); }
QString PTCollection::fileName() const { return string(*this, FileNameKey); }
QDateTime PTCollection::date() const { return entityValues::date(*this, QStringLiteral("date")); }
void PTCollection::setDate(const QDateTime& date) { entityValues::setDate(*this, QStringLiteral("date"), date); }
QString PTCollection::informativeText() const { return string(*this, QStringLiteral("informativeText")); }
void PTCollection::setInformativeText(const QString& text) { setString(*this, QStringLiteral("informativeText"), text); }
qint64 PTCollection::sort() const { return integer(*this, QStringLiteral("sort")); }
void PTCollection::setSort(qint64 sort) { setInteger(*this, QStringLiteral("sort"), sort); }
qint64 PTCollection::type() const { return integer(*this, QStringLiteral("type")); }
void PTCollection::setType(qint64 type) { setInteger(*this, QStringLiteral("type"), type); }

QVector<PTItem*> PTCollection::items() const { return members<PTItem>(*this, QStringLiteral("items")); }
PTGroup* PTCollection::group() const { return PTGroup::from(toOne(QStringLiteral("group"))); }
void PTCollection::setGroup(PTGroup* group) { setToOne(QStringLiteral("group"), group); }
PTLicence* PTCollection::licence() const { return PTLicence::from(toOne(QStringLiteral("licence"))); }
void PTCollection::setLicence(PTLicence* licence) { setToOne(QStringLiteral("licence"), licence); }

QString PTCollection::computedIdentifier()
{
    QString current = identifier();
    if (!isPlainFileName(current)) {
        if (!current.isEmpty())
            qCWarning(lcLibrary) << "set identifier" << current << "does not name a folder; a new one is given";
        current = newIdentifier();
        setIdentifier(current);
    }
    return current;
}

QString PTCollection::formattedDirectory()
{
    PTLibraryController* library = PTLibraryController::currentLibrary();
    if (!library)
        return {};
    return library->locationByAppendingPath(
        QStringLiteral("%1/%2").arg(PTLibraryController::SetsFolderName, computedIdentifier()), true);
}

QUrl PTCollection::fileURL()
{
    const QString directory = formattedDirectory();
    return directory.isEmpty() ? QUrl() : QUrl::fromLocalFile(directory);
}

QString PTCollection::baseName()
{
    if (value(FileNameKey).isNull())
        setString(*this, FileNameKey, stringAdditions::normalizedString(name()));
    return fileName();
}

QString PTCollection::legacyFormattedDirectory()
{
    PTLibraryController* library = PTLibraryController::currentLibrary();
    const QString name = baseName();
    if (!library || !isPlainFileName(name))
        return {};
    return library->locationByAppendingPath(QStringLiteral("%1/%2").arg(PTLibraryController::SetsFolderName, name),
                                            true);
}

QString PTCollection::humanDate() const
{
    const QDateTime when = date();
    return when.isValid() ? dateHelper::stringWithFormat(when, QStringLiteral("%d %b %Y"), false) : QString();
}

QVector<PTItem*> PTCollection::sortedItems() const
{
    pt::store::FetchRequest request;
    request.entityName = PTItem::EntityName;
    request.predicate = *pt::store::Predicate::parse(QStringLiteral("collection=%@"), {this});
    request.sort = {{QStringLiteral("name")}};
    const auto fetched = context()->fetch(request);
    if (!fetched) {
        qCWarning(lcLibrary).noquote() << fetched.error().toString();
        return {};
    }
    QVector<PTItem*> items;
    for (pt::store::ManagedObject* object : *fetched)
        items.append(PTItem::from(object));
    return items;
}

QStringList PTCollection::breadCrumbs() const
{
    QStringList names{name()};
    if (PTGroup* parent = group()) {
        for (PTGroup* group : parent->selfAndAncestors())
            names.prepend(group->name());
    }
    return names;
}

QVector<pt::store::ManagedObject*> PTCollection::path()
{
    QVector<pt::store::ManagedObject*> objects{this};
    if (PTGroup* parent = group()) {
        for (PTGroup* group : parent->selfAndAncestors())
            objects.prepend(group);
    }
    return objects;
}
