#include "app/scripting/PTScriptingAdaptor.h"

#include "app/scripting/PTScriptableGroup.h"
#include "app/scripting/PTScriptableImportCommand.h"
#include "app/scripting/PTScriptablePlugin.h"
#include "app/scripting/ScriptableLookup.h"
#include "library/bundle/PTTernImporter.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/upkeep/PTImportValidation.h"
#include "transfer/import/PTAddIconsPresenter.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString kCollectionKind = QStringLiteral("collection");
const QString kGroupKind = QStringLiteral("group");
constexpr qsizetype kMaximumFiles = 10000;
constexpr qsizetype kMaximumPathBytes = 4096;
constexpr qsizetype kMaximumApplicationName = 256;

PTScriptingAdaptor::Entry entryOf(const PTScriptableCollection& collection)
{
    return {collection.name, collection.sort, collection.UUID};
}

PTScriptingAdaptor::Entry entryOf(const PTScriptableGroup& group)
{
    return {group.name, group.sort, group.UUID};
}

template <typename Scriptables>
QList<PTScriptingAdaptor::Entry> entriesOf(const Scriptables& scriptables)
{
    QList<PTScriptingAdaptor::Entry> entries;
    for (const auto& scriptable : scriptables)
        entries.append(entryOf(scriptable));
    return entries;
}

bool hasControlCharacters(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

// An absolute path or a local file: URI of something that exists; anything else gives an empty URL.
QUrl localFile(const QString& given)
{
    QUrl url;
    if (given.startsWith(QLatin1Char('/')))
        url = QUrl::fromLocalFile(given);
    else if (given.startsWith(QLatin1String("file:")))
        url = QUrl(given, QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile() || !(url.host().isEmpty() || url.host() == QLatin1String("localhost")))
        return {};
    const QString path = url.toLocalFile();
    if (path.toUtf8().size() > kMaximumPathBytes || hasControlCharacters(path) || !QFileInfo::exists(path))
        return {};
    return QUrl::fromLocalFile(path);
}

// An icon file or folder the importer takes, or an exchange bundle, which the sheet hands to the bundle reader.
bool isImportable(const QString& path)
{
    return PTTernImporter::isPathATern(path)
           || PTImportValidation::installed()->validateURLStrings({path}, PTImportValidation::AllOptions)
                  == QStringList{path};
}

} // namespace

PTScriptingAdaptor::PTScriptingAdaptor(QObject* object, QDBusConnection bus)
    : QDBusAbstractAdaptor(object)
    , m_bus(std::move(bus))
{
    registerTypes();
}

void PTScriptingAdaptor::registerTypes()
{
    qDBusRegisterMetaType<Entry>();
    qDBusRegisterMetaType<QList<Entry>>();
    qDBusRegisterMetaType<Child>();
    qDBusRegisterMetaType<QList<Child>>();
    qDBusRegisterMetaType<PluginRecord>();
}

bool PTScriptingAdaptor::refuse(const QDBusMessage& call, const QString& error, const QString& message)
{
    // The error goes back instead of the slot's answer. A call made from inside another answers once.
    if (!call.isDelayedReply()) {
        call.setDelayedReply(true);
        m_bus.send(call.createErrorReply(error, message));
    }
    return false;
}

bool PTScriptingAdaptor::refuseUnlessReady(const QDBusMessage& call)
{
    return m_ready || refuse(call, NotReadyError, QStringLiteral("Pictern has not finished starting."));
}

QList<PTScriptingAdaptor::Entry> PTScriptingAdaptor::Collections(const QDBusMessage& call)
{
    if (!refuseUnlessReady(call))
        return {};
    QList<Entry> entries;
    for (PTCollection* collection : PTCollectionController::sharedController().collections())
        entries.append(entryOf(PTScriptableCollection::scriptableCollectionFromCollection(collection)));
    return entries;
}

QList<PTScriptingAdaptor::Entry> PTScriptingAdaptor::Groups(const QDBusMessage& call)
{
    if (!refuseUnlessReady(call))
        return {};
    QList<Entry> entries;
    for (PTGroup* group : PTGroupController::sharedController().groups())
        entries.append(entryOf(PTScriptableGroup::scriptableGroupFromGroup(group)));
    return entries;
}

PTScriptingAdaptor::Child PTScriptingAdaptor::Object(const QString& uri, const QDBusMessage& call)
{
    if (!refuseUnlessReady(call))
        return {};
    pt::store::ManagedObject* object = scriptableLookup::objectWithURI(uri);
    if (auto* collection = dynamic_cast<PTCollection*>(object))
        return {kCollectionKind, entryOf(PTScriptableCollection::scriptableCollectionFromCollection(collection))};
    if (auto* group = dynamic_cast<PTGroup*>(object))
        return {kGroupKind, entryOf(PTScriptableGroup::scriptableGroupFromGroup(group))};
    if (object)
        refuse(call, InvalidArgumentError, QStringLiteral("The object is neither a set nor a group."));
    else
        refuse(call, NoSuchObjectError, QStringLiteral("No set or group has this URI."));
    return {};
}

QString PTScriptingAdaptor::ParentGroup(const QString& uri, const QDBusMessage& call)
{
    const Child child = Object(uri, call);
    if (child.kind.isEmpty())
        return {};
    const std::optional<PTScriptableGroup> parent =
        child.kind == kGroupKind ? PTScriptableGroup{child.entry.name, child.entry.sort, uri}.group()
                                 : PTScriptableCollection{child.entry.name, child.entry.sort, uri}.group();
    return parent ? parent->UUID : QString();
}

