#pragma once

#include "platform/runtime/Error.h"

#include <QByteArray>
#include <QString>

// Files read by name that someone else may have put there (journals, reports, dictionaries, mapping files): only
// regular files are read. A pipe would block the reader forever and a device might never end, so the file is
// opened without blocking and its type checked on the open descriptor, where no swap after a check can reach.
namespace regularFile {

enum class Links {
    Follow,  // a link to a regular file is read (files a user or a package points at)
    Refuse,  // the name itself must be the file (files inside our own folders)
};

// An open descriptor of the regular file at path, in blocking mode again for reading, or -1 with errno set:
// ELOOP for a refused link, EINVAL for anything but a regular file.
int open(const QString& path, Links links);

// The whole file when it is a regular file of at most maxBytes (as large as it was when opened); EFBIG when it
// is larger. A short read is an error.
pt::Result<QByteArray> read(const QString& path, qint64 maxBytes, Links links);

} // namespace regularFile
