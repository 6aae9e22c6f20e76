#include "foundation/WSObservation.h"

#include "foundation/ObservationRegistry.h"

namespace WSObservation {

Binding observe(QObject* receiver, QObject* object, const QString& keyPath, int options,
                WSObservationBinding::Block block)
{
    auto binding = std::make_shared<WSObservationBinding>(object, keyPath, receiver, options, std::move(block));
    ObservationRegistry::of(receiver, true)->allBlockBasedObservations.push_back(binding);
    return binding;
}

Binding observe(QObject* receiver, QObject* object, const QString& keyPath, WSObservationBinding::Block block)
{
    return observe(receiver, object, keyPath, kvo::DefaultOptions, std::move(block));
}

namespace {
void removeObservations(QObject* receiver, const ObservationRegistry::Predicate& matches)
{
    if (auto* registry = ObservationRegistry::of(receiver, false))
        ObservationRegistry::removeMatching(registry->allBlockBasedObservations, matches);
}
} // namespace

void removeAllObservationsOn(QObject* receiver, QObject* object)
{
    removeObservations(receiver, [&](const WSObservationBinding& b) { return b.observed() == object; });
}

void removeAllObserverationsOn(QObject* receiver, QObject* object, const QString& keyPath)
{
    removeObservations(receiver,
                       [&](const WSObservationBinding& b) { return b.observed() == object && b.keyPath() == keyPath; });
}

void removeAllObservations(QObject* receiver)
{
    removeObservations(receiver, [](const WSObservationBinding&) { return true; });
}

} // namespace WSObservation
