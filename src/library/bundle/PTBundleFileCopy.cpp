#include "library/bundle/PTBundleFileCopy.h"

#include "library/ImportNaming.h"

#include <QDir>
#include <QFile>

#include <mutex>

namespace {

constexpr qint64 ChunkSize = qint64(1) << 20;

// Creates the file exclusively under the first free safe name; empty when none could be created.
QString reserveName(const QString& name, const QString& folder, QFile& target)
{
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    const QString chosen = PTSafeUniqueFileName(name, folder);
    target.setFileName(QDir(folder).filePath(chosen));
    return target.open(QIODevice::WriteOnly | QIODevice::NewOnly) ? chosen : QString();
}

} // namespace

QString PTBundleFileCopy::copyIntoFolder(const QString& source, const QString& name, const QString& folder)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return {};
    QFile target;
    const QString chosen = reserveName(name, folder, target);
    if (chosen.isEmpty())
        return {};
    bool ok = true;
    while (ok && !input.atEnd()) {
        const QByteArray chunk = input.read(ChunkSize);
        ok = !chunk.isEmpty() && target.write(chunk) == chunk.size();
    }
    ok = ok && input.error() == QFileDevice::NoError && target.flush();
    target.close();
    if (!ok || target.error() != QFileDevice::NoError) {
        target.remove();
        return {};
    }
    return chosen;
}
