#pragma once

#include "platform/runtime/Error.h"

#include <QString>

// What the object-store stack needs of the layers above it: the store file of the current library, and a way
// to show and report errors. The application shell installs its implementation at start-up
// (PTStoreStack::setHost); tests install fakes.
class PTStoreStackHost {
public:
    virtual ~PTStoreStackHost() = default;
    // The store file inside the current library package.
    virtual QString storePath() const = 0;
    // Shows an error to the user as an alert (the store could not be added or the contexts not built).
    virtual void presentError(const pt::Error& error) = 0;
    // A step of the save path failed; the error is logged already and never shown. Called on the main queue.
    virtual void saveFailed(const pt::Error& error) = 0;
};
