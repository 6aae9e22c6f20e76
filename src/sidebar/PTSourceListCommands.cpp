#include "sidebar/PTSourceListCommands.h"

#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"

#include <algorithm>

namespace PTSourceListCommands {

bool isEnabled(Command command, const QVector<pt::store::ManagedObject*>& objects)
{
    if (objects.isEmpty())
        return false;
    const auto all = [&objects](auto test) { return std::all_of(objects.begin(), objects.end(), test); };
    const auto isGroup = [](pt::store::ManagedObject* object) { return PTGroup::from(object) != nullptr; };
    const auto isSet = [](pt::store::ManagedObject* object) { return PTCollection::from(object) != nullptr; };
    switch (command) {
    case Command::Group:
        return objects.size() >= 2 && !PTGroupController::sharedController().isInception(objects);
    case Command::Ungroup:
        return all(isGroup);
    case Command::Rename:
        return objects.size() == 1 && (isGroup(objects.first()) || isSet(objects.first()));
    case Command::Merge:
        return objects.size() > 1 && all(isSet);
    case Command::Export:
        return objects.size() == 1;
    case Command::Delete:
        return all([](pt::store::ManagedObject* object) {
            const PTCollection* set = PTCollection::from(object);
            return !set || set->removeable();
        });
    }
    return false;
}

} // namespace PTSourceListCommands
