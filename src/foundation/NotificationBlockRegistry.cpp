#include "foundation/NotificationBlockRegistry.h"

#include <QVariant>

namespace block_notifications {

namespace {
const char* const RegistryProperty = "_pt_notificationBlocks";
}

NotificationBlockRegistry* NotificationBlockRegistry::of(QObject* receiver, bool create)
{
    auto* registry = qobject_cast<NotificationBlockRegistry*>(receiver->property(RegistryProperty).value<QObject*>());
    if (!registry && create) {
        registry = new NotificationBlockRegistry(receiver);
        receiver->setProperty(RegistryProperty, QVariant::fromValue<QObject*>(registry));
    }
    return registry;
}

NotificationBlockRegistry::NotificationBlockRegistry(QObject* receiver) : QObject(receiver) {}

NotificationBlockRegistry::~NotificationBlockRegistry()
{
    // Leave the centres before the blocks go: this waits for a delivery running on another thread.
    registrations_.clear();
}

Token NotificationBlockRegistry::add(Block block, const QString& name, pt::NotificationCenter& center)
{
    auto token = std::make_shared<NotifcationBlockContainer>(NotifcationBlockContainer{std::move(block), name});
    std::lock_guard lock(mutex_);
    auto it = blocks_.find(name);
    if (it == blocks_.end()) {
        it = blocks_.insert(name, {});
        registrations_.push_back(center.addObserver(
            name, parent(), [this](const pt::Notification& notification) { deliver(notification); }));
    }
    it->push_back(token);
    return token;
}

void NotificationBlockRegistry::remove(const Token& token)
{
    if (!token)
        return;
    std::lock_guard lock(mutex_);
    auto it = blocks_.find(token->name);
    if (it != blocks_.end())
        std::erase(*it, token);
}

int NotificationBlockRegistry::count(const QString& name) const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(blocks_.value(name).size());
}

void NotificationBlockRegistry::deliver(const pt::Notification& notification)
{
    // The blocks registered when delivery begins; a block may add or remove blocks.
    std::vector<Token> snapshot;
    {
        std::lock_guard lock(mutex_);
        snapshot = blocks_.value(notification.name);
    }
    for (const Token& token : snapshot)
        token->block(notification);
}

} // namespace block_notifications
