#pragma once

#include <QVector>

class PTItem;
class PTSearchController;

// What the search controller needs of the grid controller: to attach itself and to show the items it found.
class PTSearchGridController {
public:
    virtual ~PTSearchGridController() = default;
    virtual void setSearchController(PTSearchController* controller) = 0;
    // Shows exactly these items, scrolled to the top, as the grid's cached items.
    virtual void setDataFromItemsArray(const QVector<PTItem*>& items) = 0;
};
