#include "transfer/copy/PTItemCopySVGStringProvider.h"

#include "library/entities/PTItem.h"

QList<qint64> PTItemCopySVGStringProvider::compatibleTypes() const
{
    return {PTItem::SVG};
}

std::optional<QString> PTItemCopySVGStringProvider::stringForData(const QByteArray& data, const PTItem& /*item*/) const
{
    return svgString(data, true);
}
