#include "browser/dictionary/DictdIndex.h"

#include "foundation/RegularFile.h"
#include "platform/runtime/Logging.h"

#include <array>

namespace pt {

namespace {

int digitValue(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

// Offsets and lengths past this cannot be real (dictd's own data files stay far below it).
constexpr qint64 MaxNumber = qint64(1) << 40;

// A record's fields: headword, offset, length and, optionally, the headword as written.
constexpr qsizetype MinFields = 3;
constexpr qsizetype MaxFields = 4;
using Fields = std::array<QByteArrayView, MaxFields>;

// Splits the line at its tabs into the fields of a record; answers how many, or 0 when it has fewer or more than a
// record has. The walk stops at the first field too many, so a line of millions of tabs costs what a short one does.
qsizetype splitFields(QByteArrayView line, Fields& fields)
{
    qsizetype count = 0;
    qsizetype start = 0;
    for (;;) {
        if (count == MaxFields)
            return 0;
        const qsizetype tab = line.indexOf('\t', start);
        fields[count++] = line.sliced(start, (tab < 0 ? line.size() : tab) - start);
        if (tab < 0)
            return count < MinFields ? 0 : count;
        start = tab + 1;
    }
}

} // namespace

std::optional<qint64> DictdIndex::decodeNumber(QByteArrayView digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const char c : digits) {
        const int digit = digitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 64 + digit;
        if (value > MaxNumber)
            return std::nullopt;
    }
    return value;
}

QString DictdIndex::foldedKey(const QString& text)
{
    QString key;
    key.reserve(text.size());
    bool pendingSpace = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            pendingSpace = !key.isEmpty();
        } else if (c.isLetterOrNumber()) {
            if (pendingSpace)
                key += QLatin1Char(' ');
            pendingSpace = false;
            key += c.toLower();
        }
    }
    return key;
}

DictdIndex DictdIndex::fromBytes(QByteArrayView bytes)
{
    DictdIndex index;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line = bytes.sliced(start, end - start).trimmed();
        start = end + 1;
        Fields fields;
        const qsizetype count = splitFields(line, fields);
        if (count == 0)
            continue;
        const std::optional<qint64> offset = decodeNumber(fields[1]);
        const std::optional<qint64> length = decodeNumber(fields[2]);
        const QString headword = QString::fromUtf8(count == MaxFields ? fields[3] : fields[0]).trimmed();
        const QString key = foldedKey(QString::fromUtf8(fields[0]));
        if (!offset || !length || *length > MaxRecordLength || headword.isEmpty() || key.isEmpty())
            continue;
        index.byKey_[key].append(index.records_.size());
        index.records_.append({headword, *offset, *length});
    }
    return index;
}

std::optional<DictdIndex> DictdIndex::fromFile(const QString& path)
{
    // Installed dictionaries may be links, but only to regular files: a pipe would block and a device never end.
    const pt::Result<QByteArray> bytes = regularFile::read(path, MaxIndexBytes, regularFile::Links::Follow);
    if (!bytes) {
        qCWarning(lcBrowser) << "dictionary index not read:" << path << bytes.error().toString();
        return std::nullopt;
    }
    return fromBytes(*bytes);
}

QList<DictdRecord> DictdIndex::recordsFor(const QString& term) const
{
    QList<DictdRecord> records;
    for (const qsizetype i : byKey_.value(foldedKey(term)))
        records.append(records_[i]);
    return records;
}

} // namespace pt
