#include "foundation/MenuAdditions.h"

#include <QAction>
#include <QMenu>

namespace menuAdditions {

void performActionForItem(QMenu* menu, QAction* item)
{
    if (menu && item && menu->actions().contains(item))
        item->trigger();
}

QString itemTitle(const QString& name)
{
    return QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString shownTitle(const QString& title)
{
    QString shown;
    shown.reserve(title.size());
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title.at(i) == u'&' && ++i == title.size())
            break;
        shown += title.at(i);
    }
    return shown;
}

} // namespace menuAdditions
