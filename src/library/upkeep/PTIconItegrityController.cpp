#include "library/upkeep/PTIconItegrityController.h"

#include "foundation/WebP.h"
#include "library/upkeep/PDFDocumentCheck.h"
#include "library/entities/PTItem.h"
#include "library/upkeep/PTSVGFileCheck.h"
#include "platform/graphics/ImageFileReader.h"
#include "platform/runtime/OperationQueue.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <algorithm>
#include <mutex>

namespace {

// A file found valid as a type, at the size and modification time it had then.
struct CheckedFile {
    qint64 type = 0;
    qint64 size = 0;
    qint64 modified = 0;
    bool operator==(const CheckedFile&) const = default;
};

// Files found valid, by path: showing the same icons again decodes nothing, while a file written since (another
// size or modification time) is decoded again. Failures are not kept.
std::mutex validFilesMutex;
QHash<QString, CheckedFile> validFiles;

bool isKnownValidOrValid(qint64 type, const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return false;
    const CheckedFile checked{type, info.size(), info.lastModified().toMSecsSinceEpoch()};
    {
        std::lock_guard lock(validFilesMutex);
        if (const auto found = validFiles.constFind(path); found != validFiles.cend() && *found == checked)
            return true;
    }
    if (!PTIconItegrityController::isValidFile(type, path))
        return false;
    std::lock_guard lock(validFilesMutex);
    validFiles.insert(path, checked);
    return true;
}

} // namespace

PTIconItegrityController::PTIconItegrityController(const QVector<PTItem*>& items) : items_(items)
{
    invalidItems_.reserve(items.size());
    invalidURLs_.reserve(items.size());
}

bool PTIconItegrityController::isValidFile(qint64 type, const QString& path)
{
    if (path.isEmpty())
        return false;
    switch (type) {
    case PTItem::WEBP: {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        pt::Error error;
        const QImage image = WebP::imageWithWebPData(file.readAll(), &error);
        return !image.isNull() && error.isNull();
    }
    case PTItem::SVG:
        return PTSVGFileCheck::check(path);
    case PTItem::PDF:
        return pdfDocumentCheck::hasFirstPage(path);
    default: {
        // Decoding the whole image, not just its header, is what finds a file cut short.
        pt::ImageFileReader file(path);
        return !file.reader().read().isNull();
    }
    }
}

bool PTIconItegrityController::checkIntegrity()
{
    if (checked_)
        return result_;
    struct Entry {
        qint64 type;
        QUrl url;
    };
    QVector<Entry> entries;
    entries.reserve(items_.size());
    for (PTItem* item : items_)
        entries.append({item->type(), item->fileURL()});

    std::mutex mutex;
    QVector<int> failed;
    {
        pt::OperationQueue queue(QStringLiteral("com.pictern.integrity"));
        queue.setSuspended(true);
        // Files go to the workers in batches: one operation per file costs more than checking a known one.
        constexpr int BatchSize = 64;
        for (int first = 0; first < entries.size(); first += BatchSize) {
            queue.addOperation([&, first] {
                const int end = std::min<int>(first + BatchSize, entries.size());
                for (int i = first; i < end; ++i) {
                    if (isKnownValidOrValid(entries[i].type, entries[i].url.toLocalFile()))
                        continue;
                    std::lock_guard lock(mutex);
                    failed.append(i);
                }
            });
        }
        queue.setSuspended(false);
        queue.waitUntilAllOperationsAreFinished();
    }
    for (int i : failed) {
        invalidItems_.append(items_[i]);
        invalidURLs_.append(entries[i].url);
    }
    checked_ = true;
    result_ = failed.isEmpty();
    return result_;
}
