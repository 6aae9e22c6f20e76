#pragma once

#include <QtGlobal>

// What an archive records about one entry, as the unzip progress and delegate see it.
struct SSZipEntryInfo {
    quint16 versionMadeBy = 0;     // high byte: the host system (3 is UNIX)
    quint16 flag = 0;              // bit 0: encrypted; bit 11: the name is UTF-8
    quint32 dosDate = 0;           // MS-DOS date and time, local wall-clock time
    quint32 crc = 0;
    quint64 compressedSize = 0;
    quint64 uncompressedSize = 0;
    quint32 fileNameLength = 0;
    quint32 externalAttributes = 0; // high 16 bits: the UNIX mode on UNIX-made entries

    bool isSymbolicLink() const { return (versionMadeBy >> 8) == 3 && (externalAttributes >> 28) == 0xA; }
    bool isEncrypted() const { return flag & 1; }
    bool hasDataDescriptor() const { return flag & 8; }
};

// What an archive records about itself.
struct SSZipArchiveInfo {
    quint64 entryCount = 0;
};
