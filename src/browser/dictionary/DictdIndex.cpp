#include "browser/dictionary/DictdIndex.h"

#include <QFile>

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

DictdIndex DictdIndex::fromBytes(const QByteArray& bytes)
{
    DictdIndex index;
    for (const QByteArray& line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split('\t');
        if (fields.size() < 3 || fields.size() > 4)
            continue;
        const std::optional<qint64> offset = decodeNumber(fields[1]);
        const std::optional<qint64> length = decodeNumber(fields[2]);
        const QString headword = QString::fromUtf8(fields.size() == 4 ? fields[3] : fields[0]).trimmed();
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxIndexBytes)
        return std::nullopt;
    const QByteArray bytes = file.read(MaxIndexBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return fromBytes(bytes);
}

QList<DictdRecord> DictdIndex::recordsFor(const QString& term) const
{
    QList<DictdRecord> records;
    for (const qsizetype i : byKey_.value(foldedKey(term)))
        records.append(records_[i]);
    return records;
}

} // namespace pt
