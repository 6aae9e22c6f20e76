#pragma once

#include "platform/store/ObjectID.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

#include <mutex>
#include <optional>

// What one running import made, in a file of the library package, so that an import that never ended (the
// process was killed, or quit in the middle) can be tidied at the next launch: when it began, the sets and groups
// it made, each recorded before it is stored, and the files it copied into set folders, each recorded before it
// is created. A name recorded may have been found taken by another file: only a file made after the import began
// can be the import's. Every record is one write of one line, so a kill cuts at most the last line, which is then
// ignored. The file goes when the import ends. Records may come from any thread.
class PTImportJournal {
public:
    static inline const QString FolderName = QStringLiteral("Import Journals");
    static inline const QString Extension = QStringLiteral("journal");
    // Far beyond what the largest import records (a line of some hundred bytes for each file).
    static constexpr qint64 MaximumSize = qint64(256) << 20;

    struct Entries {
        // A little before the import began, allowing for the file system's coarse clock.
        QDateTime began;
        // URIs of the sets and groups, in the order they were made.
        QStringList containers;
        // The files about to be copied (absolute paths of files right inside a set folder of the package).
        QStringList files;
    };

    // A new journal in the current library's package. Without a library, or when the file cannot be made,
    // nothing is recorded (said in the log) and the import goes on.
    PTImportJournal();
    void recordContainer(const pt::store::ObjectID& id);
    // A file about to be created in a set folder of the library.
    void recordFile(const QString& path);
    // The import ended: the journal goes.
    void finish();

    // Whatever stands under a journal's name in the package, left by imports that did not end (or by those
    // running now); not all of it need be a journal.
    static QStringList journalsIn(const QString& libraryPath);
    // What the journal records, or nothing when it is no regular file of at most MaximumSize (a link, a pipe or a
    // device in a package from elsewhere is never followed, waited on or read without end). Files that would lie
    // anywhere but right inside a set folder are left out.
    static std::optional<Entries> read(const QString& journal, const QString& libraryPath);

private:
    void append(const QByteArray& line);

    std::mutex mutex_;
    QString library_;
    QFile file_;
};
