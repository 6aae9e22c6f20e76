#pragma once

#include "foundation/ContainedFolder.h"
#include "library/PTFileNamer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Names and writes the files of one export inside its target folder. Every export in the process names and
// writes under one lock, so two outputs never take the same name; every folder and file is made relative to the
// target through ContainedFolder, so no name and no planted link leads outside it.
class PTExportFileWriter {
public:
    explicit PTExportFileWriter(const QString& directory);
    PTExportFileWriter(const PTExportFileWriter&) = delete;
    PTExportFileWriter& operator=(const PTExportFileWriter&) = delete;

    // The relative path of an output: prefix, the item's name (made safe unless kept as typed, its last
    // extension removed), suffix and extension. The prefix's "/" separates folders (empty, "." and ".." parts
    // go); the name and suffix lose theirs. A name too long for a file name is cut between characters, leaving
    // the prefix, the suffix, the extension and room for a counter whole.
    static QString relativePath(QString prefix, QString name, QString suffix, const QString& extension,
                                bool useOriginalNames);

    // Writes the bytes under the relative path, made unique in its folder by ".1", ".2", ... before the last
    // extension (the name cut further if the counter would not fit); the file appears whole or not at all. The
    // tags go into the file managers' tag attribute. Answers the written file's path, or an empty string when
    // nothing could be written, which is logged with the reason.
    QString write(const QString& relativePath, const QByteArray& data, const QStringList& tags);

private:
    ContainedFolder folder_;
    bool open_ = false;
    PTFileNamer namer_;
};
