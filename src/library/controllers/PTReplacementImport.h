#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class PTCollection;
class PTItem;

// What replacing an item's file asks of the import path: bring one file into a set as a new item, show the files
// it could not read, and drop what was drawn from a replaced file. The import subsystem installs its
// implementation at start-up; until then no file can replace an item's.
class PTReplacementImport {
public:
    struct Unreadable {
        QString path;
        QString reason;
    };
    struct Result {
        // The new items, in the main context, in import order.
        QVector<PTItem*> items;
        // The files no icon could be made of, each with the reason.
        QVector<Unreadable> unreadable;
    };
    using Completion = std::function<void(const Result& result)>;

    virtual ~PTReplacementImport() = default;
    // Imports the files into the set under the option bits and calls the completion once, on the main thread; the
    // implementation keeps the import alive until then.
    virtual void importPaths(const QStringList& paths, PTCollection* set, quint64 options, Completion completion) = 0;
    // The sheet that lists the files no icon could be made of, on the main window; returns once it is closed.
    virtual void presentCorruptImages(const QVector<Unreadable>& files) = 0;
    // Forgets the thumbnails drawn from the item's file, which now holds other contents.
    virtual void purgeImagesOfItem(PTItem* item) = 0;

    static void install(std::shared_ptr<PTReplacementImport> import);
    static std::shared_ptr<PTReplacementImport> installed();
};
