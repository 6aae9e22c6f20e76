#include "foundation/WSKeyPathBinding.h"

#include "foundation/ObservationRegistry.h"
#include "foundation/WSObservation.h"

namespace WSKeyPathBinding {

void bindSourceKeyPath(QObject* receiver, const QString& sourceKey, QObject* target, const QString& targetKey,
                       bool reverseMapping)
{
    auto* registry = ObservationRegistry::of(receiver, true);
    const QByteArray targetName = targetKey.toLatin1();
    registry->allKeyPathBindings.push_back(
        WSObservation::observe(receiver, receiver, sourceKey, [target, targetName](QObject*, const QVariantMap& c) {
            target->setProperty(targetName.constData(), c.value(kvo::ChangeNewKey));
        }));
    if (!reverseMapping)
        return;
    const QByteArray sourceName = sourceKey.toLatin1();
    registry->allKeyPathBindings.push_back(
        WSObservation::observe(receiver, target, targetKey, [receiver, sourceName](QObject*, const QVariantMap& c) {
            receiver->setProperty(sourceName.constData(), c.value(kvo::ChangeNewKey));
        }));
}

namespace {
// Invalidates the matching key-path bindings, clears their blocks and drops them.
void unbind(QObject* receiver, const ObservationRegistry::Predicate& matches)
{
    auto* registry = ObservationRegistry::of(receiver, false);
    if (!registry)
        return;
    const auto snapshot = registry->allKeyPathBindings;
    for (const auto& binding : snapshot) {
        if (!matches(*binding))
            continue;
        binding->invalidate();
        binding->clearBlock();
        std::erase(registry->allKeyPathBindings, binding);
    }
}
} // namespace

void unbindKeyPath(QObject* receiver, const QString& keyPath)
{
    unbind(receiver, [&](const WSObservationBinding& b) { return b.keyPath() == keyPath; });
}

void unbindAllKeyPaths(QObject* receiver)
{
    unbind(receiver, [](const WSObservationBinding&) { return true; });
}

int keyPathBindingCount(QObject* receiver)
{
    auto* registry = ObservationRegistry::of(receiver, false);
    return registry ? static_cast<int>(registry->allKeyPathBindings.size()) : 0;
}

} // namespace WSKeyPathBinding
