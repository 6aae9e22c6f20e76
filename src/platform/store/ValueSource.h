#pragma once

#include "platform/store/ObjectID.h"

#include <QVariant>

namespace pt::store {

// What a predicate reads of one object when it is evaluated in memory: an object of a context, or a row that a
// child pushed into its parent.
class ValueSource {
public:
    virtual ~ValueSource() = default;
    virtual ObjectID selfID() const = 0;
    virtual QVariant attributeValue(int attribute) const = 0;
    virtual ObjectID targetID(int relationship) const = 0;
};

} // namespace pt::store
