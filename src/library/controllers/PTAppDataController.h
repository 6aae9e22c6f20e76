#pragma once

#include "library/controllers/PTAppDataProvider.h"

#include <memory>

// Seeds a new user's library with records, once per user account. Providers are registered at start-up
// (registerAll); the shell calls check() once during launch, after the object store is up.
class PTAppDataController {
public:
    // Registers the built-in providers: the MIT licence, then the other common licences.
    static void registerAll();
    static void registerInitialDataProvider(std::shared_ptr<const PTAppDataProvider> provider);
    // The providers waiting for the check.
    static int registeredCount();
    // Runs, in registration order, the providers that have not run for this user, into the main context (not
    // saved: the next save stores the records), and records each that succeeded. Empties the registry, so later
    // checks in this process do nothing. Answers whether any provider ran.
    static bool check();
};
