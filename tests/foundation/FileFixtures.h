#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace fixtures {

// One entry of a hand-made archive: raw name bytes, content, and the host and mode the archive claims.
struct Entry {
    QByteArray name;
    QByteArray data;
    quint32 mode = 0100644; // UNIX mode in the high half of the external attributes
    int host = 3;           // 3 UNIX, 0 MS-DOS
};

// Writes an archive with exactly these entries, names unchecked: how hostile archives are made.
void craftZip(const QString& path, const std::vector<Entry>& entries);
// Runs a tool in a folder and expects it to succeed; answers its standard output.
QByteArray run(const QString& folder, const QStringList& command);
// Writes a file, making its folder.
void writeFile(const QString& path, const QByteArray& data);
// Every path below the folder (links not followed), sorted, relative.
QStringList treeOf(const QString& folder);

} // namespace fixtures
