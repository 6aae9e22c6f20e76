#pragma once

#include <memory>

// The starter sets offered to a new user, downloaded into the library. The import subsystem installs it; until
// then a first launch offers none.
class PTStarterSetDownloads {
public:
    virtual ~PTStarterSetDownloads() = default;
    // Offers the downloads on the main window; called once, on the first launch, after the window is up.
    virtual void offerOnFirstLaunch() = 0;

    static void install(std::shared_ptr<PTStarterSetDownloads> downloads);
    static std::shared_ptr<PTStarterSetDownloads> installed();
};
