#include "sidebar/PTGroupsOnlyMenuBuilder.h"

#include "library/controllers/PTGroupController.h"
#include "library/entities/PTGroup.h"

#include <algorithm>

void PTGroupsOnlyMenuBuilder::addItem(const QString& title, const QString& action, pt::store::ManagedObject* object)
{
    if (target_ && PTGroup::from(object))
        target_->addItem(title, action, object);
}

PTMenuBuilder& PTGroupsOnlyMenuBuilder::addSubmenuItem(const QString& title, const QString& action,
                                                       pt::store::ManagedObject* object)
{
    auto* group = PTGroup::from(object);
    if (!target_ || !group)
        return submenus_.emplace_back(nullptr);
    const auto children = PTGroupController::sharedController().objectsForGroup(group);
    const bool hasSubgroups = std::any_of(children.begin(), children.end(),
                                          [](pt::store::ManagedObject* child) { return PTGroup::from(child); });
    if (!hasSubgroups) {
        target_->addItem(title, action, object);
        return submenus_.emplace_back(nullptr);
    }
    PTMenuBuilder& submenu = target_->addSubmenuItem(title, action, object);
    submenu.addItem(title, action, object);
    submenu.addSeparator();
    return submenus_.emplace_back(&submenu);
}
