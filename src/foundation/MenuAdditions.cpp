#include "foundation/MenuAdditions.h"

#include <QAction>
#include <QMenu>

namespace menuAdditions {

void performActionForItem(QMenu* menu, QAction* item)
{
    if (menu && item && menu->actions().contains(item))
        item->trigger();
}

} // namespace menuAdditions
