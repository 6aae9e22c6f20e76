#include "transfer/export/PTExporter.h"

#include "library/entities/PTItem.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/OperationQueue.h"
#include "transfer/export/PTExportEncoder.h"
#include "transfer/export/PTExportFileWriter.h"
#include "transfer/export/PTExportSource.h"
#include "ui/PTPreferenceKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <mutex>
#include <optional>

struct PTExporter::State {
    QList<Item> items;
    QList<PTExportOutputOption> options;
    QString directory;
    std::unique_ptr<PTExportFileWriter> writer;
    std::mutex mutex;
    Result result;
    bool finished = false;
    std::unique_ptr<pt::OperationQueue> queue;

    void record(const QString& path)
    {
        std::lock_guard lock(mutex);
        if (path.isEmpty())
            ++result.failures;
        else
            result.paths.append(path);
    }

    void processItem(const Item& item, bool keepNames, bool tags, PTSVGExportOptions svgOptions)
    {
        std::optional<PTExportSource> source;
        for (const PTExportOutputOption& enabled : options) {
            // Each item measures on its own copy, so a suffix made from one item's size never names another's.
            PTExportOutputOption option = enabled;
            QByteArray data;
            QString extension;
            if (option.format == PTExportFormatOriginal) {
                QFile file(item.path);
                if (file.open(QIODevice::ReadOnly))
                    data = file.readAll();
                extension = QFileInfo(item.path).suffix();
            } else {
                if (!source)
                    source.emplace(item.path, item.type);
                const QSizeF size = option.proposedSizeFromOriginalSize(source->size());
                if (source->size().isEmpty() || !PTExportOutputOption::isWritableSize(size)) {
                    record({});
                    continue;
                }
                option.setProposedSize(size);
                const PTExportSource::Object object = source->objectForOption(option, size);
                if (!object.isNull())
                    data = PTExportEncoder::dataForOption(option, object, size, svgOptions);
                extension = PTExportEncoder::extensionForOutputFormat(option.format);
            }
            if (data.isEmpty()) {
                record({});
                continue;
            }
            const QString path = PTExportFileWriter::relativePath(option.prefix, item.name, option.suffix, extension,
                                                                  keepNames);
            record(writer->write(path, data, tags ? item.tags : QStringList()));
        }
    }
};

QList<PTExporter::Item> PTExporter::itemsFrom(const QList<PTItem*>& items)
{
    QList<Item> snapshot;
    for (PTItem* item : items) {
        QStringList tags = item->tagsString().split(QLatin1Char(','), Qt::SkipEmptyParts);
        snapshot.append({item->fileURL().toLocalFile(), item->name(), tags, item->type()});
    }
    return snapshot;
}

PTExporter::PTExporter(QList<Item> items, const PTExportOutputOptionSet& set, const QString& directory)
    : tagsFiles(pt::Defaults::standard().boolForKey(PTPreferenceKeys::ExportTagFile)),
      useOriginalNames(pt::Defaults::standard().boolForKey(PTPreferenceKeys::ExportKeepOriginalNames)),
      threadCount(QThread::idealThreadCount()),
      state_(std::make_shared<State>())
{
    state_->items = std::move(items);
    for (const PTExportOutputOption& option : set.outputOptions())
        if (option.enabled)
            state_->options.append(option);
    state_->directory = directory;
}

PTExporter::~PTExporter() = default;

bool PTExporter::isFinished() const
{
    std::lock_guard lock(state_->mutex);
    return state_->finished;
}

void PTExporter::begin()
{
    if (!pt::Defaults::standard().boolForKey(PTPreferenceKeys::ExportSVGRemoveWidthHeight))
        svgOptions &= ~PTSVGExport::RemoveWidthHeight;
    state_->writer = std::make_unique<PTExportFileWriter>(state_->directory);
    const bool keepNames = useOriginalNames, tags = tagsFiles;
    const PTSVGExportOptions svg = svgOptions;
    const auto finish = [state = state_, handler = completionHandler] {
        Result result;
        {
            std::lock_guard lock(state->mutex);
            state->finished = true;
            result = state->result;
        }
        if (handler)
            handler(result);
    };
    if (!asynchronous) {
        for (const Item& item : state_->items)
            state_->processItem(item, keepNames, tags, svg);
        finish();
        return;
    }
    state_->queue = std::make_unique<pt::OperationQueue>(QStringLiteral("com.pictern.exporter"));
    state_->queue->setMaxConcurrentOperationCount(std::max(1, threadCount));
    for (const Item& item : state_->items) {
        state_->queue->addOperation([state = state_.get(), item, keepNames, tags, svg] {
            state->processItem(item, keepNames, tags, svg);
        });
    }
    state_->queue->notifyWhenEmpty(finish);
}
