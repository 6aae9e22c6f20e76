#include "transfer/copy/PTItemCopyBase64Provider.h"

#include "library/entities/PTItem.h"

QList<qint64> PTItemCopyBase64Provider::compatibleTypes() const
{
    return {PTItem::SVG, PTItem::PNG, PTItem::GIF};
}

std::optional<QString> PTItemCopyBase64Provider::stringForData(const QByteArray& data, const PTItem& item) const
{
    if (item.mime().isEmpty())
        return std::nullopt;
    return item.base64URIPrefix() + QString::fromLatin1(data.toBase64());
}
