#include "app/scripting/PTScriptablePlugin.h"

#include "app/scripting/PTScriptablePluginSketch.h"
#include "platform/runtime/Defaults.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <map>

namespace {

// Both live on the main thread, where scripting calls and the preferences arrive.
std::map<QString, PTScriptablePlugin::Factory>& factories()
{
    static std::map<QString, PTScriptablePlugin::Factory> registry;
    return registry;
}

std::map<QString, std::unique_ptr<PTScriptablePlugin>>& instances()
{
    static std::map<QString, std::unique_ptr<PTScriptablePlugin>> kept;
    return kept;
}

} // namespace

PTScriptablePlugin::~PTScriptablePlugin()
{
    if (!m_identifier.isEmpty())
        archive();
}

void PTScriptablePlugin::registerClass(const QString& identifier, Factory factory)
{
    factories()[identifier] = std::move(factory);
}

PTScriptablePlugin* PTScriptablePlugin::pluginForIdentifier(const QString& identifier)
{
    if (auto kept = instances().find(identifier); kept != instances().end())
        return kept->second.get();
    const auto factory = factories().find(identifier);
    if (factory == factories().end())
        return nullptr;
    std::unique_ptr<PTScriptablePlugin> plugin = factory->second();
    if (!plugin)
        return nullptr;
    return instances().emplace(identifier, std::move(plugin)).first->second.get();
}

QStringList PTScriptablePlugin::registeredIdentifiers()
{
    QStringList identifiers;
    for (const auto& [identifier, factory] : factories())
        identifiers.append(identifier);
    return identifiers;
}

void PTScriptablePlugin::registerAll()
{
    registerClass(PTScriptablePluginSketch::Identifier, [] { return std::make_unique<PTScriptablePluginSketch>(); });
}

void PTScriptablePlugin::discardInstances()
{
    instances().clear();
}

void PTScriptablePlugin::setIdentifier(const QString& identifier)
{
    m_identifier = identifier;
    unarchive();
}

QString PTScriptablePlugin::JSONEncodedOptions() const
{
    return QString::fromUtf8(QJsonDocument(QJsonObject::fromVariantMap(m_options)).toJson(QJsonDocument::Indented));
}

void PTScriptablePlugin::setOptionValue(const QString& key, const QVariant& value)
{
    if (value.isValid())
        m_options.insert(key, value);
    else
        m_options.remove(key);
    archive();
}

void PTScriptablePlugin::archive() const
{
    pt::Defaults& defaults = pt::Defaults::standard();
    QVariantMap stored = defaults.dictionaryForKey(OptionValuesKey);
    stored.insert(m_identifier, m_options);
    defaults.set(OptionValuesKey, stored);
    defaults.synchronize();
}

void PTScriptablePlugin::unarchive()
{
    // Stored values win; a default added since they were stored joins them.
    m_options = pt::Defaults::standard().dictionaryForKey(OptionValuesKey).value(m_identifier).toMap();
    const QVariantMap defaults = defaultOptionValues();
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        if (!m_options.contains(it.key()))
            m_options.insert(it.key(), it.value());
    }
}
