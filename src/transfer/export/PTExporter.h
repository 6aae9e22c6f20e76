#pragma once

#include "svg/write/PTSVGExportOptions.h"
#include "transfer/export/PTExportOutputOptionSet.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class PTItem;

// Writes files for icons: for every item and every enabled output of a preset it loads the item's file at the
// output's size, recolours and centres it, encodes it and writes it into the target folder under a name made
// of the output's prefix, the item's name and the output's suffix. Items load and render in parallel on
// QThread::idealThreadCount() workers; only naming and writing share one process-wide lock.
class PTExporter {
public:
    // What the workers need of an item, taken on the main thread.
    struct Item {
        QString path;
        QString name;
        QStringList tags;
        qint64 type = 0;
    };
    static QList<Item> itemsFrom(const QList<PTItem*>& items);

    // Whatever was written, in the order written, and how many outputs could not be written (unreadable
    // sources, sizes outside 1..16384 px, encoder or write failures).
    struct Result {
        QStringList paths;
        int failures = 0;
    };
    using CompletionHandler = std::function<void(const Result& result)>;

    // Keeps a copy of the set (only its own outputs are used) and reads the export preferences.
    PTExporter(QList<Item> items, const PTExportOutputOptionSet& set, const QString& directory);
    ~PTExporter();

    // False runs the whole export inside begin().
    bool asynchronous = true;
    bool tagsFiles = false;
    bool useOriginalNames = true;
    PTSVGExportOptions svgOptions = PTSVGExport::ExportOptions;
    int threadCount;
    // Called once on the main queue (directly when not asynchronous).
    CompletionHandler completionHandler;

    void begin();
    bool isFinished() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};