QList<PTScriptingAdaptor::Child> PTScriptingAdaptor::GroupChildren(const QString& uri, const QDBusMessage& call)
{
    const Child object = Object(uri, call);
    if (object.kind.isEmpty())
        return {};
    if (object.kind != kGroupKind) {
        refuse(call, InvalidArgumentError, QStringLiteral("The object is not a group."));
        return {};
    }
    QList<Child> children;
    for (const PTScriptableGroup::Child& child : PTScriptableGroup{{}, -1, uri}.children()) {
        if (const auto* group = std::get_if<PTScriptableGroup>(&child))
            children.append({kGroupKind, entryOf(*group)});
        else
            children.append({kCollectionKind, entryOf(std::get<PTScriptableCollection>(child))});
    }
    return children;
}

QList<PTScriptingAdaptor::Entry> PTScriptingAdaptor::GroupGroups(const QString& uri, const QDBusMessage& call)
{
    QList<Entry> groups;
    for (const Child& child : GroupChildren(uri, call)) {
        if (child.kind == kGroupKind)
            groups.append(child.entry);
    }
    return groups;
}

QList<PTScriptingAdaptor::Entry> PTScriptingAdaptor::GroupCollections(const QString& uri, const QDBusMessage& call)
{
    const Child object = Object(uri, call);
    if (object.kind.isEmpty())
        return {};
    if (object.kind != kGroupKind) {
        refuse(call, InvalidArgumentError, QStringLiteral("The object is not a group."));
        return {};
    }
    return entriesOf(PTScriptableGroup{{}, -1, uri}.collections());
}

QStringList PTScriptingAdaptor::Plugins(const QDBusMessage& call)
{
    if (!refuseUnlessReady(call))
        return {};
    return PTScriptablePlugin::registeredIdentifiers();
}

PTScriptingAdaptor::PluginRecord PTScriptingAdaptor::Plugin(const QString& identifier, const QDBusMessage& call)
{
    if (!refuseUnlessReady(call))
        return {};
    const PTScriptablePlugin* plugin = PTScriptablePlugin::pluginForIdentifier(identifier);
    if (!plugin) {
        refuse(call, NoSuchPluginError, QStringLiteral("No plug-in has this identifier."));
        return {};
    }
    return {plugin->identifier(), plugin->name(), plugin->installed(), plugin->JSONEncodedOptions()};
}

QVariantMap PTScriptingAdaptor::PluginOptions(const QString& identifier, const QDBusMessage& call)
{
    if (!refuseUnlessReady(call))
        return {};
    const PTScriptablePlugin* plugin = PTScriptablePlugin::pluginForIdentifier(identifier);
    if (!plugin) {
        refuse(call, NoSuchPluginError, QStringLiteral("No plug-in has this identifier."));
        return {};
    }
    return plugin->options();
}

void PTScriptingAdaptor::Import(const QStringList& files, const QString& fromApplication, const QDBusMessage& call)
{
    if (!refuseUnlessReady(call))
        return;
    if (!PTAddIconsPresenter::installed() || !PTImportValidation::installed()) {
        refuse(call, NotReadyError, QStringLiteral("Pictern cannot import icons yet."));
        return;
    }
    if (files.isEmpty() || files.size() > kMaximumFiles) {
        refuse(call, InvalidArgumentError, QStringLiteral("Give between 1 and %1 files.").arg(kMaximumFiles));
        return;
    }
    if (fromApplication.size() > kMaximumApplicationName || hasControlCharacters(fromApplication)) {
        refuse(call, InvalidArgumentError, QStringLiteral("The application name is not valid."));
        return;
    }
    QList<QUrl> urls;
    for (const QString& file : files) {
        const QUrl url = localFile(file);
        if (url.isEmpty()) {
            refuse(call, InvalidArgumentError,
                   QStringLiteral("\"%1\" is not an absolute path or file: URI of an existing file.").arg(file.left(200)));
            return;
        }
        // Refused here, with the reason, rather than in a sheet that would have nothing to import.
        const QString path = url.toLocalFile();
        if (!isImportable(path)) {
            refuse(call, InvalidArgumentError, UnimportableFileMessage.arg(file.left(200)));
            return;
        }
        urls.append(url);
    }
    // Answered at once; the import happens in the sheet.
    PTScriptableImportCommand(fromApplication).perform(urls);
}

QDBusArgument& operator<<(QDBusArgument& argument, const PTScriptingAdaptor::Entry& entry)
{
    argument.beginStructure();
    argument << entry.name << entry.sort << entry.uri;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PTScriptingAdaptor::Entry& entry)
{
    argument.beginStructure();
    argument >> entry.name >> entry.sort >> entry.uri;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const PTScriptingAdaptor::Child& child)
{
    argument.beginStructure();
    argument << child.kind << child.entry.name << child.entry.sort << child.entry.uri;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PTScriptingAdaptor::Child& child)
{
    argument.beginStructure();
    argument >> child.kind >> child.entry.name >> child.entry.sort >> child.entry.uri;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const PTScriptingAdaptor::PluginRecord& record)
{
    argument.beginStructure();
    argument << record.identifier << record.name << record.installed << record.JSONEncodedOptions;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PTScriptingAdaptor::PluginRecord& record)
{
    argument.beginStructure();
    argument >> record.identifier >> record.name >> record.installed >> record.JSONEncodedOptions;
    argument.endStructure();
    return argument;
}
