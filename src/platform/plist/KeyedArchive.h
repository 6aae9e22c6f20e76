#pragma once

#include "platform/runtime/Error.h"

#include <QColor>
#include <QString>
#include <QVariant>

#include <optional>
#include <utility>

namespace pt {

// Keyed archives: an object graph flattened into a "$objects" table that refers to itself by UIDs, with the root
// under "$top". Values are QVariant trees: strings, numbers, booleans and data stay as they are, arrays are
// QVariantList, string-keyed dictionaries QVariantMap, and any other archived object a QVariantMap of its fields
// with its class chain (most specific first) under "$classes". Each value is archived once per occurrence; the
// reader refuses UIDs out of range, reference cycles, deep nesting and archives that expand too far.
class KeyedArchive {
public:
    static inline const QString ErrorDomain = QStringLiteral("PTKeyedArchiveErrorDomain");
    static inline const QString ClassesKey = QStringLiteral("$classes");
    static constexpr int MaximumDepth = 64;
    static constexpr qint64 MaximumDecodedValues = 1 << 20;

    // The archive as a property list, ready for PropertyList::writeFile.
    static QVariant archivedRoot(const QVariant& root);
    static Result<QVariant> unarchivedRoot(const QVariant& archive);

    // A dictionary whose keys need not be strings (colours, say), as an archived object.
    static QVariant dictionaryObject(const QVariantList& keys, const QVariantList& values);
    // The key and value pairs of a dictionary read back: a string-keyed map or a dictionaryObject. Nothing for
    // any other value.
    static std::optional<QList<std::pair<QVariant, QVariant>>> dictionaryPairs(const QVariant& dictionary);

    // A colour as an archived object in device RGB.
    static QVariant colorObject(const QColor& color);
    // The colour of an archived colour object; nothing for any other value.
    static std::optional<QColor> colorFromObject(const QVariant& object);
};

} // namespace pt
