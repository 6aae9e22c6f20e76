#include "browser/controller/ItemFilter.h"

#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"

namespace itemFilter {

bool readsItems(qint64 type, const PTLicence* licence)
{
    switch (type) {
    case Vector:
    case SVG:
    case PDF:
    case Font:
    case Bitmap:
    case GIF:
    case PNG:
    case WEBP:
    case ICNS:
    case ICO:
        return true;
    default:
        return licence != nullptr;
    }
}

bool factsAreViewable(const Facts& facts, qint64 type, const PTLicence* licence)
{
    if (licence && facts.licence != licence)
        return false;
    const qint64 itemType = facts.type;
    switch (type) {
    case Vector:
        return itemType == PTItem::SVG || itemType == PTItem::PDF;
    case SVG:
        return itemType == PTItem::SVG;
    case PDF:
        return itemType == PTItem::PDF;
    case Font:
        return facts.hasUnicode;
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

bool itemIsViewableInCurrentFilter(const PTItem& item, qint64 type, const PTLicence* licence)
{
    // Nothing read, so that a fault stays one.
    if (!readsItems(type, licence))
        return true;
    Facts facts{item.type(), !item.unicode().isEmpty(), item.licence()};
    if (!facts.licence && item.collection())
        facts.licence = item.collection()->licence();
    return factsAreViewable(facts, type, licence);
}

} // namespace itemFilter
