#include "transfer/import/PTImportJournal.h"

#include "foundation/RegularFile.h"
#include "library/PTLibraryController.h"
#include "platform/runtime/Logging.h"

#include <QDir>
#include <QUuid>

namespace {

const QByteArray BeganRecord = QByteArrayLiteral("began ");
// File times come from the kernel's coarse clock, which may lag the one read for the record by a tick.
constexpr qint64 ClockSlackMs = 100;
const QByteArray ContainerRecord = QByteArrayLiteral("container ");
const QByteArray FileRecord = QByteArrayLiteral("file ");

QString setsFolder(const QString& libraryPath)
{
    return QDir::cleanPath(QDir(libraryPath).filePath(PTLibraryController::SetsFolderName));
}

} // namespace

PTImportJournal::PTImportJournal()
{
    const PTLibraryController* library = PTLibraryController::currentLibrary();
    if (!library)
        return;
    library_ = library->path();
    const QString folder = library->locationByAppendingPath(FolderName, true);
    file_.setFileName(QDir(folder).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + u'.' + Extension));
    // Unbuffered: each record reaches the file in the write that makes it, before what it names.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        qCWarning(lcTransfer).noquote() << "import: no journal at" << file_.fileName() << file_.errorString();
    append(BeganRecord + QByteArray::number(QDateTime::currentMSecsSinceEpoch() - ClockSlackMs) + '\n');
}

void PTImportJournal::recordContainer(const pt::store::ObjectID& id)
{
    append(ContainerRecord + id.uriString().toUtf8() + '\n');
}

void PTImportJournal::recordFile(const QString& path)
{
    // Relative to the package, which may be moved before the next launch; encoded, as names may hold line breaks.
    append(FileRecord + QDir(library_).relativeFilePath(path).toUtf8().toPercentEncoding() + '\n');
}

void PTImportJournal::append(const QByteArray& line)
{
    std::lock_guard lock(mutex_);
    if (file_.isOpen() && file_.write(line) != line.size())
        qCWarning(lcTransfer).noquote() << "import: journal not written:" << file_.errorString();
}

void PTImportJournal::finish()
{
    std::lock_guard lock(mutex_);
    if (file_.isOpen())
        file_.remove();
}

QStringList PTImportJournal::journalsIn(const QString& libraryPath)
{
    const QDir folder(QDir(libraryPath).filePath(FolderName));
    QStringList journals;
    const QDir::Filters everything = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    for (const QString& name : folder.entryList({QStringLiteral("*.") + Extension}, everything))
        journals << folder.filePath(name);
    return journals;
}

std::optional<PTImportJournal::Entries> PTImportJournal::read(const QString& journal, const QString& libraryPath)
{
    pt::Result<QByteArray> read = regularFile::read(journal, MaximumSize, regularFile::Links::Refuse);
    if (!read) {
        qCWarning(lcTransfer).noquote() << "import: not a journal:" << read.error().toString();
        return std::nullopt;
    }
    Entries entries;
    QByteArray& data = *read;
    // A line without its end was cut short by the kill.
    data.truncate(data.lastIndexOf('\n') + 1);
    const QString sets = setsFolder(libraryPath) + u'/';
    for (const QByteArray& line : data.split('\n')) {
        if (line.startsWith(BeganRecord)) {
            entries.began = QDateTime::fromMSecsSinceEpoch(line.mid(BeganRecord.size()).toLongLong());
        } else if (line.startsWith(ContainerRecord)) {
            entries.containers << QString::fromUtf8(line.mid(ContainerRecord.size()));
        } else if (line.startsWith(FileRecord)) {
            const QString relative = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(FileRecord.size())));
            const QString path = QDir::cleanPath(QDir(libraryPath).filePath(relative));
            // Imports copy into set folders only, never below them.
            if (path.startsWith(sets) && QStringView(path).mid(sets.size()).count(u'/') == 1)
                entries.files << path;
        }
    }
    return entries;
}
