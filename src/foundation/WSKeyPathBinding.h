#pragma once

#include <QObject>
#include <QString>

// One- or two-way bindings of a property of the receiver to a property of another object.
namespace WSKeyPathBinding {

// On each change of the receiver's sourceKey, sets target's targetKey to the new value; with reverseMapping
// also the other way round.
void bindSourceKeyPath(QObject* receiver, const QString& sourceKey, QObject* target, const QString& targetKey,
                       bool reverseMapping);
// Ends the key-path bindings of the receiver whose key path is the given one.
void unbindKeyPath(QObject* receiver, const QString& keyPath);
void unbindAllKeyPaths(QObject* receiver);
// The number of key-path bindings the receiver holds.
int keyPathBindingCount(QObject* receiver);

} // namespace WSKeyPathBinding
