#pragma once

#include "transfer/export/PTExportOutputOption.h"
#include "transfer/export/PTExporter.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class PTItem;

// One icon on the clipboard or in a drag: its file and its object URI. The file is the library's own unless a
// colour, a size, replacement colours or (for an SVG) the internal renderer ask for a copy exported for the
// occasion. The export runs when data is first asked for, at most once, synchronously on the main thread.
class PTPasteboardItemProvider {
public:
    static inline const QString FileURLType = QStringLiteral("text/uri-list");
    // Exports go to a folder of this name in the user's runtime folder (else the cache), one subfolder per second.
    static inline const QString FolderName = QStringLiteral("com.pictern.Pictern.pasteboard");

    // Takes what it needs of the item now: the item may be gone by the time a receiver asks for the data.
    explicit PTPasteboardItemProvider(PTItem* item);

    QColor color;
    std::optional<QHash<QRgb, QColor>> replacementColors;
    QSizeF size;
    // An explicit size in the export size grammar ("24x12", "2x"); wins over size.
    QString sizeFormat;
    // A PTExportFormat; -1 chooses by the item's type.
    qint64 outputFormat = -1;
    bool useInternalRenderer = false;
    // May adjust the output before the export.
    std::function<void(PTExportOutputOption&)> exportOptionHandler;

    // The file-URL type, then the item type, less the excluded ones.
    QStringList writableTypes(const QStringList& excluding = {}) const;
    // Exports first (once); then what propertyListForType answers.
    QByteArray dataForType(const QString& type);
    // The object URI in UTF-8 for the item type, the encoded file URL for the file-URL type, else nothing.
    // Never exports.
    QByteArray propertyListForType(const QString& type) const;
    // The exported file, else the item's own; empty when the export it needed could not be made, since the
    // item's own file would carry neither the colour nor the size asked for.
    QUrl fileURL() const;
    qint64 format() const;
    void prepare();
    bool isPrepared() const { return prepared_; }

    // The folder for exports made now, private to the user; empty when it cannot be made.
    static QString exportFolder();

private:
    bool needsExport() const;
    PTExportOutputOption outputOption() const;

    PTExporter::Item item_;
    QString uri_;
    QUrl ownFileURL_;
    QUrl exportedURL_;
    bool prepared_ = false;
    bool exportFailed_ = false;
};
