#include "foundation/ZipEntryName.h"

#include <QStringDecoder>

namespace {

// A name flagged UTF-8 (bit 11) is valid UTF-8, and so are most unflagged ones made on current systems; older
// archives from Chinese-language systems carry GB 18030 without a flag.
QString decodeName(const QByteArray& raw)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(raw);
    if (!utf8.hasError())
        return asUtf8;
    QStringDecoder gb18030("GB18030");
    const QString asGb = gb18030.decode(raw);
    if (gb18030.isValid() && !gb18030.hasError())
        return asGb;
    return asUtf8; // replacement characters rather than nothing
}

} // namespace

ZipEntryName::ZipEntryName(const QByteArray& raw)
{
    name_ = decodeName(raw);
    name_.replace(u'\\', u'/');
    isFolder_ = raw.endsWith('/') || raw.endsWith('\\');
    if (raw.contains('\0') || name_.startsWith(u'/')
        || (name_.size() >= 2 && name_.at(1) == u':' && name_.at(0).isLetter())) {
        unsafe_ = true;
    }
    for (const QString& part : name_.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..")
            unsafe_ = true;
        else if (part != u".")
            components_.append(part);
    }
}
