#include "library/controllers/PTItemController.h"

#include "library/entities/PTItem.h"
#include "platform/runtime/Logging.h"

#include <QRegularExpression>

PTItemController& PTItemController::sharedController()
{
    static PTItemController controller;
    return controller;
}

QHash<QString, QStringList> PTItemController::groupItems(const QVector<PTItem*>& items) const
{
    static const QRegularExpression expression(
        QStringLiteral(R"((?<name>[a-z\s]+)\s?((?<width>[0-9]+)\s?x\s?(?<height>[0-9]+)|(@(?<scale>[0-9]+))))"),
        QRegularExpression::CaseInsensitiveOption);
    QHash<QString, QStringList> groups;
    for (PTItem* item : items) {
        const QString name = item->name();
        for (auto it = expression.globalMatch(name); it.hasNext();)
            groups[it.next().captured(QStringLiteral("name")).trimmed()].append(name);
    }
    qCInfo(lcLibrary) << groups;
    return groups;
}
