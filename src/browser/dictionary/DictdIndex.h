#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace pt {

// One line of a dictd index: where a headword's definition lies in the data file.
struct DictdRecord {
    QString headword;
    qint64 offset = 0;
    qint64 length = 0;
};

// The index of a dictd database: lines of "headword TAB offset TAB length", the numbers in dictd's base-64
// digits, and an optional fourth column with the headword as written when the first column is its search key.
// The file comes from outside: malformed lines are skipped, never trusted.
class DictdIndex {
public:
    // Index files larger than this are refused rather than read into memory.
    static constexpr qint64 MaxIndexBytes = qint64(64) << 20;
    // Longer records are refused: no definition is this long, and a forged length must not allocate.
    static constexpr qint64 MaxRecordLength = qint64(4) << 20;

    static DictdIndex fromBytes(QByteArrayView bytes);
    // Empty for a missing, unreadable or oversized file, and for anything but a regular file or a link to one.
    static std::optional<DictdIndex> fromFile(const QString& path);

    // dictd's number encoding ("A" = 0, "/" = 63, most significant digit first); nothing on a bad digit or overflow.
    static std::optional<qint64> decodeNumber(QByteArrayView digits);
    // The key lookups compare: lower case, letters, digits and single spaces only, as dictd orders its index.
    static QString foldedKey(const QString& text);

    // The records whose headword folds to the term's key, in index order.
    QList<DictdRecord> recordsFor(const QString& term) const;
    bool contains(const QString& term) const { return byKey_.contains(foldedKey(term)); }
    qsizetype size() const { return records_.size(); }

private:
    QList<DictdRecord> records_;
    QHash<QString, QList<qsizetype>> byKey_;
};

} // namespace pt
