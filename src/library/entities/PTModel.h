#pragma once

#include "platform/store/ObjectModel.h"

#include <memory>

// The library's object model: the current version (PTItem, PTCollection, PTGroup, PTLicence) and the older
// versions that stores are migrated from.
class PTModel {
public:
    static inline const QString CurrentName = QStringLiteral("Pictern8");

    // The current model, made once.
    static std::shared_ptr<const pt::store::ObjectModel> current();
    // Version 6, which kept tags as PTTag rows joined to items through PTTags, without the normalised
    // search columns. Read only by migration.
    static std::shared_ptr<const pt::store::ObjectModel> version6();
    // Version 7: version 6 with the bundle details of sets (version, author, licence text).
    static std::shared_ptr<const pt::store::ObjectModel> version7();
    // Every version a store can be migrated from or to, oldest first.
    static QVector<std::shared_ptr<const pt::store::ObjectModel>> versions();

private:
    static std::shared_ptr<const pt::store::ObjectModel> taggedModel(const QString& name, int version,
                                                                    bool withSetDetails);
};
