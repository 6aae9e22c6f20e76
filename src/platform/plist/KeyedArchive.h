#pragma once

#include "platform/runtime/Error.h"

#include <QColor>
#include <QString>
#include <QVariant>

#include <optional>

namespace pt {

// Keyed archives: an object graph flattened into a "$objects" table that refers to itself by UIDs, with the root
// under "$top". Values are QVariant trees: strings, numbers, booleans and data stay as they are, arrays are
// QVariantList, string-keyed dictionaries QVariantMap, and any other archived object a QVariantMap of its fields
// with its class chain (most specific first) under "$classes". Each value is archived once per occurrence; the
// reader refuses UIDs out of range, reference cycles and deep nesting.
class KeyedArchive {
public:
    static inline const QString ErrorDomain = QStringLiteral("PTKeyedArchiveErrorDomain");
    static inline const QString ClassesKey = QStringLiteral("$classes");
    static constexpr int MaximumDepth = 64;

    // The archive as a property list, ready for PropertyList::writeFile.
    static QVariant archivedRoot(const QVariant& root);
    static Result<QVariant> unarchivedRoot(const QVariant& archive);

    // A colour as an archived object in device RGB.
    static QVariant colorObject(const QColor& color);
    // The colour of an archived colour object; nothing for any other value.
    static std::optional<QColor> colorFromObject(const QVariant& object);
};

} // namespace pt
