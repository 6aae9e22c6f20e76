#include "foundation/BlockNotifications.h"

#include "foundation/NotificationBlockRegistry.h"

namespace block_notifications {

Token addNotificationBlock(QObject* receiver, Block block, const QString& name, pt::NotificationCenter& center)
{
    return NotificationBlockRegistry::of(receiver, true)->add(std::move(block), name, center);
}

Token addNotificationBlock(QObject* receiver, Block block, const QString& name)
{
    return addNotificationBlock(receiver, std::move(block), name, pt::NotificationCenter::defaultCenter());
}

void removeNotificationBlock(QObject* receiver, const Token& token)
{
    if (auto* registry = NotificationBlockRegistry::of(receiver, false))
        registry->remove(token);
}

int notificationBlockCount(QObject* receiver, const QString& name)
{
    auto* registry = NotificationBlockRegistry::of(receiver, false);
    return registry ? registry->count(name) : 0;
}

} // namespace block_notifications
