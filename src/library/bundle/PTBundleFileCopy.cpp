#include "library/bundle/PTBundleFileCopy.h"

#include "library/ImportNaming.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 ChunkSize = qint64(1) << 20;
// Each failed attempt means another copy took the name, so this bounds only a folder filling up without end.
constexpr int MaxNameAttempts = 1000;

// Creates the file exclusively under the first free safe name; empty when none could be created. Without a
// lock, another copy may create the chosen name first: the exclusive open then fails and the search runs again.
// The first try opens the plain name without looking it up: most names are free, and a lookup of a missing name
// waits for the folder while other copies create files in it.
QString reserveName(const QString& name, const QString& folder, QFile& target, PTFileNamer* namer,
                    const PTBundleFileCopy::Creating& creating)
{
    QString chosen = PTSafeFirstFileName(name);
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        target.setFileName(QDir(folder).filePath(chosen));
        if (creating)
            creating(target.fileName());
        if (target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return chosen;
        // An exclusive open also refuses a link, even a dangling one, under the name.
        if (const QFileInfo taken(target.fileName()); !taken.exists() && !taken.isSymLink())
            return {}; // refused for another reason than the name being taken
        chosen = namer ? PTSafeUniqueFileName(name, folder, *namer) : PTSafeUniqueFileName(name, folder);
    }
    return {};
}

} // namespace

QString PTBundleFileCopy::copyIntoFolder(const QString& source, const QString& name, const QString& folder,
                                         QString* error, PTFileNamer* namer, const Creating& creating)
{
    const auto failed = [error](const QString& why) {
        if (error)
            *error = why;
        return QString();
    };
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return failed(input.errorString());
    QFile target;
    const QString chosen = reserveName(name, folder, target, namer, creating);
    if (chosen.isEmpty())
        return failed(target.errorString());
    bool ok = true;
    while (ok && !input.atEnd()) {
        const QByteArray chunk = input.read(ChunkSize);
        ok = !chunk.isEmpty() && target.write(chunk) == chunk.size();
    }
    ok = ok && input.error() == QFileDevice::NoError && target.flush();
    target.close();
    if (!ok || target.error() != QFileDevice::NoError) {
        const QString why = input.error() != QFileDevice::NoError ? input.errorString() : target.errorString();
        target.remove();
        return failed(why);
    }
    return chosen;
}
