#include "transfer/import/PTSheetBrowseView.h"

#include "library/bundle/PTTernImporter.h"
#include "library/upkeep/PTLibraryShell.h"
#include "transfer/import/PTPasteBoard.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

PTSheetBrowseView::PTSheetBrowseView(QWidget* parent) : PTSegmentedControl(parent)
{
    setSegmentCount(1);
    setSublabeledFromMenus(true);
    setAccessibleName(QStringLiteral("Browse Icons"));
    setAcceptDrops(true);
    setAutoCalculatesFrame(true);
    connect(this, &PTToolbarSegmentedControl::action, this, [this] { presentOpenDialog(); });
    recalcSublabel();
}

void PTSheetBrowseView::setPathURLs(const QList<QUrl>& urls)
{
    const auto bundle = std::find_if(urls.begin(), urls.end(), [](const QUrl& url) {
        return QFileInfo(url.toLocalFile()).suffix().compare(BundleExtension, Qt::CaseInsensitive) == 0;
    });
    paths_ = bundle != urls.end() ? QList<QUrl>{*bundle} : urls;
    recalcSublabel();
    if (urlHandler_)
        urlHandler_(paths_);
    update();
}

void PTSheetBrowseView::presentOpenDialog()
{
    const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed();
    if (!shell)
        return;
    PTLibraryShell::PanelRequest request;
    request.title = Label;
    request.canChooseDirectories = !oneFileOnly_;
    if (!oneFileOnly_)
        request.packageExtensions = {BundleExtension};
    request.shouldShowFilename = [types = allowedFileTypes_](const QString& path) {
        const QFileInfo info(path);
        if (info.isDir() && !PTTernImporter::isPathATern(path))
            return !PTImportIsPackage(path);
        return types.contains(info.suffix(), Qt::CaseInsensitive);
    };
    const QStringList chosen =
        oneFileOnly_ ? QStringList{shell->runOpenPanel(request)} : shell->runOpenPanelForPaths(request);
    // What the panel let through is checked as a drop is: a typed path may name anything.
    const QStringList accepted = acceptedPaths(chosen);
    if (!accepted.isEmpty())
        setPathURLs(PTPasteBoard::urlsForPathStrings(accepted));
}

void PTSheetBrowseView::recalcSublabel()
{
    if (paths_.isEmpty()) {
        setLabel(EmptyLabel, 0);
        setSublabel(QString(), 0);
    } else {
        setLabel(Label, 0);
        setSublabel(QStringLiteral("%1 Item%2 Selected").arg(paths_.size()).arg(paths_.size() < 2 ? "" : "s"), 0);
    }
    updateLabelForSegment(0);
}

QStringList PTSheetBrowseView::droppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

QStringList PTSheetBrowseView::acceptedPaths(const QStringList& paths) const
{
    const PTImportOptions options = optionsProvider_ ? optionsProvider_() : PTDefaultImportOptions();
    QStringList accepted = PTPasteBoard().validateURLStrings(paths, options);
    if (oneFileOnly_) {
        const auto file = std::find_if(accepted.cbegin(), accepted.cend(), [](const QString& path) {
            return QFileInfo(path).isFile();
        });
        return file == accepted.cend() ? QStringList() : QStringList{*file};
    }
    // Bundles are packages to the import, but this well hands them to the bundle reader.
    for (const QString& path : std::as_const(paths)) {
        if (PTTernImporter::isPathATern(path) && !accepted.contains(path))
            accepted << path;
    }
    return accepted;
}

void PTSheetBrowseView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!acceptedPaths(droppedPaths(event->mimeData())).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void PTSheetBrowseView::dropEvent(QDropEvent* event)
{
    setPathURLs(PTPasteBoard::urlsForPathStrings(acceptedPaths(droppedPaths(event->mimeData()))));
    event->acceptProposedAction();
}
