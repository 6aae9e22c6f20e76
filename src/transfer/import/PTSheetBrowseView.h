#pragma once

#include "library/ImportTyping.h"
#include "ui/controls/PTSegmentedControl.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>

class QMimeData;

// The browse-and-drop well of import sheets: one segment that opens an open panel (choosing files, folders and
// bundles), takes dropped local files (those the import would take), and shows how many items it holds.
class PTSheetBrowseView : public PTSegmentedControl {
    Q_OBJECT
public:
    static inline const QString EmptyLabel = QStringLiteral("Browse Icons...");
    static inline const QString Label = QStringLiteral("Browse Icons");
    static inline const QString BundleExtension = QStringLiteral("pictern");

    explicit PTSheetBrowseView(QWidget* parent = nullptr);

    void setAllowedFileTypes(const QStringList& extensions) { allowedFileTypes_ = extensions; }
    QStringList allowedFileTypes() const { return allowedFileTypes_; }
    // The options drops are validated with.
    void setOptionsProvider(std::function<PTImportOptions()> provider) { optionsProvider_ = std::move(provider); }
    void setUrlHandler(std::function<void(const QList<QUrl>& urls)> handler) { urlHandler_ = std::move(handler); }
    // On: the panel picks one file and drops give their first file; folders and bundles are refused.
    void setAcceptsOneFileOnly(bool on) { oneFileOnly_ = on; }

    QList<QUrl> paths() const { return paths_; }
    // A bundle among the URLs becomes the only content; otherwise all of them.
    void setPathURLs(const QList<QUrl>& urls);
    void presentOpenDialog();
    void recalcSublabel();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static QStringList droppedPaths(const QMimeData* data);
    // The paths the import would take (under the sheet's options), bundles kept.
    QStringList acceptedPaths(const QStringList& paths) const;

    QList<QUrl> paths_;
    QStringList allowedFileTypes_;
    std::function<PTImportOptions()> optionsProvider_;
    std::function<void(const QList<QUrl>&)> urlHandler_;
    bool oneFileOnly_ = false;
};
