#include "library/entities/PTModel.h"

#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/entities/PTLicence.h"

using pt::store::AttributeDescription;
using pt::store::AttributeType;
using pt::store::EntityDescription;
using pt::store::ObjectModel;
using pt::store::RelationshipDescription;

namespace {

AttributeDescription text(const QString& name, bool folded = false)
{
    return {name, AttributeType::String, folded};
}

AttributeDescription integer(const QString& name, bool indexed = false)
{
    return {name, AttributeType::Int64, false, indexed};
}

AttributeDescription date(const QString& name)
{
    return {name, AttributeType::Date};
}

RelationshipDescription toOne(const QString& name, const QString& target, const QString& inverse, const QString& column)
{
    return {name, target, inverse, false, column};
}

RelationshipDescription toMany(const QString& name, const QString& target, const QString& inverse)
{
    return {name, target, inverse, true, {}};
}

QVector<AttributeDescription> itemAttributes(bool withSearchColumns)
{
    QVector<AttributeDescription> attributes{text("name")};
    if (withSearchColumns)
        attributes << text("nameNormalized", true) << text("tagsString") << text("tagsStringNormalized", true);
    attributes << text("informativeText");
    if (withSearchColumns)
        attributes << text("informativeTextNormalized", true);
    attributes << text("newFileName") << text("originalFileName") << text("unicode") << integer("type")
               << integer("width") << integer("height") << date("date") << text("location") << text("info");
    return attributes;
}

template <class T>
EntityDescription::Factory factory(bool typed)
{
    if (!typed)
        return {};
    return [] { return std::make_unique<T>(); };
}

// The entities every version shares. Version 6 had no bundle details (version, author, licence text) on sets;
// version 7 added them. Only the current version makes its objects of the typed classes.
std::vector<EntityDescription> sharedEntities(bool withSetDetails, bool typed)
{
    QVector<AttributeDescription> setAttributes{text("name"), text("normalizedSearch", true), text("identifier"),
                                                text("fileName"), date("date"), text("informativeText"),
                                                integer("sort"), integer("type", true)};
    if (withSetDetails)
        setAttributes << text("version") << text("author") << text("license");
    std::vector<EntityDescription> entities;
    entities.emplace_back(
        QStringLiteral("PTCollection"), setAttributes,
        QVector<RelationshipDescription>{toMany("items", "PTItem", "collection"),
                                         toOne("group", "PTGroup", "sets", "grp"),
                                         toOne("licence", "PTLicence", "collections", "licence")},
        factory<PTCollection>(typed));
    entities.emplace_back(
        QStringLiteral("PTGroup"),
        QVector<AttributeDescription>{text("name"), text("informativeText"), integer("sort")},
        QVector<RelationshipDescription>{toOne("group", "PTGroup", "groups", "parent"),
                                         toMany("groups", "PTGroup", "group"), toMany("sets", "PTCollection", "group")},
        factory<PTGroup>(typed));
    entities.emplace_back(
        QStringLiteral("PTLicence"), QVector<AttributeDescription>{text("name"), text("url"), text("text")},
        QVector<RelationshipDescription>{toMany("collections", "PTCollection", "licence"),
                                         toMany("items", "PTItem", "licence")},
        factory<PTLicence>(typed));
    return entities;
}

} // namespace

std::shared_ptr<const ObjectModel> PTModel::current()
{
    static const std::shared_ptr<const ObjectModel> model = [] {
        std::vector<EntityDescription> entities = sharedEntities(true, true);
        entities.emplace_back(QStringLiteral("PTItem"), itemAttributes(true),
                              QVector<RelationshipDescription>{toOne("collection", "PTCollection", "items", "collection"),
                                                               toOne("licence", "PTLicence", "items", "licence")},
                              factory<PTItem>(true));
        return std::make_shared<const ObjectModel>(CurrentName, 8, std::move(entities));
    }();
    return model;
}

std::shared_ptr<const ObjectModel> PTModel::version6()
{
    static const std::shared_ptr<const ObjectModel> model = taggedModel(QStringLiteral("Pictern6"), 6, false);
    return model;
}

std::shared_ptr<const ObjectModel> PTModel::version7()
{
    static const std::shared_ptr<const ObjectModel> model = taggedModel(QStringLiteral("Pictern7"), 7, true);
    return model;
}

QVector<std::shared_ptr<const ObjectModel>> PTModel::versions()
{
    return {version6(), version7(), current()};
}

std::shared_ptr<const ObjectModel> PTModel::taggedModel(const QString& name, int version, bool withSetDetails)
{
    std::vector<EntityDescription> entities = sharedEntities(withSetDetails, false);
    entities.emplace_back(QStringLiteral("PTItem"), itemAttributes(false),
                          QVector<RelationshipDescription>{toOne("collection", "PTCollection", "items", "collection"),
                                                           toOne("licence", "PTLicence", "items", "licence"),
                                                           toMany("tags", "PTTags", "item")});
    entities.emplace_back(QStringLiteral("PTTag"),
                          QVector<AttributeDescription>{text("name"), text("normalizedSearch", true)},
                          QVector<RelationshipDescription>{toOne("tag", "PTTags", "tag", {})});
    entities.emplace_back(QStringLiteral("PTTags"), QVector<AttributeDescription>{},
                          QVector<RelationshipDescription>{toOne("item", "PTItem", "tags", "item"),
                                                           toOne("tag", "PTTag", "tag", "tag")});
    return std::make_shared<const ObjectModel>(name, version, std::move(entities));
}
