#pragma once

#include <QString>
#include <QVariant>

namespace pt::TypedValueCodec {

// Writes a value as compact JSON that names the type of every scalar ({"i":5}, {"d":0.5}, {"b":true}, {"s":".."},
// {"y":"base64"}, {"t":"ISO date"}, {"l":[..]}, {"m":{..}}), so that a text file keeps the types.
QString encode(const QVariant& value);
// Reads what encode() wrote; anything else answers an invalid QVariant.
QVariant decode(const QString& text);

} // namespace pt::TypedValueCodec
