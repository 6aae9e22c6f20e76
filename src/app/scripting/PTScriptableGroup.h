#pragma once

#include "app/scripting/PTScriptableCollection.h"

#include <QString>
#include <QVector>

#include <optional>
#include <variant>

class PTGroup;

// A group as scripts see it: a snapshot of its name, sort and object URI, made afresh for every request. The
// stored group is found again only through its URI, so a deleted group or another library's URI resolves to
// nothing rather than to a stale object.
class PTScriptableGroup {
public:
    using Child = std::variant<PTScriptableGroup, PTScriptableCollection>;

    static PTScriptableGroup scriptableGroupFromGroup(PTGroup* group);

    QString name;
    qint64 sort = -1; // -1: never set
    QString UUID;

    // The stored group, or null when the URI names none of the main context's groups.
    PTGroup* model() const;
    std::optional<PTScriptableGroup> group() const;
    // The direct children, groups and sets in their order.
    QVector<Child> children() const;
    // The direct child groups.
    QVector<PTScriptableGroup> groups() const;
    // The sets inside the group at any depth.
    QVector<PTScriptableCollection> collections() const;
};
