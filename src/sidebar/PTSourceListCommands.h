#pragma once

#include "platform/store/ManagedObject.h"

#include <QVector>

// The commands on the source list's groups and sets, and when each may run: one rule for the context menus and
// for the window's command handlers.
namespace PTSourceListCommands {

enum class Command { Group, Ungroup, Rename, Merge, Export, Delete };

// Whether the command can act on the objects (groups and sets): grouping needs two or more, none inside another
// selected group; ungrouping only groups; renaming and exporting exactly one; merging two or more sets only;
// deleting any, unless a set among them cannot be removed.
bool isEnabled(Command command, const QVector<pt::store::ManagedObject*>& objects);

} // namespace PTSourceListCommands
