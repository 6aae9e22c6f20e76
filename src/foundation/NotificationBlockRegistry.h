#pragma once

#include "foundation/BlockNotifications.h"

#include <QHash>
#include <QObject>

#include <mutex>
#include <vector>

namespace block_notifications {

// What a receiver keeps of its notification blocks: a child object, so it ends with the receiver, and with it
// the receiver's registrations with the centres.
class NotificationBlockRegistry : public QObject {
    Q_OBJECT
public:
    static NotificationBlockRegistry* of(QObject* receiver, bool create);
    ~NotificationBlockRegistry() override;

    Token add(Block block, const QString& name, pt::NotificationCenter& center);
    void remove(const Token& token);
    int count(const QString& name) const;

private:
    explicit NotificationBlockRegistry(QObject* receiver);
    void deliver(const pt::Notification& notification);

    mutable std::mutex mutex_;
    QHash<QString, std::vector<Token>> blocks_;
    std::vector<pt::ObserverToken> registrations_;
};

} // namespace block_notifications
