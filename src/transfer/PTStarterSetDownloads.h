#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

// Downloads a starter icon set (a zip holding one exchange bundle) and imports it into the library: offered to
// a new user by the onboarding window and by the General preferences. The downloads subsystem installs it; with
// none installed, or without a starter-set address in this build, no starter set is offered.
class PTStarterSetDownloads {
public:
    // The fraction received, 0 to 1; a negative value while the bundle is imported.
    using Progress = std::function<void(double fraction)>;
    // Called once on the main queue: whether icons were imported.
    using Completion = std::function<void(bool imported)>;

    virtual ~PTStarterSetDownloads() = default;
    virtual void downloadStarterSet(const QUrl& url, Progress progress, Completion completion) = 0;
    // Stops a download under way; its completion then says nothing was imported.
    virtual void cancel() = 0;

    static void install(std::shared_ptr<PTStarterSetDownloads> downloads);
    static std::shared_ptr<PTStarterSetDownloads> installed();
    static inline const QString URLKey = QStringLiteral("PTStarterSetDownloadsURL");
    // Registers the address this build was configured with (PICTERN_STARTER_SET_URL, empty by default).
    static void registerDefaults();
    // The address under URLKey, so that a profile can point elsewhere.
    static QUrl starterSetURL();
    // An installed implementation and an address.
    static bool available();
};
