#include "transfer/export/PTExportPresetController.h"

#include "foundation/MenuAdditions.h"
#include "foundation/StringAdditions.h"
#include "library/ImportNaming.h"
#include "library/PTLibraryController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "transfer/PTURLDownloader.h"
#include "transfer/export/PTExportBuiltInPresets.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace {

const QString kErrorDomain = QStringLiteral("PTExportPresetErrorDomain");

pt::Result<void> writeAtomically(const QByteArray& data, const QString& path)
{
    QSaveFile file(path);
    if (data.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        return pt::Error::withDescription(kErrorDomain, 2, QStringLiteral("The preset couldn\u2019t be saved."),
                                          file.errorString());
    return {};
}

} // namespace

PTExportPresetController& PTExportPresetController::sharedController()
{
    static PTExportPresetController* controller = new PTExportPresetController;
    return *controller;
}

PTExportPresetController::PTExportPresetController()
{
    reload();
}

QString PTExportPresetController::saveLocation()
{
    const PTLibraryController* library = PTLibraryController::currentLibrary();
    return library ? library->locationByAppendingPath(SaveFolderName, true) : QString();
}

QList<PTExportOutputOptionSet> PTExportPresetController::presets() const
{
    std::lock_guard lock(mutex_);
    return presets_;
}

void PTExportPresetController::reload()
{
    QList<PTExportOutputOptionSet> loaded;
    const QString folder = saveLocation();
    if (!folder.isEmpty()) {
        for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::Files)) {
            if (auto set = PTExportOutputOptionSet::fromFile(entry.filePath()))
                loaded.append(std::move(*set));
        }
    }
    {
        std::lock_guard lock(mutex_);
        presets_ = std::move(loaded);
    }
    pt::NotificationCenter::defaultCenter().post(PresetsDidChangeNotification, this);
}

pt::Result<void> PTExportPresetController::saveInto(PTExportOutputOptionSet& set, const QString& folder)
{
    if (folder.isEmpty())
        return pt::Error::withDescription(kErrorDomain, 3, QStringLiteral("There is no library to save into."));
    const QString wanted = PTPrettifyName(set.name) + QLatin1Char('.') + extension();
    const QFileInfo old(set.filePath);
    // An update keeps the file the set already has (whatever counter or cut its name took); only a new set or
    // a renamed one gets a fresh name.
    bool sameFile = false;
    if (!set.filePath.isEmpty() && QDir(old.absolutePath()) == QDir(folder)) {
        const auto stored = PTExportOutputOptionSet::fromFile(set.filePath);
        sameFile = stored && stored->name == set.name;
    }
    // A name at the length limit leaves no room for the temporary file that replaces it: such a set moves on.
    if (sameFile && writeAtomically(set.data(), set.filePath))
        return {};
    const QString path = QDir(folder).filePath(PTSafeUniqueFileName(wanted, folder));
    if (auto written = writeAtomically(set.data(), path); !written)
        return written;
    if (!set.filePath.isEmpty())
        QFile::remove(set.filePath);
    set.filePath = path;
    return {};
}

pt::Result<void> PTExportPresetController::savePreset(PTExportOutputOptionSet& set, bool purgeCache)
{
    auto saved = saveInto(set, saveLocation());
    if (purgeCache)
        reload();
    return saved;
}

void PTExportPresetController::deletePreset(const PTExportOutputOptionSet& set)
{
    if (set.filePath.isEmpty())
        return;
    QFile::remove(set.filePath);
    reload();
}

pt::Result<void> PTExportPresetController::importPresetAtURL(const QString& path, bool purgeCache)
{
    auto set = PTExportOutputOptionSet::fromFile(path);
    if (!set)
        return set.error();
    set->filePath.clear();
    set->refreshIdentifier();
    return savePreset(*set, purgeCache);
}

