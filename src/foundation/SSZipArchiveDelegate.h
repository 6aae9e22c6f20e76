#pragma once

#include "foundation/SSZipEntryInfo.h"

#include <QString>

// Optional questions and reports of one unzip, all on the unzipping thread. Every method has a default that
// changes nothing, so a delegate overrides only what it needs.
class SSZipArchiveDelegate {
public:
    virtual ~SSZipArchiveDelegate() = default;

    virtual void zipArchiveWillUnzipArchiveAtPath(const QString& path, const SSZipArchiveInfo& info);
    // Bytes of the archive passed so far over its file size: at the start, before each entry and at the end.
    virtual void zipArchiveProgressEvent(quint64 loaded, quint64 total);
    // Answering false stops the whole unzip, which then fails without an error. Asked for the entries of nested
    // archives too (the archive path tells which); the other reports cover the outer archive only.
    virtual bool zipArchiveShouldUnzipFileAtIndex(qint64 index, qint64 total, const QString& archivePath,
                                                  const SSZipEntryInfo& info);
    virtual void zipArchiveWillUnzipFileAtIndex(qint64 index, qint64 total, const QString& archivePath,
                                                const SSZipEntryInfo& info);
    virtual void zipArchiveDidUnzipFileAtIndex(qint64 index, qint64 total, const QString& archivePath,
                                               const SSZipEntryInfo& info, const QString& unzippedFilePath);
    // Only after a successful unzip.
    virtual void zipArchiveDidUnzipArchiveAtPath(const QString& path, const SSZipArchiveInfo& info,
                                                 const QString& unzippedPath);
};
