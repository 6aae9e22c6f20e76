#pragma once

#include "foundation/WSObservationBinding.h"

#include <QObject>

#include <memory>
#include <vector>

// What an object keeps of its key-value observation blocks: the bindings that observe it, those it made to
// observe others, and those made by key-path binding. A child object, so everything ends with the object.
class ObservationRegistry : public QObject {
    Q_OBJECT
public:
    using Binding = std::shared_ptr<WSObservationBinding>;
    using Predicate = std::function<bool(const WSObservationBinding&)>;

    static ObservationRegistry* of(QObject* object, bool create);

    std::vector<Binding> allBlockBasedObservers;
    std::vector<Binding> allBlockBasedObservations;
    std::vector<Binding> allKeyPathBindings;

    // Invalidates and removes the bindings of the list that match; walks a snapshot, so blocks may remove too.
    static void removeMatching(std::vector<Binding>& list, const Predicate& matches);

private:
    explicit ObservationRegistry(QObject* object) : QObject(object) {}
};
