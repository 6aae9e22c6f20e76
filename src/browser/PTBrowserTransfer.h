#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QObject>
#include <QVariant>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class PTCollection;
class PTItem;
class QMenu;
class QMimeData;
class QPointF;
class QWidget;

// What the icon browser asks of import and export: whether dropped files are taken and queuing them, the data
// of items for copy and drag, the copy formats, the export, replace and add-icons sheets, the presets and the
// dragging manager. The transfer subsystem installs its implementation at start-up; tests install fakes.
class PTBrowserTransfer {
public:
    // How the icons of a copy or a drag are rendered.
    struct Rendering {
        QColor color;         // invalid: the icons' own colours
        QSizeF size;          // empty: the icons' own sizes
        bool internalRenderer = false;
        // An export format number (PNG 0 ... EPS 9) written in the size text's size ("32s", "2x", "48w"; empty:
        // the icon's own), with colours replaced and the size appended to file names when asked; -1 leaves the
        // file to the colour and size above.
        qint64 format = -1;
        QString sizeFormat;
        std::optional<QHash<QRgb, QColor>> replacementColors;
        bool appendSizeSuffix = false;
    };
    // Drags that only leave the application (the inspector's preview) carry this property, true, on their
    // source; our drop targets refuse them.
    static inline const char* const DragOutOnlyProperty = "pictern.dragOutOnly";
    static bool isDragOutOnly(const QObject* source) { return source && source->property(DragOutOnlyProperty).toBool(); }
    // One export output: the size text ("512s": 512 pixels) and the colour filled into one-colour icons
    // (invalid: their own colours).
    struct ExportOutput {
        QString sizeText;
        QColor fillColor;
    };
    // Answers the items at the time an entry is chosen.
    using ItemsSource = std::function<QVector<PTItem*>()>;
    // A clipboard copy also offers the files to file managers' paste; a drag offers them by URL alone.
    enum class Use { Drag, Clipboard };
    // The type of dragged and copied icons, both in the grid and in the source list: their object URIs.
    static inline const QString ItemType = QStringLiteral("application/x-com.pictern.pasteboard.type.item");

    virtual ~PTBrowserTransfer() = default;
    // The file-open handler: whether it takes any of the files, and taking them (it decides the target set).
    virtual bool handlesURLs(const QList<QUrl>& urls) = 0;
    virtual void queueItems(const QList<QUrl>& urls) = 0;
    // One QMimeData for all the items: text/uri-list of their files, one per item and rendering in that order
    // (rendered when first read), and ItemType with their object URIs. The caller owns it.
    virtual QMimeData* mimeDataForItems(const QVector<PTItem*>& items, const QVector<Rendering>& renderings,
                                        Use use) = 0;
    // The "Copy As" entries for the items; answers whether it added any.
    virtual bool addCopyFormatEntries(QMenu* menu, const ItemsSource& items) = 0;
    // The export presets, each exporting the items directly.
    virtual void addPresetEntries(QMenu* menu, const ItemsSource& items) = 0;
    // The export sheet for the items: with no format the user picks the outputs, else one output of that
    // export format.
    virtual void presentExportSheet(const QVector<PTItem*>& items, int exportFormat = -1) = 0;
    // The export sheet on the window of `parent` for the items, starting from a preset of that one output.
    virtual void presentExportSheet(const QVector<PTItem*>& items, const ExportOutput& output, QWidget* parent) = 0;
    // Posted with no object once a replacement has replaced at least one item; ReplacedItemsKey lists them
    // (ManagedObject*). Grids redraw those they show.
    static inline const QString ItemsWereReplacedNotification = QStringLiteral("PTItemsWereReplacedNotification");
    static inline const QString ReplacedItemsKey = QStringLiteral("items");
    // The replace sheet; the completion gets the items whose files were replaced.
    virtual void presentReplaceSheet(const QVector<PTItem*>& items,
                                     std::function<void(const QVector<PTItem*>& replaced)> completion) = 0;
    // The add-icons sheet with the files: into the set, or with no set (the user chooses).
    virtual void presentAddIconsSheet(const QList<QUrl>& urls, PTCollection* target) = 0;
    // The dragging manager follows a drag of items out of the grid or a preview: points are global, the source is
    // the dragging widget, whose window may be hidden on the way out.
    virtual void beginDrag(const QPointF& point, QWidget* source) = 0;
    virtual void moveDrag(const QPointF& point, QWidget* source) = 0;
    virtual void endDrag() = 0;

    // The ItemType payload: the object URIs in UTF-8, one a line; and back, blank lines skipped.
    static QByteArray itemPayload(const QStringList& uris);
    static QStringList itemURIs(const QByteArray& payload);

    static void install(std::shared_ptr<PTBrowserTransfer> transfer);
    static std::shared_ptr<PTBrowserTransfer> installed();
};
