#include "transfer/copy/PTItemCopySVGStringFormattedProvider.h"

#include "library/entities/PTItem.h"

QList<qint64> PTItemCopySVGStringFormattedProvider::compatibleTypes() const
{
    return {PTItem::SVG};
}

std::optional<QString> PTItemCopySVGStringFormattedProvider::stringForData(const QByteArray& data, const PTItem& /*item*/) const
{
    return svgString(data, false);
}
