#pragma once

class QAction;
class QMenu;

namespace menuAdditions {

// Triggers the item as a click would, when it is one of the menu's own items; otherwise does nothing.
void performActionForItem(QMenu* menu, QAction* item);

} // namespace menuAdditions
