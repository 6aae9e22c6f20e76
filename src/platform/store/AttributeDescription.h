#pragma once

#include <QString>

namespace pt::store {

// Column types: text, integers, reals, dates (stored as REAL Unix seconds, UTC) and booleans (INTEGER 0/1).
enum class AttributeType { String, Int64, Double, Date, Bool };

// One stored attribute of an entity; its column has the attribute's name.
struct AttributeDescription {
    QString name;
    AttributeType type = AttributeType::String;
    // The text is kept in search normal form (foldWidthCaseAndDiacritics) by whoever writes it, so CONTAINS[cd]
    // compares it without folding.
    bool folded = false;
    bool indexed = false;
};

} // namespace pt::store
