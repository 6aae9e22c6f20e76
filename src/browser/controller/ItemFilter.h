#pragma once

#include <QtGlobal>

class PTItem;
class PTLicence;

// The toolbar filter's test of one item, kept apart from any widget so the grid controller and tests share it.
namespace itemFilter {

// Type filter tags.
enum TypeTag : qint64 {
    AllTypes = 1,
    SVG = 2,
    PDF = 3,
    Font = 4,
    GIF = 5,
    PNG = 6,
    ICNS = 7,
    WEBP = 8,
    ICO = 9,
    Vector = 500,
    // PNG, GIF and WebP only: the menu lists ICNS and ICO under it, but they are filtered by their own tags.
    Bitmap = 600,
};

// What the filter reads of an item.
struct Facts {
    qint64 type = 0;
    bool hasUnicode = false;
    // The item's own licence, else its set's.
    const PTLicence* licence = nullptr;
};

// Whether the filter reads anything of the items: all types without a licence lets every item pass.
bool readsItems(qint64 type, const PTLicence* licence);
// With a licence, the item's own licence (else its set's) must be that very licence; then the type tag decides.
// An unknown tag lets every item pass.
bool factsAreViewable(const Facts& facts, qint64 type, const PTLicence* licence);
bool itemIsViewableInCurrentFilter(const PTItem& item, qint64 type, const PTLicence* licence);

} // namespace itemFilter
