#include "transfer/export/PTExportFileWriter.h"

#include "library/ImportNaming.h"
#include "library/controllers/PTTagController.h"
#include "platform/runtime/Logging.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Kept free when a name has to be cut, so that a counter (".1" to ".9999") finds room without cutting it again.
constexpr qsizetype CounterRoom = 5;

std::mutex& namingLock()
{
    static std::mutex lock;
    return lock;
}

QString withoutSeparators(QString text)
{
    return text.remove(QLatin1Char('/')).remove(QChar(0));
}

bool exists(int folder, const QString& name)
{
    struct stat status;
    return ::fstatat(folder, QFile::encodeName(name).constData(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

qsizetype utf8Size(const QString& text)
{
    return text.toUtf8().size();
}

bool writeAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

PTExportFileWriter::PTExportFileWriter(const QString& directory)
{
    open_ = folder_.open(directory);
}

QString PTExportFileWriter::relativePath(QString prefix, QString name, QString suffix, const QString& extension,
                                         bool useOriginalNames)
{
    name = withoutSeparators(name);
    if (!useOriginalNames)
        name = PTSafeFileName(name);
    if (const qsizetype dot = name.lastIndexOf(QLatin1Char('.')); dot >= 0)
        name.truncate(dot);
    QStringList folders = prefix.remove(QChar(0)).split(QLatin1Char('/'));
    const QString leafPrefix = folders.takeLast();
    folders.removeIf([](const QString& part) { return part.isEmpty() || part == u"." || part == u".."; });
    for (QString& folder : folders)
        folder = PTCutToUtf8Size(folder, PTMaxFileNameBytes);
    suffix = withoutSeparators(suffix);
    const qsizetype room = PTMaxFileNameBytes - 1 - utf8Size(extension);
    if (utf8Size(leafPrefix + name + suffix) > room)
        name = PTCutToUtf8Size(name, room - CounterRoom - utf8Size(leafPrefix + suffix));
    QString leaf = leafPrefix + name + suffix;
    while (leaf.startsWith(QLatin1Char('.')))
        leaf.remove(0, 1);
    if (leaf.isEmpty())
        leaf = QStringLiteral("untitled");
    // Only a prefix and suffix too long by themselves lose their ends.
    folders.append(PTCutToUtf8Size(leaf, room) + QLatin1Char('.') + extension);
    return folders.join(QLatin1Char('/'));
}

QString PTExportFileWriter::write(const QString& relativePath, const QByteArray& data, const QStringList& tags)
{
    std::lock_guard lock(namingLock());
    QStringList parts = relativePath.split(QLatin1Char('/'));
    const QString fileName = parts.takeLast();
    const auto failed = [&](const char* step) {
        qCWarning(lcTransfer).noquote() << "export: could not" << step << QDir(folder_.path()).filePath(relativePath)
                                        << "-" << std::strerror(errno);
        return QString();
    };
    const int folder = open_ ? folder_.openFolder(parts) : -1;
    if (folder < 0)
        return failed("open the folder of");
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? fileName.left(dot) : fileName;
    const QString extension = dot > 0 ? fileName.mid(dot + 1) : QString();
    const QString unique = namer_.nextFreeName(parts.join(QLatin1Char('/')), stem, extension,
                                               [folder](const QString& name) { return exists(folder, name); });

    const QByteArray temporary =
        QFile::encodeName(QStringLiteral(".export-") + QUuid::createUuid().toString(QUuid::Id128));
    const int fd = ::openat(folder, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return failed("create");
    bool ok = writeAll(fd, data);
    if (ok && !tags.isEmpty()) {
        const QByteArray value = tags.join(QLatin1Char(',')).toUtf8();
        // Tags are a courtesy: a file system without extended attributes still gets the file.
        ::fsetxattr(fd, PTTagController::FileTagsAttribute, value.constData(), size_t(value.size()), 0);
    }
    ok = ::close(fd) == 0 && ok;
    ok = ok
         && ::renameat2(folder, temporary.constData(), folder, QFile::encodeName(unique).constData(), RENAME_NOREPLACE)
                == 0;
    if (!ok) {
        const int error = errno;
        ::unlinkat(folder, temporary.constData(), 0);
        errno = error;
        return failed("write");
    }
    return QDir(folder_.path()).filePath(parts.isEmpty() ? unique : parts.join(QLatin1Char('/')) + u'/' + unique);
}
