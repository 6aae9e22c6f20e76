#pragma once

#include "library/controllers/PTMenuBuilder.h"

#include <deque>

// Passes on only the group entries of a group tree's menu. A group with subgroups becomes a submenu that starts
// with the group itself and a separator (so the group can still be chosen), then its subgroups.
class PTGroupsOnlyMenuBuilder : public PTMenuBuilder {
public:
    // A null target discards everything (the inside of a group without subgroups).
    explicit PTGroupsOnlyMenuBuilder(PTMenuBuilder* target) : target_(target) {}
    void addItem(const QString& title, const QString& action, pt::store::ManagedObject* object) override;
    PTMenuBuilder& addSubmenuItem(const QString& title, const QString& action,
                                  pt::store::ManagedObject* object) override;
    void addSeparator() override {}

private:
    PTMenuBuilder* target_;
    std::deque<PTGroupsOnlyMenuBuilder> submenus_;
};
