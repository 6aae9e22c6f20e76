#include "library/PTFileNamer.h"

#include "library/ImportNaming.h"

QString PTFileNamer::nextFreeName(const QString& folder, const QString& stem, const QString& extension,
                                  const TakenTest& taken)
{
    // No part holds a NUL: it keeps the parts of the key apart.
    const QString key = folder + QChar(0) + stem + QChar(0) + extension;
    std::lock_guard lock(mutex_);
    qint64& next = next_[key];
    QString candidate = PTFittedFileName(stem, next, extension);
    while (taken(candidate))
        candidate = PTFittedFileName(stem, ++next, extension);
    ++next;
    return candidate;
}
