#include "foundation/SSZipArchiveDelegate.h"

void SSZipArchiveDelegate::zipArchiveWillUnzipArchiveAtPath(const QString&, const SSZipArchiveInfo&) {}

void SSZipArchiveDelegate::zipArchiveProgressEvent(quint64, quint64) {}

bool SSZipArchiveDelegate::zipArchiveShouldUnzipFileAtIndex(qint64, qint64, const QString&, const SSZipEntryInfo&)
{
    return true;
}

void SSZipArchiveDelegate::zipArchiveWillUnzipFileAtIndex(qint64, qint64, const QString&, const SSZipEntryInfo&) {}

void SSZipArchiveDelegate::zipArchiveDidUnzipFileAtIndex(qint64, qint64, const QString&, const SSZipEntryInfo&,
                                                         const QString&)
{
}

void SSZipArchiveDelegate::zipArchiveDidUnzipArchiveAtPath(const QString&, const SSZipArchiveInfo&, const QString&)
{
}
