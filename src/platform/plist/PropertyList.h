#pragma once

#include "platform/runtime/Error.h"

#include <QByteArray>
#include <QVariant>

namespace pt {

// Property lists (XML or binary) as QVariant trees: dictionaries are QVariantMap, arrays QVariantList, strings
// QString, integers qint64, reals double, booleans bool, dates QDateTime (UTC) and data QByteArray. A UID is a
// one-entry map {"CF$UID": qint64}, both ways.
class PropertyList {
public:
    enum class Format { Xml, Binary };
    static inline const QString ErrorDomain = QStringLiteral("PTPropertyListErrorDomain");
    // Files from outside are refused above this size rather than parsed.
    static constexpr qint64 MaximumInputSize = 64 * 1024 * 1024;
    // Arrays and dictionaries nest at most this deep, read or written; deeper lists are refused whole.
    static constexpr int MaximumDepth = 128;
    // A binary list may refer to one object many times, and reading copies it each time; a list that would become
    // more values than this, copies counted, is refused whole.
    static constexpr quint64 MaximumValues = 1000000;

    // Reads either format; anything that is not a whole property list is an error.
    static Result<QVariant> fromData(const QByteArray& data);
    static Result<QVariant> fromFile(const QString& path);
    // A value with no property-list form (an invalid QVariant, a map with non-string keys) is an error.
    static Result<QByteArray> toData(const QVariant& value, Format format = Format::Xml);
    // Writes through a temporary file renamed into place, so a reader sees the old or the new list, never half.
    static Result<void> writeFile(const QVariant& value, const QString& path, Format format = Format::Xml);
};

} // namespace pt
