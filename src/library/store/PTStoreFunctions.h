#pragma once

#include "platform/store/ObjectContext.h"

#include <functional>

// The ways the rest of the program reaches the object-store stack (PTStoreStack::shared()).

// The main-queue context, building the stack on first use; null when it cannot be built.
pt::store::ObjectContext* PTMainManagedObjectContext();
// The existing object of the main context that the URI string names; null for anything else.
pt::store::ManagedObject* PTMainContextObjectWithURIString(const QString& uri);
// Whether the main context exists yet; builds nothing.
bool PTHasManagedObjectContext();
// The private-queue context that writes the store file; null before the main context was built.
pt::store::ObjectContext* PTPrivateManagedObjectContext();
// Starts the save path without a completion; answers true at once.
bool PTSaveManagedObjectContext();
// Starts the save path; the completion runs on the main queue when it ends, with the error of a failed step
// or a null error.
bool PTSaveManagedObjectContextWithCompletion(std::function<void(const pt::Error& error)> completion);
