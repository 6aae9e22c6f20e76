#pragma once

#include "foundation/WSObservationBinding.h"

#include <memory>

// Blocks that observe a property of the receiver; the receiver keeps them.
namespace KVOBlockBinding {

using Binding = std::shared_ptr<WSObservationBinding>;

Binding addObserverForKeyPath(QObject* receiver, const QString& keyPath, QObject* owner, int options,
                              WSObservationBinding::Block block);
Binding addObserverForKeyPath(QObject* receiver, const QString& keyPath, QObject* owner,
                              WSObservationBinding::Block block);
void removeAllBlockBasedObserversForKeyPath(QObject* receiver, const QString& keyPath);
void removeAllBlockBasedObserversForOwner(QObject* receiver, QObject* owner);
void removeAllBlockBasedObservers(QObject* receiver);

} // namespace KVOBlockBinding
