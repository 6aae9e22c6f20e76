#include "library/controllers/PTStoredFileMove.h"

#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

bool PTStoredFileMove::placeInto(const QString& source, const QString& folder, const QString& name,
                                 Placement placement)
{
    if (folder.isEmpty() || source.isEmpty() || !QFileInfo(source).isFile())
        return false;
    const QString target = QDir(folder).filePath(name);
    if (placement == Placement::Link
        && ::linkat(AT_FDCWD, QFile::encodeName(source).constData(), AT_FDCWD, QFile::encodeName(target).constData(),
                    AT_SYMLINK_FOLLOW) == 0)
        return true;
    return QFile::copy(source, target);
}

PTStoredFileMove::Restore PTStoredFileMove::fileValues(const PTItem* item)
{
    return [fileName = item->newFileName(), type = item->type(), date = item->date(), unicode = item->unicode(),
            width = item->width(), height = item->height()](PTItem* item) {
        item->setNewFileName(fileName);
        item->setType(type);
        item->setDate(date);
        item->setUnicode(unicode);
        item->setWidth(width);
        item->setHeight(height);
    };
}

void PTStoredFileMove::removeOnceStored(const QString& path)
{
    // Without a library there is no folder; an empty path must never reach removeRecursively.
    if (!path.isEmpty())
        removals_.append(path);
}

void PTStoredFileMove::replaceOnceStored(PTItem* item, const QString& oldFile, Restore restore)
{
    const QString newFile = item->fileURL().toLocalFile();
    if (oldFile != newFile)
        removeOnceStored(oldFile);
    // The save gives a new item its permanent identity; the completion finds it only under that one.
    if (item->objectID().isTemporary())
        if (auto obtained = item->context()->obtainPermanentIDs({item}); !obtained)
            qCWarning(lcLibrary).noquote() << obtained.error().toString();
    replacements_.append({item->objectID(), newFile, std::move(restore)});
}

void PTStoredFileMove::save(std::function<void(bool stored)> completion)
{
    // Until the store holds the change it names the old paths, and a crash must find them there.
    PTSaveManagedObjectContextWithCompletion([removals = removals_, replacements = replacements_,
                                              completion = std::move(completion)](const pt::Error& error) {
        if (error.isNull()) {
            for (const QString& path : removals) {
                if (QFileInfo(path).isDir())
                    QDir(path).removeRecursively();
                else
                    QFile::remove(path);
            }
        } else {
            if (!removals.isEmpty())
                qCWarning(lcLibrary) << "kept" << removals.size() << "old files or folders: the change was not stored";
            pt::store::ObjectContext* context = PTHasManagedObjectContext() ? PTMainManagedObjectContext() : nullptr;
            for (const Replacement& replacement : replacements) {
                PTItem* item = context ? PTItem::from(context->existingObjectWithID(replacement.item)) : nullptr;
                // An item deleted or changed again since belongs to a later change.
                if (!item || item->isDeleted() || item->fileURL().toLocalFile() != replacement.newFile)
                    continue;
                replacement.restore(item);
                if (item->fileURL().toLocalFile() != replacement.newFile)
                    QFile::remove(replacement.newFile);
            }
        }
        if (completion)
            completion(error.isNull());
    });
}
