#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

// An integration with another application that scripts can ask about: its identifier, name, whether it is
// installed, and option values that persist in the settings under the plug-in's identifier. Plug-ins are made by
// a registry of factories keyed by identifier, once each, and kept for the rest of the run.
class PTScriptablePlugin {
public:
    static inline const QString OptionValuesKey = QStringLiteral("kPTScriptablePluginOptionValuesKey");
    using Factory = std::function<std::unique_ptr<PTScriptablePlugin>()>;

    virtual ~PTScriptablePlugin();
    PTScriptablePlugin(const PTScriptablePlugin&) = delete;
    PTScriptablePlugin& operator=(const PTScriptablePlugin&) = delete;

    // Records the factory under the identifier; a later registration replaces it.
    static void registerClass(const QString& identifier, Factory factory);
    // The kept plug-in of the identifier, made on first request; null when nothing is registered for it.
    static PTScriptablePlugin* pluginForIdentifier(const QString& identifier);
    static QStringList registeredIdentifiers();
    // Registers every plug-in Pictern carries.
    static void registerAll();
    // Ends the kept plug-ins as the end of a run does (their options are written); the next request makes them anew.
    static void discardInstances();

    QString identifier() const { return m_identifier; }
    // Takes the identifier and loads the options stored for it.
    void setIdentifier(const QString& identifier);
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }

    virtual bool installed() const { return m_installed; }
    void setInstalled(bool installed) { m_installed = installed; }
    virtual bool updateAvailable() const { return false; }
    // The carried plug-in's version; empty when unknown.
    virtual QString versionString() const { return {}; }
    virtual QVariantMap defaultOptionValues() const { return {}; }

    QVariantMap options() const { return m_options; }
    // The options as indented JSON text.
    QString JSONEncodedOptions() const;
    // Stores the value under the key (an invalid value removes the key) and writes the options at once.
    void setOptionValue(const QString& key, const QVariant& value);

protected:
    PTScriptablePlugin() = default;

private:
    void archive() const;
    void unarchive();

    QString m_identifier;
    QString m_name;
    bool m_installed = false;
    QVariantMap m_options;
};
