#include "browser/controller/ItemFilter.h"

#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"

namespace itemFilter {

bool itemIsViewableInCurrentFilter(const PTItem& item, qint64 type, const PTLicence* licence)
{
    if (licence) {
        const PTLicence* own = item.licence();
        if (!own && item.collection())
            own = item.collection()->licence();
        if (own != licence)
            return false;
    }
    const qint64 itemType = item.type();
    switch (type) {
    case Vector:
        return itemType == PTItem::SVG || itemType == PTItem::PDF;
    case SVG:
        return itemType == PTItem::SVG;
    case PDF:
        return itemType == PTItem::PDF;
    case Font:
        return !item.unicode().isEmpty();
    case Bitmap:
        return itemType == PTItem::PNG || itemType == PTItem::GIF || itemType == PTItem::WEBP;
    case GIF:
        return itemType == PTItem::GIF;
    case PNG:
        return itemType == PTItem::PNG;
    case WEBP:
        return itemType == PTItem::WEBP;
    case ICNS:
        return itemType == PTItem::ICNS;
    case ICO:
        return itemType == PTItem::ICO;
    default:
        return true;
    }
}

} // namespace itemFilter
