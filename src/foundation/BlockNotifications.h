#pragma once

#include "platform/runtime/NotificationCenter.h"

#include <QObject>

#include <functional>
#include <memory>

// Blocks that run when a notification of a name is posted with the receiver as its object. The receiver keeps
// its blocks; they are removed with it, so a block never runs for a receiver that is gone.
namespace block_notifications {

using Block = std::function<void(const pt::Notification&)>;

// The token of one registered block (the name is spelled as the program has always spelled it).
struct NotifcationBlockContainer {
    Block block;
    QString name;
};
using Token = std::shared_ptr<NotifcationBlockContainer>;

// Registers the block; the receiver joins the centre once per name, for the centre given first.
Token addNotificationBlock(QObject* receiver, Block block, const QString& name, pt::NotificationCenter& center);
Token addNotificationBlock(QObject* receiver, Block block, const QString& name);
// Takes the block out; the receiver stays registered for the name, and posts find nothing to call.
void removeNotificationBlock(QObject* receiver, const Token& token);
// The number of blocks the receiver keeps for the name.
int notificationBlockCount(QObject* receiver, const QString& name);

} // namespace block_notifications
