#pragma once

#include "browser/PTBrowserTransfer.h"

// What the icon browser and the source list do with import and export: dropped files go to the file-open
// handler, copies and drags carry lazily exported files, "Copy As" offers the copy formats, the export sheet and
// presets export for real, the add-icons sheet imports, and the dragging manager follows drags.
class PTIconTransfer : public PTBrowserTransfer {
public:
    bool handlesURLs(const QList<QUrl>& urls) override;
    void queueItems(const QList<QUrl>& urls) override;
    QMimeData* mimeDataForItems(const QVector<PTItem*>& items, const QVector<Rendering>& renderings,
                                Use use) override;
    bool addCopyFormatEntries(QMenu* menu, const ItemsSource& items) override;
    void addPresetEntries(QMenu* menu, const ItemsSource& items) override;
    void presentExportSheet(const QVector<PTItem*>& items, int exportFormat) override;
    void presentExportSheet(const QVector<PTItem*>& items, const ExportOutput& output, QWidget* parent) override;
    void presentReplaceSheet(const QVector<PTItem*>& items,
                             std::function<void(const QVector<PTItem*>& replaced)> completion) override;
    void presentAddIconsSheet(const QList<QUrl>& urls, PTCollection* target) override;
    void beginDrag(const QPointF& point, QWidget* source) override;
    void moveDrag(const QPointF& point, QWidget* source) override;
    void endDrag() override;
};
