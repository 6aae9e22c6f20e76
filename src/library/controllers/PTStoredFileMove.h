#pragma once

#include "platform/store/ObjectID.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class PTItem;

// A change of library files that the store must never outrun: the new file is put in before the old one goes,
// and a file or folder the store names goes only in the completion of the save that stops naming it. A kill
// before that completion, or a failed save, leaves the store naming files that are there. Main thread.
class PTStoredFileMove {
public:
    enum class Placement { Copy, Link };
    // Gives the item back the values it had before the change.
    using Restore = std::function<void(PTItem* item)>;

    // Puts the file into the folder under the name. A link is made where both lie on one file system (no bytes are
    // copied, and the old name can go later); else, and for copies, the bytes are copied. A missing source is a
    // failure like a missing folder (no library): nothing would stand under the name.
    static bool placeInto(const QString& source, const QString& folder, const QString& name, Placement placement);

    // Gives an item back the file name, type, date, unicode and size the item has now.
    static Restore fileValues(const PTItem* item);

    // The file or folder goes once the save succeeded; when it fails, it stays.
    void removeOnceStored(const QString& path);
    // The item names its new file now instead of the old file, which goes once the save succeeded. When the save
    // fails, an item that still names the new file is restored and the new file goes unless the item names it
    // again.
    void replaceOnceStored(PTItem* item, const QString& oldFile, Restore restore);
    bool isEmpty() const { return removals_.isEmpty() && replacements_.isEmpty(); }
    // Starts the save path; the completion (main queue) is told whether the change was stored, once the files
    // were dealt with.
    void save(std::function<void(bool stored)> completion = {});

private:
    struct Replacement {
        pt::store::ObjectID item;
        QString newFile;
        Restore restore;
    };

    QStringList removals_;
    QVector<Replacement> replacements_;
};