void PTExportPresetController::importPresets(const QStringList& paths,
                                             std::function<void(const QStringList& notPresets)> completion)
{
    const QString title = paths.size() == 1 ? QStringLiteral("Importing Preset, please wait...")
                                            : QStringLiteral("Importing Presets, please wait...");
    std::shared_ptr<PTProgressSheet> sheet = PTLibraryShell::presentSheet(title);
    // The folder is resolved here: the current library is the main thread's.
    const QString folder = saveLocation();
    pt::DispatchQueue::global(pt::QueuePriority::High).async([paths, folder, sheet, completion] {
        QStringList notPresets;
        for (const QString& path : paths) {
            auto set = PTExportOutputOptionSet::fromFile(path);
            if (set) {
                set->filePath.clear();
                set->refreshIdentifier();
            }
            if (!set || !saveInto(*set, folder))
                notPresets << QFileInfo(path).fileName();
        }
        pt::DispatchQueue::main().after(1.0, [sheet, completion, notPresets] {
            if (sheet) {
                sheet->setTitle(QStringLiteral("Import Complete"));
                if (!notPresets.isEmpty())
                    sheet->setSubTitle(QStringLiteral("Not presets: %1").arg(notPresets.join(QStringLiteral(", "))));
            }
            PTExportPresetController& controller = sharedController();
            controller.reload();
            pt::NotificationCenter::defaultCenter().post(PresetsWereImportedNotification, &controller);
            pt::DispatchQueue::main().after(1.0, [sheet, completion, notPresets] {
                if (sheet)
                    sheet->endSession();
                if (completion)
                    completion(notPresets);
            });
        });
    });
}

void PTExportPresetController::exportPreset(const PTExportOutputOptionSet& set)
{
    const auto shell = PTLibraryShell::installed();
    if (!shell)
        return;
    PTLibraryShell::PanelRequest request;
    // A name such as "Web/App" cannot name a file: the characters a file name refuses become "-".
    QString name = stringAdditions::normalizedString(set.name);
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:]")), QStringLiteral("-"));
    request.proposedName = PTURLDownloader::safeFileName(name) + QLatin1Char('.') + extension();
    request.allowedExtensions = {extension()};
    const QString path = shell->runSavePanel(request);
    if (path.isEmpty())
        return;
    const auto written = exportPresetToPath(set, path);
    if (written)
        shell->showFilesInFileManager({*written});
    else
        shell->presentError(written.error());
}

pt::Result<QString> PTExportPresetController::exportPresetToPath(const PTExportOutputOptionSet& set,
                                                                 const QString& path)
{
    const QFileInfo info(path);
    const QString target = info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + extension());
    PTExportOutputOptionSet copy = set.copy();
    copy.refreshIdentifier();
    if (auto written = writeAtomically(copy.data(), target); !written)
        return written.error();
    return target;
}

QMenu* PTExportPresetController::presetMenu(QWidget* parent,
                                            std::function<void(const PTExportOutputOptionSet&)> handler,
                                            const QVariant& representedObject) const
{
    auto* menu = new QMenu(parent);
    const auto addSetItem = [&](const PTExportOutputOptionSet& set) {
        // Indented under its header, as the section's members.
        QAction* action = menu->addAction(QStringLiteral("    ") + menuAdditions::itemTitle(set.name));
        action->setProperty(OutputSetProperty, QVariant::fromValue(set));
        action->setData(representedObject);
        QObject::connect(action, &QAction::triggered, menu, [handler, set] {
            if (handler)
                handler(set);
        });
    };
    const auto addHeader = [&](const QString& title) {
        QAction* header = menu->addAction(menuAdditions::itemTitle(title));
        header->setEnabled(false);
        header->setData(representedObject);
        return header;
    };
    QList<PTExportOutputOptionSet> users = presets();
    if (!users.isEmpty()) {
        addHeader(QStringLiteral("Your Presets"));
        std::stable_sort(users.begin(), users.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
        for (const auto& set : users)
            addSetItem(set);
    }
    menu->addSeparator();
    QList<PTExportOutputOptionSet> builtIns = PTExportBuiltInPresets::all();
    PTExportBuiltInPresets::sortForMenu(builtIns);
    for (const auto& preset : builtIns) {
        addHeader(preset.name)->setProperty(OutputSetProperty, QVariant::fromValue(preset));
        QList<PTExportOutputOptionSet> subsets = preset.subsets();
        PTExportBuiltInPresets::sortForMenu(subsets);
        for (const auto& subset : subsets)
            addSetItem(subset);
    }
    return menu;
}
