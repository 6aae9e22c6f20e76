#include "foundation/KVOBlockBinding.h"

#include "foundation/ObservationRegistry.h"

namespace KVOBlockBinding {

Binding addObserverForKeyPath(QObject* receiver, const QString& keyPath, QObject* owner, int options,
                              WSObservationBinding::Block block)
{
    auto binding = std::make_shared<WSObservationBinding>(receiver, keyPath, owner, options, std::move(block));
    ObservationRegistry::of(receiver, true)->allBlockBasedObservers.push_back(binding);
    return binding;
}

Binding addObserverForKeyPath(QObject* receiver, const QString& keyPath, QObject* owner,
                              WSObservationBinding::Block block)
{
    return addObserverForKeyPath(receiver, keyPath, owner, kvo::DefaultOptions, std::move(block));
}

namespace {
void removeObservers(QObject* receiver, const ObservationRegistry::Predicate& matches)
{
    if (auto* registry = ObservationRegistry::of(receiver, false))
        ObservationRegistry::removeMatching(registry->allBlockBasedObservers, matches);
}
} // namespace

void removeAllBlockBasedObserversForKeyPath(QObject* receiver, const QString& keyPath)
{
    removeObservers(receiver, [&](const WSObservationBinding& b) { return b.keyPath() == keyPath; });
}

void removeAllBlockBasedObserversForOwner(QObject* receiver, QObject* owner)
{
    removeObservers(receiver, [&](const WSObservationBinding& b) { return b.owner() == owner; });
}

void removeAllBlockBasedObservers(QObject* receiver)
{
    removeObservers(receiver, [](const WSObservationBinding&) { return true; });
}

} // namespace KVOBlockBinding
