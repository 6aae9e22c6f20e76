#pragma once

#include <QString>

#include <optional>

class PTCollection;
class PTScriptableGroup;

// A set as scripts see it: a snapshot of its name, sort and object URI, made afresh for every request. The stored
// set is found again only through its URI, so a deleted set or another library's URI resolves to nothing.
class PTScriptableCollection {
public:
    static PTScriptableCollection scriptableCollectionFromCollection(PTCollection* collection);

    QString name;
    qint64 sort = -1; // -1: never set
    QString UUID;

    // The stored set, or null when the URI names none of the main context's sets.
    PTCollection* model() const;
    // The set's parent group; none at the top level or when the set is gone.
    std::optional<PTScriptableGroup> group() const;
};
