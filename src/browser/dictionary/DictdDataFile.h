#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace pt {

// The data file of a dictd database: plain text (NAME.dict) or dictzip (NAME.dict.dz), a gzip stream whose
// extra field lists independently inflatable chunks so that one definition is read without inflating the rest.
// A gzip file without that table is inflated whole for each read, within a size limit.
class DictdDataFile {
public:
    // Compressed files without a chunk table, and their inflated text, are refused beyond this.
    static constexpr qint64 MaxWholeBytes = qint64(64) << 20;

    // Empty when the file is missing or its gzip header or chunk table is malformed.
    static std::optional<DictdDataFile> open(const QString& path);

    // The bytes [offset, offset + length); empty when the range runs past the data or the data is corrupt.
    std::optional<QByteArray> read(qint64 offset, qint64 length) const;

private:
    enum class Kind { Plain, Chunked, Gzip };

    std::optional<QByteArray> readChunked(qint64 offset, qint64 length) const;
    std::optional<QByteArray> readWhole(qint64 offset, qint64 length) const;

    QString path_;
    Kind kind_ = Kind::Plain;
    qint64 chunkLength_ = 0;
    // File offset of each chunk's compressed bytes, and one past the last chunk's end.
    QList<qint64> chunkStarts_;
};

} // namespace pt
