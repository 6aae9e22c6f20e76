#pragma once

#include <QUrl>
#include <QVector>

class PTItem;

// Checks that each item's file exists and decodes as the item's type: WebP through the WebP decoder, SVG through
// the SVG engine's parser, PDF by opening it and its first page, everything else as an image. The files are
// checked concurrently; the caller's thread waits for the result. A file found valid is not decoded again while
// its path, type, size and modification time stay the same.
//
// Made and used on the thread of the items' context (the main thread): the type and file location of every
// item are read there before the workers start, and the workers see only those.
class PTIconItegrityController {
public:
    explicit PTIconItegrityController(const QVector<PTItem*>& items);

    // Whether no item failed. Checks on the first call only; later calls answer the first result.
    bool checkIntegrity();
    // The items that failed and their file URLs, in the order in which they failed (one index in both).
    const QVector<PTItem*>& invalidItems() const { return invalidItems_; }
    const QVector<QUrl>& invalidURLs() const { return invalidURLs_; }

    // Whether the file decodes as that item type. Any thread.
    static bool isValidFile(qint64 type, const QString& path);

private:
    QVector<PTItem*> items_;
    QVector<PTItem*> invalidItems_;
    QVector<QUrl> invalidURLs_;
    bool checked_ = false;
    bool result_ = false;
};
