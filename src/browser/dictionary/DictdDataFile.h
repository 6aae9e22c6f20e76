#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QFile;

namespace pt {

struct DictdRecord;

// The data file of a dictd database: plain text (NAME.dict) or dictzip (NAME.dict.dz), a gzip stream whose
// extra field lists independently inflatable chunks so that one definition is read without inflating the rest.
// A gzip file without that table is inflated whole once for each read of a set of records, within a size limit;
// nothing of it is kept between reads, so a rarely used dictionary holds no memory.
class DictdDataFile {
public:
    // Compressed files without a chunk table, and their inflated text, are refused beyond this.
    static constexpr qint64 MaxWholeBytes = qint64(64) << 20;

    // Empty when the file is missing, is neither a regular file nor a link to one, or its gzip header or chunk
    // table is malformed.
    static std::optional<DictdDataFile> open(const QString& path);

    // The definitions of the records, in their order: each empty when its range runs past the data or the data
    // it needs is corrupt. The file is opened once for all of them.
    QList<std::optional<QByteArray>> read(const QList<DictdRecord>& records) const;

private:
    enum class Kind { Plain, Chunked, Gzip };

    std::optional<QByteArray> readChunked(QFile& file, qint64 offset, qint64 length) const;
    QList<std::optional<QByteArray>> readWhole(const QList<DictdRecord>& records) const;

    QString path_;
    Kind kind_ = Kind::Plain;
    qint64 chunkLength_ = 0;
    // File offset of each chunk's compressed bytes, and one past the last chunk's end.
    QList<qint64> chunkStarts_;
};

} // namespace pt
