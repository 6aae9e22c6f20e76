#include "app/PTFilePanel.h"

#include "platform/ui/ModalRunner.h"
#include "ui/PTMainWindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

namespace {

// Hides what the request's filter refuses.
class PanelFilter : public QSortFilterProxyModel {
public:
    PanelFilter(std::function<bool(const QString&)> accepts, QObject* parent)
        : QSortFilterProxyModel(parent)
        , accepts_(std::move(accepts))
    {
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const auto* model = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!model)
            return true;
        return accepts_(model->filePath(model->index(row, 0, parent)));
    }

private:
    std::function<bool(const QString&)> accepts_;
};

bool isPackage(const QString& path, const QStringList& extensions)
{
    return extensions.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

} // namespace

void PTFilePanel::configure(QFileDialog& dialog, const PTLibraryShell::PanelRequest& request, QStringList* chosenPackage)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(request.title);
    dialog.setAccessibleName(request.title.isEmpty() ? QStringLiteral("File panel") : request.title);
    if (!request.prompt.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.prompt);
    if (!request.allowedExtensions.isEmpty()) {
        QStringList patterns;
        for (const QString& extension : request.allowedExtensions)
            patterns << QStringLiteral("*.") + extension;
        dialog.setNameFilter(patterns.join(u' '));
    }
    if (request.shouldShowFilename)
        dialog.setProxyModel(new PanelFilter(request.shouldShowFilename, &dialog));
    if (!request.packageExtensions.isEmpty()) {
        const QStringList extensions = request.packageExtensions;
        QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                         [&dialog, extensions, chosenPackage](const QString& folder) {
                             if (!isPackage(folder, extensions))
                                 return;
                             *chosenPackage = {QDir::cleanPath(folder)};
                             // QDialog::accept() would enter the folder; ending the dialog keeps the choice.
                             static_cast<QDialog&>(dialog).done(QDialog::Accepted);
                         });
    }
}

QString PTFilePanel::runSave(const PTLibraryShell::PanelRequest& request)
{
    QFileDialog dialog(PTMainWindow());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList package;
    configure(dialog, request, &package);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (pt::ModalRunner::run(&dialog, Qt::ApplicationModal) != QDialog::Accepted)
        return {};
    const QStringList files = package.isEmpty() ? dialog.selectedFiles() : package;
    return files.isEmpty() ? QString() : files.first();
}

QStringList PTFilePanel::runOpen(const PTLibraryShell::PanelRequest& request, bool multiple)
{
    QFileDialog dialog(PTMainWindow());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    QStringList package;
    configure(dialog, request, &package);
    if (pt::ModalRunner::run(&dialog, Qt::ApplicationModal) != QDialog::Accepted)
        return {};
    return package.isEmpty() ? dialog.selectedFiles() : package;
}
