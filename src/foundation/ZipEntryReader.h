#pragma once

#include "foundation/SSZipEntryInfo.h"
#include "foundation/ZipCrypto.h"

#include <QByteArray>

#include <optional>
#include <vector>

// Reads the content of an archive's current entry. Plain entries go through minizip; entries under the
// traditional zip encryption (which the system's minizip is built without) are read raw, decrypted and
// inflated here, with the CRC checked at the end either way.
class ZipEntryReader {
public:
    enum class OpenResult { Opened, Failed, BadPassword };

    ZipEntryReader(void* zip, const SSZipEntryInfo& info, QByteArray password);
    ~ZipEntryReader();
    ZipEntryReader(const ZipEntryReader&) = delete;
    ZipEntryReader& operator=(const ZipEntryReader&) = delete;

    OpenResult open();
    // Bytes read into the buffer, 0 at the end, negative on an error (Z_DATA_ERROR for a wrong password).
    int read(char* buffer, int size);
    // Closes the entry; false when the content, read to its end, fails its CRC (an entry not read to the end
    // is not checked).
    bool close();

    // The current entry's information and raw name.
    static bool currentEntry(void* zip, SSZipEntryInfo* info, QByteArray* name);

private:
    int readEncrypted(char* buffer, int size);

    void* zip_;
    SSZipEntryInfo info_;
    QByteArray password_;
    bool opened_ = false;
    bool encrypted_ = false;
    bool deflated_ = false;
    bool inputDone_ = false;
    bool streamEnded_ = false;
    bool finished_ = false;
    void* inflater_ = nullptr;
    std::vector<char> input_;
    std::optional<ZipCrypto> crypto_;
    quint32 crc_ = 0;
    quint64 produced_ = 0;
};
