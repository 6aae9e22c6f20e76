#pragma once

#include "foundation/WSObservationBinding.h"

#include <memory>

// Blocks through which the receiver observes properties of other objects; the receiver keeps them, so they end
// when it does.
namespace WSObservation {

using Binding = std::shared_ptr<WSObservationBinding>;

Binding observe(QObject* receiver, QObject* object, const QString& keyPath, int options,
                WSObservationBinding::Block block);
Binding observe(QObject* receiver, QObject* object, const QString& keyPath, WSObservationBinding::Block block);
void removeAllObservationsOn(QObject* receiver, QObject* object);
// Spelled as the program has always spelled it.
void removeAllObserverationsOn(QObject* receiver, QObject* object, const QString& keyPath);
void removeAllObservations(QObject* receiver);

} // namespace WSObservation
