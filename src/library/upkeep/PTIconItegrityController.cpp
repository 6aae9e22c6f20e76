#include "library/upkeep/PTIconItegrityController.h"

#include "foundation/WebP.h"
#include "library/upkeep/PDFDocumentCheck.h"
#include "library/entities/PTItem.h"
#include "library/upkeep/PTSVGFileCheck.h"
#include "platform/runtime/OperationQueue.h"

#include <QFile>
#include <QImageReader>

#include <mutex>

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
        QImageReader reader(path);
        return !reader.read().isNull();
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
        for (int i = 0; i < entries.size(); ++i) {
            queue.addOperation([&, i] {
                if (isValidFile(entries[i].type, entries[i].url.toLocalFile()))
                    return;
                std::lock_guard lock(mutex);
                failed.append(i);
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
