#pragma once

#include "platform/store/ManagedObject.h"

#include <QString>

// Receives the entries of a menu that the library describes (the children of a group, say); the interface kit
// builds a real menu from them, and tests record them.
class PTMenuBuilder {
public:
    virtual ~PTMenuBuilder() = default;
    // An entry titled `title` that stands for the object and sends the action when chosen; an empty action
    // gives an entry that sends nothing.
    virtual void addItem(const QString& title, const QString& action, pt::store::ManagedObject* object) = 0;
    // The same entry with a submenu; the submenu's entries go to the builder answered, which the receiver owns.
    virtual PTMenuBuilder& addSubmenuItem(const QString& title, const QString& action,
                                          pt::store::ManagedObject* object) = 0;
    virtual void addSeparator() = 0;
};
