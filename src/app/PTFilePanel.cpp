#include "app/PTFilePanel.h"

#include "platform/ui/ModalRunner.h"
#include "ui/PTMainWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

#include <algorithm>

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

// QFileDialog enters every folder it is asked to open, whether its row was chosen or its path typed. This one
// chooses packages as one item, and plain folders too when the request lets an open panel choose them.
class PanelDialog : public QFileDialog {
public:
    explicit PanelDialog(const PTLibraryShell::PanelRequest& request, AcceptMode mode)
        // On the window that asked (a sheet, say), which gets the keys back when the panel closes.
        : QFileDialog(QApplication::activeWindow() ? QApplication::activeWindow() : PTMainWindow())
        , packageExtensions_(request.packageExtensions)
        , choosesFolders_(mode == AcceptOpen && request.canChooseDirectories)
    {
        setAcceptMode(mode);
        setOption(QFileDialog::DontUseNativeDialog);
        setWindowTitle(request.title);
        setAccessibleName(request.title.isEmpty() ? QStringLiteral("File panel") : request.title);
        if (!request.prompt.isEmpty())
            setLabelText(QFileDialog::Accept, request.prompt);
        if (!request.allowedExtensions.isEmpty()) {
            QStringList patterns;
            for (const QString& extension : request.allowedExtensions)
                patterns << QStringLiteral("*.") + extension;
            setNameFilter(patterns.join(u' '));
        }
        if (request.shouldShowFilename)
            setProxyModel(new PanelFilter(request.shouldShowFilename, this));
        // A double-click enters a folder without asking accept().
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString& folder) {
            if (isPackage(folder))
                choose({folder});
        });
    }

    QStringList chosen() const { return chosen_.isEmpty() ? selectedFiles() : chosen_; }

    void accept() override
    {
        const QStringList files = selectedFiles();
        const auto folder = [](const QString& path) { return QFileInfo(path).isDir(); };
        const auto choosable = [this](const QString& path) {
            const QFileInfo info(path);
            return info.exists() && (!info.isDir() || choosesFolders_ || isPackage(path));
        };
        if (std::any_of(files.cbegin(), files.cend(), folder) && std::all_of(files.cbegin(), files.cend(), choosable))
            choose(files);
        else
            QFileDialog::accept();
    }

private:
    bool isPackage(const QString& path) const
    {
        return QFileInfo(path).isDir() && packageExtensions_.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
    }
    void choose(const QStringList& paths)
    {
        chosen_.clear();
        for (const QString& path : paths)
            chosen_ << QDir::cleanPath(path);
        // QFileDialog::accept() would enter the folder; ending the dialog keeps the choice.
        done(QDialog::Accepted);
    }

    QStringList packageExtensions_;
    bool choosesFolders_;
    QStringList chosen_;
};

} // namespace

QString PTFilePanel::runSave(const PTLibraryShell::PanelRequest& request)
{
    PanelDialog dialog(request, QFileDialog::AcceptSave);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (pt::ModalRunner::run(&dialog, Qt::ApplicationModal) != QDialog::Accepted)
        return {};
    const QStringList files = dialog.chosen();
    return files.isEmpty() ? QString() : files.first();
}

QStringList PTFilePanel::runOpen(const PTLibraryShell::PanelRequest& request, bool multiple)
{
    PanelDialog dialog(request, QFileDialog::AcceptOpen);
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (pt::ModalRunner::run(&dialog, Qt::ApplicationModal) != QDialog::Accepted)
        return {};
    return dialog.chosen();
}
