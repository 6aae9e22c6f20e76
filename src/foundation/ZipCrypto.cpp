#include "foundation/ZipCrypto.h"

#include <QRandomGenerator>

#include <zlib.h>

namespace {

quint32 crcStep(quint32 crc, quint8 byte)
{
    return quint32(get_crc_table()[(crc ^ byte) & 0xff]) ^ (crc >> 8);
}

} // namespace

ZipCrypto::ZipCrypto(const QByteArray& password) : keys_{0x12345678, 0x23456789, 0x34567890}
{
    for (char c : password)
        update(quint8(c));
}

quint8 ZipCrypto::keystreamByte() const
{
    const quint32 temp = (keys_[2] | 2) & 0xffff;
    return quint8((temp * (temp ^ 1)) >> 8);
}

void ZipCrypto::update(quint8 plain)
{
    keys_[0] = crcStep(keys_[0], plain);
    keys_[1] = (keys_[1] + (keys_[0] & 0xff)) * 134775813 + 1;
    keys_[2] = crcStep(keys_[2], quint8(keys_[1] >> 24));
}

quint8 ZipCrypto::decrypt(quint8 byte)
{
    const quint8 plain = byte ^ keystreamByte();
    update(plain);
    return plain;
}

quint8 ZipCrypto::encrypt(quint8 byte)
{
    const quint8 cipher = byte ^ keystreamByte();
    update(byte);
    return cipher;
}

void ZipCrypto::decrypt(char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(decrypt(quint8(data[i])));
}

void ZipCrypto::encrypt(char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(encrypt(quint8(data[i])));
}

QByteArray ZipCrypto::makeHeader(quint8 checkByte)
{
    QByteArray header(HeaderSize, Qt::Uninitialized);
    for (int i = 0; i < HeaderSize - 1; ++i)
        header[i] = char(QRandomGenerator::system()->bounded(256));
    header[HeaderSize - 1] = char(checkByte);
    encrypt(header.data(), header.size());
    return header;
}
