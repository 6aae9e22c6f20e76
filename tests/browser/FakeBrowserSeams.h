#pragma once

#include "browser/PTBrowserShell.h"
#include "browser/PTBrowserSidebar.h"
#include "browser/PTBrowserTransfer.h"
#include "library/entities/PTItem.h"
#include "library/upkeep/PTImportValidation.h"

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QStringList>

// Fakes of the browser's seams that record what they are asked; the real ones live in higher subsystems.
class FakeBrowserShell : public PTBrowserShell {
public:
    QWidget* window = nullptr;
    qint64 type = 1;
    PTLicence* licence = nullptr;
    QColor color;
    QAction darkItem{QStringLiteral("Dark")};
    QAction hoverItem{QStringLiteral("Hover")};
    QStringList calls;
    QList<QList<QUrl>> revealed;

    QWidget* mainWindow() override { return window; }
    qint64 selectedType() override { return type; }
    PTLicence* selectedLicence() override { return licence; }
    void clearSelectedType() override
    {
        calls << QStringLiteral("clear");
        type = 1;
        licence = nullptr;
    }
    QColor iconColor() override { return color; }
    void recalculateGridViewOptionsWidth() override { calls << QStringLiteral("refit"); }
    QAction* darkModeMenuItem() override { return &darkItem; }
    QAction* gridViewHoverLabelsMenuItem() override { return &hoverItem; }
    void addActionAfterFind(QAction*) override {}
    void presentPreferences(const QString& identifier) override { calls << QStringLiteral("prefs ") + identifier; }
    void showFileURLsInFinder(const QList<QUrl>& urls) override { revealed << urls; }
};

class FakeBrowserTransfer : public PTBrowserTransfer {
public:
    bool handles = true;
    QList<QUrl> queued;
    QList<QUrl> sheetURLs;
    PTCollection* sheetTarget = nullptr;
    int sheets = 0;
    QStringList calls;
    QVector<PTItem*> exported;
    int exportFormat = -2;
    ExportOutput exportOutput;
    QWidget* exportParent = nullptr;
    QVector<Use> uses;

    bool handlesURLs(const QList<QUrl>& urls) override { return handles && !urls.isEmpty(); }
    void queueItems(const QList<QUrl>& urls) override { queued += urls; }
    QMimeData* mimeDataForItems(const QVector<PTItem*>& items, const QVector<Rendering>&, Use use) override
    {
        auto* data = new QMimeData;
        QStringList uris;
        QList<QUrl> files;
        for (PTItem* item : items) {
            uris << item->objectID().uriString();
            files << item->fileURL();
        }
        data->setUrls(files);
        data->setData(ItemType, itemPayload(uris));
        uses << use;
        return data;
    }
    bool addCopyFormatEntries(QMenu* menu, const ItemsSource&) override
    {
        menu->addAction(QStringLiteral("SVG Code"));
        return true;
    }
    void addPresetEntries(QMenu* menu, const ItemsSource& items) override
    {
        QAction* action = menu->addAction(QStringLiteral("Web"));
        QObject::connect(action, &QAction::triggered, [this, items] { exported = items(); });
    }
    void presentExportSheet(const QVector<PTItem*>& items, int format) override
    {
        exported = items;
        exportFormat = format;
    }
    void presentExportSheet(const QVector<PTItem*>& items, const ExportOutput& output, QWidget* parent) override
    {
        exported = items;
        exportOutput = output;
        exportParent = parent;
    }
    void presentReplaceSheet(const QVector<PTItem*>& items,
                             std::function<void(const QVector<PTItem*>&)> completion) override
    {
        completion(items);
    }
    void presentAddIconsSheet(const QList<QUrl>& urls, PTCollection* target) override
    {
        ++sheets;
        sheetURLs = urls;
        sheetTarget = target;
    }
    void beginDrag(const QPointF&, QWidget*) override { calls << QStringLiteral("begin"); }
    void moveDrag(const QPointF&, QWidget*) override {}
    void endDrag() override { calls << QStringLiteral("end"); }
};

class FakeBrowserSidebar : public PTBrowserSidebar {
public:
    PTCollection* current = nullptr;
    QVector<PTCollection*> inspectedSets;
    QVector<PTItem*> inspectedItems;
    int setsCalls = 0;
    int reloads = 0;
    Objects selected;
    // What the source list has selected.
    Objects sourceSelection;
    QStringList calls;

    PTCollection* currentCollection() override { return current; }
    Objects selectedGroupsAndCollections() override { return sourceSelection; }
    void selectItems(const Objects& objects, bool, std::function<void()> completion) override
    {
        selected = objects;
        if (completion)
            completion();
    }
    void forceSelectionPropagation(const std::function<void()>& block) override { block(); }
    void beginEditForManagedObject(pt::store::ManagedObject*) override { calls << QStringLiteral("edit"); }
    void setInspectedCollections(const QVector<PTCollection*>& sets, const Objects&) override
    {
        ++setsCalls;
        inspectedSets = sets;
    }
    void setInspectedItems(const QVector<PTItem*>& items, bool) override { inspectedItems = items; }
    void reloadInspector() override { ++reloads; }
    bool beginEditingItemName() override
    {
        calls << QStringLiteral("rename");
        return true;
    }
    // Set to keep the completion of the inspector's save, which then runs when the test says so.
    std::function<void(std::function<void()>)> holdEditSaves;
    void saveInspectedItemEdits(std::function<void()> completion) override
    {
        if (holdEditSaves)
            holdEditSaves(std::move(completion));
        else
            completion();
    }
    QString applicationForFiles(const QList<QUrl>&) override { return {}; }
    void openFilesInApplication(const QList<QUrl>&, const QString&) override {}
    // Names its one application; opens when clicked.
    class FakeOpenInControl : public OpenInControl {
    public:
        using OpenInControl::OpenInControl;
        QList<QUrl> files;
        void setFileURLs(const QList<QUrl>& urls) override { files = urls; }
        QString selectedApplication() const override { return QStringLiteral("org.example.Viewer.desktop"); }
        void click() const { open(); }
    };
    FakeOpenInControl* openIn = nullptr;
    OpenInControl* makeOpenInControl(QWidget* parent) override { return openIn = new FakeOpenInControl(parent); }
};

// Takes the files whose names end in ".svg".
class SvgOnlyValidation : public PTImportValidation {
public:
    QStringList validateURLStrings(const QStringList& paths, quint64) const override
    {
        QStringList accepted;
        for (const QString& path : paths) {
            if (path.endsWith(QStringLiteral(".svg")))
                accepted << path;
        }
        return accepted;
    }
};
