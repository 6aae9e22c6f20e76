#pragma once

#include "platform/store/ManagedObject.h"

#include <QVector>

#include <memory>

// What the library asks of the source list: selecting groups and sets it has just made (a bundle import's new
// top-level objects). The source list installs its implementation at start-up; without one nothing is selected.
class PTSourceListSelection {
public:
    virtual ~PTSourceListSelection() = default;
    // Selects the rows of the groups and sets (main context), expanding their parents; `extend` keeps the
    // current selection, otherwise it is replaced.
    virtual void selectItems(const QVector<pt::store::ManagedObject*>& objects, bool extend) = 0;

    static void install(std::shared_ptr<PTSourceListSelection> selection);
    static std::shared_ptr<PTSourceListSelection> installed();
};
