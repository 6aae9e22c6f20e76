#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

// The traditional zip encryption (the one `zip -P` writes): a keystream from the password, a 12-byte header
// before each entry's data whose last byte checks the password. Weak, but what archives in the wild carry.
class ZipCrypto {
public:
    static constexpr int HeaderSize = 12;

    explicit ZipCrypto(const QByteArray& password);

    quint8 decrypt(quint8 byte);
    quint8 encrypt(quint8 byte);
    void decrypt(char* data, qsizetype size);
    void encrypt(char* data, qsizetype size);

    // A header for new data: random bytes ending in the check byte, already encrypted.
    QByteArray makeHeader(quint8 checkByte);

private:
    quint8 keystreamByte() const;
    void update(quint8 plain);

    std::array<quint32, 3> keys_;
};
