#pragma once

#include "platform/runtime/Error.h"

#include <QByteArray>

namespace pt {

// Checks the shape of a property list before it is parsed, for what the parser would follow without limit: arrays
// and dictionaries nested deeper than PropertyList::MaximumDepth and, in binary lists, references outside the
// object table or in a cycle, and shared objects that would expand into more than PropertyList::MaximumValues
// values. Walks with a stack of its own, at most MaximumDepth deep, and keeps a byte per binary object and a count
// per container it finished (at most MaximumValues of them).
class PropertyListScan {
public:
    static Result<void> check(const QByteArray& data);

private:
    static Result<void> checkBinary(const QByteArray& data);
    static Result<void> checkXml(const QByteArray& data);
};

} // namespace pt
