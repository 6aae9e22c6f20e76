#include "transfer/import/PTSheetBrowseView.h"

#include "library/bundle/PTTernImporter.h"
#include "transfer/import/PTPasteBoard.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
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
    QFileDialog dialog(window(), Label);
    // Ours rather than the desktop's: it shows the library's own packages as plain folders, and behaves alike
    // everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(oneFileOnly_ ? QFileDialog::ExistingFile : QFileDialog::ExistingFiles);
    QStringList patterns;
    for (const QString& extension : std::as_const(allowedFileTypes_))
        patterns << QStringLiteral("*.") + extension;
    dialog.setNameFilter(tr("Icons (%1)").arg(patterns.join(u' ')));
    if (dialog.exec() == QDialog::Accepted)
        setPathURLs(dialog.selectedUrls());
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

QStringList PTSheetBrowseView::acceptedPaths(const QMimeData* data) const
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
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
    if (!acceptedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void PTSheetBrowseView::dropEvent(QDropEvent* event)
{
    setPathURLs(PTPasteBoard::urlsForPathStrings(acceptedPaths(event->mimeData())));
    event->acceptProposedAction();
}
