#pragma once

#include "app/scripting/PTScriptablePlugin.h"
#include "foundation/PTApplicationInfo.h"
#include "platform/runtime/Error.h"

#include <QIcon>
#include <QUrl>

#include <functional>
#include <optional>

// The plug-in Pictern carries for a design application: where the carried and the installed bundle are, their
// versions from the bundles' manifests, whether an update is due, and installing. The design application offers
// no Linux build, so installing hands the bundle to its desktop entry when one exists and otherwise copies the
// bundle into the application's plug-in folder, the step the application would take.
class PTScriptablePluginSketch : public PTScriptablePlugin {
public:
    static inline const QString Identifier = QStringLiteral("com.pictern.integration.sketch");
    static inline const QString HostIdentifier = QStringLiteral("com.bohemiancoding.sketch3");
    static inline const QString BundleName = QStringLiteral("Pictern.sketchplugin");
    static inline const QString FormatKey = QStringLiteral("format");

    PTScriptablePluginSketch();

    // The "version" of the bundle's Contents/Sketch/manifest.json; empty unless the URL is a local
    // ".sketchplugin" whose manifest is a JSON object with a string "version".
    static QString versionNumberForPluginAtURL(const QUrl& url);
    // Where Pictern's own bundle lies: share/pictern beside the executable's folder, else the data folders.
    static QString carriedBundleLocation();
    // The design application's plug-in folder under the user's data folder, and our bundle in it.
    static QString installedLocation();
    // The design application's desktop entry, if the desktop has one.
    static std::optional<PTApplicationInfo> host();
    // The icon its desktop entry names (a theme name or a file); null without an entry or when the icon is
    // nowhere to be found.
    static QIcon hostIcon();

    bool installed() const override;
    bool updateAvailable() const override;
    QString versionString() const override;
    QVariantMap defaultOptionValues() const override;

    // Installs or updates. The copy is made beside the installed bundle and swapped in only when whole, so a
    // failure keeps the old one. The handler runs on the main queue with a null error on success.
    void install(std::function<void(const pt::Error&)> done);
};
