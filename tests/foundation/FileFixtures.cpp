#include "FileFixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <minizip/zip.h>

#include <gtest/gtest.h>

namespace fixtures {

void craftZip(const QString& path, const std::vector<Entry>& entries)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const Entry& entry : entries) {
        zip_fileinfo info{};
        info.tmz_date = {0, 0, 12, 1, 0, 2020};
        info.external_fa = uLong(entry.mode) << 16;
        ASSERT_EQ(zipOpenNewFileInZip4_64(zip, entry.name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                          Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr, 0,
                                          uLong(entry.host << 8 | 30), 0, 0),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, entry.data.constData(), unsigned(entry.data.size())), ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

QByteArray run(const QString& folder, const QStringList& command)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(command.first(), command.mid(1));
    EXPECT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << command.join(' ').toStdString() << ": "
                                     << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QStringList treeOf(const QString& folder)
{
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(QDir(folder).relativeFilePath(it.next()));
    paths.sort();
    return paths;
}

} // namespace fixtures
