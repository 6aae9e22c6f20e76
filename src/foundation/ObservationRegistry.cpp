#include "foundation/ObservationRegistry.h"

#include <QVariant>

namespace {
const char* const RegistryProperty = "_pt_observations";
}

ObservationRegistry* ObservationRegistry::of(QObject* object, bool create)
{
    auto* registry = qobject_cast<ObservationRegistry*>(object->property(RegistryProperty).value<QObject*>());
    if (!registry && create) {
        registry = new ObservationRegistry(object);
        object->setProperty(RegistryProperty, QVariant::fromValue<QObject*>(registry));
    }
    return registry;
}

void ObservationRegistry::removeMatching(std::vector<Binding>& list, const Predicate& matches)
{
    const std::vector<Binding> snapshot = list;
    for (const Binding& binding : snapshot) {
        if (!matches(*binding))
            continue;
        binding->invalidate();
        std::erase(list, binding);
    }
}
