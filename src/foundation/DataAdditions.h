#pragma once

#include "platform/runtime/Error.h"

#include <QByteArray>

// gzip of byte blocks: the exchange bundle's metadata and compressed mapping files.
namespace dataAdditions {

inline const QString GzipErrorDomain = QStringLiteral("PTGzipErrorDomain");
enum GzipErrorCode {
    GzipStreamSetupFailed = 1, // zlib refused the parameters (a level above 1.0)
    GzipCorruptData = 2,       // truncated, corrupt or failing its CRC
    GzipOutputTooLarge = 3,    // inflating would pass the output limit
};

// Inflated output beyond this is refused: a small hostile file must not fill the memory.
inline constexpr qint64 DefaultGunzipLimit = qint64(256) << 20;

// True when the data starts with the gzip magic 0x1F 0x8B.
bool isGzippedData(const QByteArray& data);

// The gzip form of the data. The level runs from 0.0 to 1.0 (zlib's 0 to 9, rounded half away from zero);
// a negative level means zlib's default. Empty data and data that is already gzip come back unchanged.
pt::Result<QByteArray> gzippedDataWithCompressionLevel(const QByteArray& data, float level);
pt::Result<QByteArray> gzippedData(const QByteArray& data);

// The inflated bytes of every gzip member. Data that is not gzip comes back unchanged (a plain file reads the
// same as a compressed one); a corrupt or truncated stream is an error, never the part inflated so far.
pt::Result<QByteArray> gunzippedData(const QByteArray& data, qint64 maxOutput = DefaultGunzipLimit);

} // namespace dataAdditions
