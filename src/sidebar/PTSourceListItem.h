#pragma once

#include "platform/store/ObservationToken.h"

#include <QString>

#include <memory>
#include <vector>

namespace pt::store {
class ManagedObject;
}

// One row of the source list. Rows are owned by their parent (the top level by the model), so the pointers the
// model hands out as internal pointers stay valid until the next rebuild.
class PTSourceListItem {
public:
    enum class Kind { Spacer, All, Header, Object };

    static inline const QString AllIdentifier = QStringLiteral("PTSourceListItemAllIdentifier");
    static inline const QString GroupIdentifier = QStringLiteral("PTSourceListItemGroupIdentifier");

    PTSourceListItem(Kind kind, QString identifier, pt::store::ManagedObject* object, PTSourceListItem* parent,
                     int row, int height);

    Kind kind() const { return kind_; }
    // The object's URI string, a fixed identifier for "All" and the header, empty for spacers.
    const QString& identifier() const { return identifier_; }
    pt::store::ManagedObject* underlyingObject() const { return object_; }
    PTSourceListItem* parent() const { return parent_; }
    int row() const { return row_; }
    int height() const { return height_; }
    // Read live from the object, so that a rename shows at once.
    QString title() const;
    bool isGroupObject() const { return group_; }
    bool isMiscellaneous() const { return miscellaneous_; }
    // A set or group row: renamable, draggable, with a menu of its own.
    bool isObject() const { return kind_ == Kind::Object; }
    bool isSelectable() const { return kind_ == Kind::All || kind_ == Kind::Object; }

    // The children of a group row, built on first use.
    bool childrenLoaded() const { return loaded_; }
    std::vector<std::unique_ptr<PTSourceListItem>>& children() { return children_; }
    void setChildrenLoaded() { loaded_ = true; }
    void setNameObservation(pt::store::ObservationToken token) { nameObservation_ = std::move(token); }

private:
    Kind kind_;
    QString identifier_;
    pt::store::ManagedObject* object_;
    PTSourceListItem* parent_;
    int row_;
    int height_;
    // Asked for every row on each layout: decided once.
    bool group_;
    bool miscellaneous_;
    bool loaded_ = false;
    std::vector<std::unique_ptr<PTSourceListItem>> children_;
    pt::store::ObservationToken nameObservation_;
};
