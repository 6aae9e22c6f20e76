#include "library/entities/PTGroup.h"

#include "library/entities/EntityValues.h"
#include "library/entities/PTCollection.h"
#include "platform/store/ObjectContext.h"

using namespace entityValues;

PTGroup* PTGroup::insert(pt::store::ObjectContext& context)
{
    return from(context.insert(EntityName));
}

QString PTGroup::name() const
{
    const QString stored = string(*this, QStringLiteral("name"));
    return stored.isEmpty() ? QStringLiteral("Untitled Group") : stored;
}

void PTGroup::setName(const QString& name) { setString(*this, QStringLiteral("name"), name); }
QString PTGroup::informativeText() const { return string(*this, QStringLiteral("informativeText")); }
void PTGroup::setInformativeText(const QString& text) { setString(*this, QStringLiteral("informativeText"), text); }
qint64 PTGroup::sort() const { return integer(*this, QStringLiteral("sort")); }
void PTGroup::setSort(qint64 sort) { setInteger(*this, QStringLiteral("sort"), sort); }
PTGroup* PTGroup::group() const { return from(toOne(QStringLiteral("group"))); }

QVector<PTGroup*> PTGroup::selfAndAncestors()
{
    QVector<PTGroup*> chain;
    for (PTGroup* group = this; group && !chain.contains(group); group = group->group())
        chain.append(group);
    return chain;
}
void PTGroup::setGroup(PTGroup* parent) { setToOne(QStringLiteral("group"), parent); }
QVector<PTGroup*> PTGroup::groups() const { return members<PTGroup>(*this, QStringLiteral("groups")); }
QVector<PTCollection*> PTGroup::sets() const { return members<PTCollection>(*this, QStringLiteral("sets")); }
