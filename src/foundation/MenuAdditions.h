#pragma once

#include <QString>

class QAction;
class QMenu;

namespace menuAdditions {

// Triggers the item as a click would, when it is one of the menu's own items; otherwise does nothing.
void performActionForItem(QMenu* menu, QAction* item);

// A name the user gave, as an item title: every "&" doubled, so that none of its letters becomes a mnemonic.
QString itemTitle(const QString& name);
// An item title as it is shown: mnemonic markers removed and "&&" read as "&".
QString shownTitle(const QString& title);

} // namespace menuAdditions
