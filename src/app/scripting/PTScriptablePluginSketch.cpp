#include "app/scripting/PTScriptablePluginSketch.h"

#include "foundation/AsyncCopy.h"
#include "foundation/PTUtils.h"
#include "foundation/StringAdditions.h"
#include "platform/runtime/DispatchQueue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

const QString kManifest = QStringLiteral("Contents/Sketch/manifest.json");
const QString kVersionKey = QStringLiteral("version");
constexpr qint64 kMaximumManifestBytes = 1 << 20;

} // namespace

PTScriptablePluginSketch::PTScriptablePluginSketch()
{
    setName(QStringLiteral("Sketch"));
    setIdentifier(Identifier);
}

QString PTScriptablePluginSketch::versionNumberForPluginAtURL(const QUrl& url)
{
    if (!url.isLocalFile() || QFileInfo(url.toLocalFile()).suffix() != QLatin1String("sketchplugin"))
        return {};
    QFile manifest(QDir(url.toLocalFile()).filePath(kManifest));
    if (manifest.size() > kMaximumManifestBytes || !manifest.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(manifest.readAll());
    const QJsonValue version = document.object().value(kVersionKey);
    return document.isObject() && version.isString() ? version.toString() : QString();
}

QString PTScriptablePluginSketch::carriedBundleLocation()
{
    const QString relative = QStringLiteral("pictern/") + BundleName;
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/") + relative);
    if (QFileInfo(beside).isDir())
        return QDir::cleanPath(beside);
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, relative, QStandardPaths::LocateDirectory);
}

QString PTScriptablePluginSketch::installedLocation()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(HostIdentifier + QStringLiteral("/Plugins/") + BundleName);
}

std::optional<PTApplicationInfo> PTScriptablePluginSketch::host()
{
    return PTUtils::applicationForIdentifier(HostIdentifier + QStringLiteral(".desktop"));
}

QIcon PTScriptablePluginSketch::hostIcon()
{
    const std::optional<PTApplicationInfo> entry = host();
    if (!entry || entry->iconName.isEmpty())
        return {};
    if (!QFileInfo(entry->iconName).isAbsolute())
        return QIcon::fromTheme(entry->iconName);
    // An icon file names itself even when it is gone; a missing one counts as none.
    return QFileInfo::exists(entry->iconName) ? QIcon(entry->iconName) : QIcon();
}

bool PTScriptablePluginSketch::installed() const
{
    return QFileInfo::exists(installedLocation());
}

bool PTScriptablePluginSketch::updateAvailable() const
{
    if (!installed())
        return false;
    const QString carried = versionString();
    const QString present = versionNumberForPluginAtURL(QUrl::fromLocalFile(installedLocation()));
    // An installed bundle that says no version is older than a carried one that does.
    if (present.isEmpty())
        return !carried.isEmpty();
    return !carried.isEmpty() && PTCompareVersions(carried, present) > 0;
}

QString PTScriptablePluginSketch::versionString() const
{
    const QString carried = carriedBundleLocation();
    return carried.isEmpty() ? QString() : versionNumberForPluginAtURL(QUrl::fromLocalFile(carried));
}

QVariantMap PTScriptablePluginSketch::defaultOptionValues() const
{
    return {{FormatKey, 1}};
}

void PTScriptablePluginSketch::install(std::function<void(const pt::Error&)> done)
{
    const QString carried = carriedBundleLocation();
    const auto finish = [done](const pt::Error& error) {
        pt::DispatchQueue::main().async([done, error] { done(error); });
    };
    if (carried.isEmpty())
        return finish(pt::Error::withDescription(asyncCopy::ErrorDomain, ENOENT,
                                                 QStringLiteral("Pictern's plug-in is missing from this installation.")));
    if (host() && PTUtils::openURLs({QUrl::fromLocalFile(carried)}, HostIdentifier + QStringLiteral(".desktop")))
        return finish({});
    const QString target = installedLocation();
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return finish(pt::Error::withDescription(asyncCopy::ErrorDomain, EACCES,
                                                 QStringLiteral("The plug-in folder could not be made.")));
    const auto copy = asyncCopy::asynchronousCopyFileAtPath(carried, target, [done](const asyncCopy::CopyStatus& s) {
        if (s.stage == asyncCopy::Stage::Complete)
            done(s.outcome == asyncCopy::Outcome::Done ? pt::Error() : s.error);
    });
    if (!copy)
        finish(copy.error());
}
