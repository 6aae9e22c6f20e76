#include "transfer/import/PTAddIconsPresenter.h"
#include "app/scripting/PTScriptableImportCommand.h"
#include "app/scripting/PTScriptablePlugin.h"
#include "app/scripting/PTScriptablePluginSketch.h"
#include "app/scripting/PTScriptingAdaptor.h"

#include "AppTestLibrary.h"
#include "TestSupport.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "library/upkeep/PTImportValidation.h"
#include "platform/runtime/Defaults.h"
#include "transfer/import/PTAddCollectionSheetController.h"
#include "transfer/import/PTAddIconsSheetPresenter.h"
#include "transfer/import/PTSheetBrowseView.h"
#include "ui/controls/PTToolbarSegmentedControl.h"

#include <QApplication>

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/com/pictern/test/Scripting");

// Records what the sheet was asked to show and answers as the test says.
struct FakePresenter : PTAddIconsPresenter {
    struct Presentation {
        QList<QUrl> files;
        PTCollection* preselected = nullptr;
        QString application;
    };
    QList<Presentation> presented;
    pt::store::ManagedObject* answer = nullptr;

    void presentNewCollection(PTCollection*) override {}
    void presentImport(const QList<QUrl>& files, PTCollection* preselected, const QString& application,
                       Finished finished) override
    {
        presented.append({files, preselected, application});
        finished(answer);
    }
};

// Takes SVG files and plain folders, as the importer would.
struct SvgAndFolders : PTImportValidation {
    QStringList validateURLStrings(const QStringList& paths, quint64) const override
    {
        QStringList kept;
        for (const QString& path : paths)
            if (QFileInfo(path).isDir() || path.endsWith(QLatin1String(".svg")))
                kept << path;
        return kept;
    }
};

// The adaptor served on the session bus; calls come over a second connection, as another program's would.
struct ScriptingTest : ::testing::Test {
    QObject object;
    PTScriptingAdaptor* adaptor = new PTScriptingAdaptor(&object, QDBusConnection::sessionBus());
    QDBusConnection caller = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("caller"));
    std::shared_ptr<FakePresenter> presenter = std::make_shared<FakePresenter>();

    void SetUp() override
    {
        AppTestLibrary::shared();
        ASSERT_TRUE(QDBusConnection::sessionBus().registerObject(kPath, &object, QDBusConnection::ExportAdaptors));
        adaptor->setReady(true);
        PTAddIconsPresenter::install(presenter);
        PTImportValidation::install(std::make_shared<SvgAndFolders>());
        pt::Defaults::standard().remove(PTScriptableImportCommand::ApplicationCollectionsKey);
    }
    void TearDown() override
    {
        QDBusConnection::sessionBus().unregisterObject(kPath);
        PTAddIconsPresenter::install(nullptr);
        PTImportValidation::install(nullptr);
    }

    QDBusMessage call(const QString& method, const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(QDBusConnection::sessionBus().baseService(), kPath,
                                                              PTScriptingAdaptor::Interface, method);
        message.setArguments(arguments);
        QDBusPendingCallWatcher watcher(caller.asyncCall(message));
        EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return watcher.isFinished(); })) << method.toStdString();
        return watcher.reply();
    }
    template <typename T>
    T answer(const QString& method, const QVariantList& arguments = {})
    {
        const QDBusMessage reply = call(method, arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << method.toStdString() << " "
                                                           << reply.errorMessage().toStdString();
        return reply.arguments().isEmpty() ? T() : qdbus_cast<T>(reply.arguments().first());
    }
};

QStringList urisOf(const QList<PTScriptingAdaptor::Entry>& entries)
{
    QStringList uris;
    for (const auto& entry : entries)
        uris.append(entry.uri);
    return uris;
}

void save()
{
    bool saved = false;
    PTSaveManagedObjectContextWithCompletion([&saved](const pt::Error&) { saved = true; });
    pt::test::runMainQueueUntil([&saved] { return saved; });
}

} // namespace

TEST_F(ScriptingTest, ListsFollowTheControllersAndTheGroupTree)
{
    PTCollection* top = AppTestLibrary::shared().addSet(QStringLiteral("Top"), {});
    PTCollection* inner = AppTestLibrary::shared().addSet(QStringLiteral("Inner"), {});
    PTCollection* deep = AppTestLibrary::shared().addSet(QStringLiteral("Deep"), {});
    PTGroupController& groups = PTGroupController::sharedController();
    PTGroup* outer = groups.createGroupWithName(QStringLiteral("Outer"), nullptr);
    ASSERT_TRUE(groups.moveObject(inner, outer, 0));
    PTGroup* nested = groups.createGroupWithName(QStringLiteral("Nested"), outer);
    ASSERT_TRUE(groups.moveObject(deep, nested, 0));
    save();

    QStringList expected;
    for (PTCollection* collection : PTCollectionController::sharedController().collections())
        expected.append(collection->objectID().uriString());
    EXPECT_EQ(urisOf(answer<QList<PTScriptingAdaptor::Entry>>(QStringLiteral("Collections"))), expected);
    const QStringList allGroups = urisOf(answer<QList<PTScriptingAdaptor::Entry>>(QStringLiteral("Groups")));
    EXPECT_TRUE(allGroups.contains(outer->objectID().uriString()));
    EXPECT_TRUE(allGroups.contains(nested->objectID().uriString()));

    const QString outerURI = outer->objectID().uriString();
    const auto children = answer<QList<PTScriptingAdaptor::Child>>(QStringLiteral("GroupChildren"), {outerURI});
    ASSERT_EQ(children.size(), 2);
    EXPECT_EQ(children[0].kind, QStringLiteral("collection"));
    EXPECT_EQ(children[0].entry.name, QStringLiteral("Inner"));
    EXPECT_EQ(children[1].kind, QStringLiteral("group"));
    EXPECT_EQ(children[1].entry.uri, nested->objectID().uriString());
    EXPECT_EQ(urisOf(answer<QList<PTScriptingAdaptor::Entry>>(QStringLiteral("GroupGroups"), {outerURI})),
              QStringList{nested->objectID().uriString()});
    // Sets at any depth, where children are only the direct ones.
    EXPECT_EQ(urisOf(answer<QList<PTScriptingAdaptor::Entry>>(QStringLiteral("GroupCollections"), {outerURI})),
              (QStringList{inner->objectID().uriString(), deep->objectID().uriString()}));

    EXPECT_EQ(answer<QString>(QStringLiteral("ParentGroup"), {outerURI}), QString());
    EXPECT_EQ(answer<QString>(QStringLiteral("ParentGroup"), {deep->objectID().uriString()}),
              nested->objectID().uriString());
    const auto object = answer<PTScriptingAdaptor::Child>(QStringLiteral("Object"), {top->objectID().uriString()});
    EXPECT_EQ(object.kind, QStringLiteral("collection"));
    EXPECT_EQ(object.entry.name, QStringLiteral("Top"));
    EXPECT_EQ(object.entry.sort, top->sort());
}

// Bad calls, each refused whole with its error: nothing presented and no remembered set written.
TEST_F(ScriptingTest, BadCallsAreRefusedWithNamedErrors)
{
    PTCollection* gone = AppTestLibrary::shared().addSet(QStringLiteral("Gone"), {QStringLiteral("a")});
    const QString goneURI = gone->objectID().uriString();
    const QString itemURI = gone->sortedItems().first()->objectID().uriString();
    PTCollection* kept = AppTestLibrary::shared().addSet(QStringLiteral("Kept"), {});
    const QString keptURI = kept->objectID().uriString();
    PTMainManagedObjectContext()->deleteObject(gone);
    save();
    QTemporaryDir temp;
    QFile(temp.filePath(QStringLiteral("icon.svg"))).open(QIODevice::WriteOnly);
    const QString file = temp.filePath(QStringLiteral("icon.svg"));
    QString otherStore = keptURI;
    otherStore.replace(otherStore.indexOf(QLatin1String("//")) + 2, 8, QStringLiteral("00000000"));

    struct Case {
        QString method;
        QVariantList arguments;
        QString error;
    };
    const QList<Case> cases = {
        {QStringLiteral("Object"), {QStringLiteral("nonsense")}, PTScriptingAdaptor::NoSuchObjectError},
        {QStringLiteral("Object"), {goneURI}, PTScriptingAdaptor::NoSuchObjectError},
        {QStringLiteral("Object"), {otherStore}, PTScriptingAdaptor::NoSuchObjectError},
        {QStringLiteral("Object"), {itemURI}, PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("GroupChildren"), {keptURI}, PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("GroupCollections"), {keptURI}, PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("ParentGroup"), {goneURI}, PTScriptingAdaptor::NoSuchObjectError},
        {QStringLiteral("Plugin"), {QStringLiteral("com.example.none")}, PTScriptingAdaptor::NoSuchPluginError},
        {QStringLiteral("PluginOptions"), {QStringLiteral("")}, PTScriptingAdaptor::NoSuchPluginError},
        {QStringLiteral("Import"), {QStringList(), QString()}, PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList{QStringLiteral("icon.svg")}, QString()},
         PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList{file + QStringLiteral(".missing")}, QString()},
         PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList{QStringLiteral("file://elsewhere") + file}, QString()},
         PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList{QStringLiteral("http://example.com/a.svg")}, QString()},
         PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList(10001, file), QString()}, PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList{QLatin1Char('/') + QString(5000, QLatin1Char('a'))}, QString()},
         PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList{file}, QString(257, QLatin1Char('x'))},
         PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList{file}, QStringLiteral("Evil\nApp")},
         PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList{file, QStringLiteral("relative.svg")}, QStringLiteral("App")},
         PTScriptingAdaptor::InvalidArgumentError},
        {QStringLiteral("Import"), {QStringList{file, QStringLiteral("/etc/passwd")}, QString()},
         PTScriptingAdaptor::InvalidArgumentError},
    };
    for (const Case& c : cases) {
        const QDBusMessage reply = call(c.method, c.arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << c.method.toStdString();
        EXPECT_EQ(reply.errorName(), c.error) << c.method.toStdString() << " " << c.arguments.first().toString().toStdString();
    }
    EXPECT_TRUE(presenter->presented.isEmpty());
    EXPECT_FALSE(pt::Defaults::standard().objectForKey(PTScriptableImportCommand::ApplicationCollectionsKey).isValid());
    EXPECT_EQ(call(QStringLiteral("Import"), {QStringList{QStringLiteral("/etc/passwd")}, QString()}).errorMessage(),
              PTScriptingAdaptor::UnimportableFileMessage.arg(QStringLiteral("/etc/passwd")))
        << "the reason names the file";

    adaptor->setReady(false);
    EXPECT_EQ(call(QStringLiteral("Collections")).errorName(), PTScriptingAdaptor::NotReadyError);
    EXPECT_EQ(call(QStringLiteral("Import"), {QStringList{file}, QString()}).errorName(),
              PTScriptingAdaptor::NotReadyError);
    adaptor->setReady(true);
    PTAddIconsPresenter::install(nullptr);
    EXPECT_EQ(call(QStringLiteral("Import"), {QStringList{file}, QString()}).errorName(),
              PTScriptingAdaptor::NotReadyError);
}

TEST_F(ScriptingTest, ImportsRememberTheSetPerApplication)
{
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("icon.svg"));
    QFile(file).open(QIODevice::WriteOnly);
    PTCollection* target = AppTestLibrary::shared().addSet(QStringLiteral("Target"), {});
    const auto import = [&](const QString& application) {
        const QDBusMessage reply = call(QStringLiteral("Import"), {QStringList{QUrl::fromLocalFile(file).toString()},
                                                                   application});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    };

    // Without a name the remembered sets are never touched.
    presenter->answer = target;
    import(QString());
    EXPECT_FALSE(pt::Defaults::standard().objectForKey(PTScriptableImportCommand::ApplicationCollectionsKey).isValid());

    import(QStringLiteral("TestApp"));
    import(QStringLiteral("TestApp"));
    ASSERT_EQ(presenter->presented.size(), 3);
    EXPECT_EQ(presenter->presented[1].preselected, nullptr);
    EXPECT_EQ(presenter->presented[1].application, QStringLiteral("TestApp"));
    EXPECT_EQ(presenter->presented[2].preselected, target);
    EXPECT_EQ(presenter->presented[2].files, QList<QUrl>{QUrl::fromLocalFile(file)});

    // A group as the target is not remembered; a deleted remembered set preselects nothing.
    PTGroup* group = PTGroupController::sharedController().createGroupWithName(QStringLiteral("G"), nullptr);
    presenter->answer = group;
    import(QStringLiteral("OtherApp"));
    EXPECT_FALSE(pt::Defaults::standard()
                     .dictionaryForKey(PTScriptableImportCommand::ApplicationCollectionsKey)
                     .contains(QStringLiteral("OtherApp")));
    PTMainManagedObjectContext()->deleteObject(target);
    save();
    presenter->answer = nullptr;
    import(QStringLiteral("TestApp"));
    EXPECT_EQ(presenter->presented.last().preselected, nullptr);
}

// The add-icons sheets on screen.
QList<QWidget*> visibleImportSheets()
{
    QList<QWidget*> sheets;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->accessibleName() == PTAddCollectionSheetController::Title)
            sheets << window;
    }
    return sheets;
}

// A script looping over Import piles up no windows: its calls made while its sheet is up add their files to it.
// Another caller's files wait for a sheet of their own.
TEST_F(ScriptingTest, ImportsWhileTheSheetIsUpJoinTheOneSheet)
{
    PTAddIconsPresenter::install(std::make_shared<PTAddIconsSheetPresenter>());
    QTemporaryDir temp;
    QList<QUrl> files;
    for (const char* name : {"a.svg", "b.svg", "c.svg"}) {
        QFile file(temp.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 4 4"><rect width="4" height="4"/></svg>)");
        files << QUrl::fromLocalFile(file.fileName());
    }
    const auto import = [&](const QList<QUrl>& urls, const QString& application) {
        QStringList paths;
        for (const QUrl& url : urls)
            paths << url.toLocalFile();
        const QDBusMessage reply = call(QStringLiteral("Import"), {paths, application});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    };
    const auto heldFiles = [](QWidget* sheet) { return sheet->findChild<PTSheetBrowseView*>()->paths(); };
    const auto cancel = [](QWidget* sheet) {
        const QPointer<QWidget> cancelled(sheet);
        for (auto* control : sheet->findChildren<PTToolbarSegmentedControl*>()) {
            if (control->accessibleName() == QStringLiteral("Cancel"))
                control->performClick();
        }
        return pt::test::runMainQueueUntil([cancelled] { return !cancelled || !cancelled->isVisible(); });
    };

    import({files[0]}, QStringLiteral("AppOne"));
    import({files[1], files[0]}, QStringLiteral("AppOne"));
    import({files[2]}, QStringLiteral("AppTwo"));
    QList<QWidget*> sheets = visibleImportSheets();
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(heldFiles(sheets.first()), files.mid(0, 2));

    // Once the sheet has gone, the waiting call has its sheet, with its own files only.
    ASSERT_TRUE(cancel(sheets.first()));
    ASSERT_TRUE(pt::test::runMainQueueUntil([] { return visibleImportSheets().size() == 1; }));
    sheets = visibleImportSheets();
    EXPECT_EQ(heldFiles(sheets.first()), QList<QUrl>{files[2]});
    EXPECT_TRUE(cancel(sheets.first()));
    EXPECT_TRUE(visibleImportSheets().isEmpty());
}

namespace {

// A plug-in whose defaults grew a key since options were stored.
struct GrownPlugin : PTScriptablePlugin {
    GrownPlugin() { setIdentifier(QStringLiteral("com.pictern.test.grown")); }
    QVariantMap defaultOptionValues() const override
    {
        return {{QStringLiteral("format"), 1}, {QStringLiteral("added"), QStringLiteral("new")}};
    }
};

} // namespace

TEST(ScriptablePluginTest, OptionsPersistAcrossRegistriesWithTheirTypes)
{
    PTScriptablePlugin::registerAll();
    pt::Defaults::standard().remove(PTScriptablePlugin::OptionValuesKey);
    PTScriptablePlugin::discardInstances();
    PTScriptablePlugin* sketch = PTScriptablePlugin::pluginForIdentifier(PTScriptablePluginSketch::Identifier);
    ASSERT_TRUE(sketch);
    EXPECT_EQ(sketch, PTScriptablePlugin::pluginForIdentifier(PTScriptablePluginSketch::Identifier));
    EXPECT_EQ(QJsonDocument::fromJson(sketch->JSONEncodedOptions().toUtf8()).object(),
              QJsonObject({{QStringLiteral("format"), 1}}));
    EXPECT_TRUE(sketch->JSONEncodedOptions().contains(QLatin1Char('\n')));
    EXPECT_FALSE(PTScriptablePlugin::registeredIdentifiers().isEmpty());
    EXPECT_EQ(PTScriptablePlugin::pluginForIdentifier(QStringLiteral("com.example.none")), nullptr);

    // A stored value hides the default, keeps its type, and survives a new registry.
    sketch->setOptionValue(QStringLiteral("format"), 2);
    PTScriptablePlugin::discardInstances();
    sketch = PTScriptablePlugin::pluginForIdentifier(PTScriptablePluginSketch::Identifier);
    EXPECT_EQ(sketch->options().value(QStringLiteral("format")).typeId(), QMetaType::Int);
    EXPECT_EQ(sketch->options().value(QStringLiteral("format")).toInt(), 2);

    // Options stored before a default was added gain it.
    pt::Defaults::standard().set(PTScriptablePlugin::OptionValuesKey,
                                 QVariantMap{{QStringLiteral("com.pictern.test.grown"),
                                              QVariantMap{{QStringLiteral("format"), 5}}}});
    PTScriptablePlugin::registerClass(QStringLiteral("com.pictern.test.grown"),
                                      [] { return std::make_unique<GrownPlugin>(); });
    PTScriptablePlugin* grown = PTScriptablePlugin::pluginForIdentifier(QStringLiteral("com.pictern.test.grown"));
    EXPECT_EQ(grown->options(), (QVariantMap{{QStringLiteral("format"), 5}, {QStringLiteral("added"), QStringLiteral("new")}}));
    sketch->setOptionValue(QStringLiteral("format"), QVariant());
    EXPECT_FALSE(sketch->options().contains(QStringLiteral("format")));
    PTScriptablePlugin::discardInstances();
    pt::Defaults::standard().remove(PTScriptablePlugin::OptionValuesKey);
}

namespace {

// Methods and their argument signatures, read from introspection XML: the arguments in, in order, then those out;
// annotations are left out.
QStringList signaturesOf(const QString& xml)
{
    QStringList signatures;
    QXmlStreamReader reader(xml);
    bool inside = false;
    QString current;
    QString out;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("interface"))
            inside = reader.attributes().value(QStringLiteral("name")) == PTScriptingAdaptor::Interface;
        else if (inside && reader.isStartElement() && reader.name() == QLatin1String("method"))
            current = reader.attributes().value(QStringLiteral("name")).toString();
        else if (inside && reader.isStartElement() && reader.name() == QLatin1String("arg")) {
            const bool isOut = reader.attributes().value(QStringLiteral("direction")) == QLatin1String("out");
            (isOut ? out : current) += (isOut ? QStringLiteral(" out:") : QStringLiteral(" in:")) +
                                       reader.attributes().value(QStringLiteral("type")).toString();
        } else if (inside && reader.isEndElement() && reader.name() == QLatin1String("method")) {
            signatures.append(current + out);
            out.clear();
        }
        else if (reader.isEndElement() && reader.name() == QLatin1String("interface"))
            inside = false;
    }
    signatures.sort();
    return signatures;
}

} // namespace

TEST_F(ScriptingTest, LiveIntrospectionMatchesTheShippedDescription)
{
    QFile shipped(QStringLiteral(PICTERN_SOURCE_DIR "/resources/dbus/com.pictern.Pictern.Scripting.xml"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    QDBusMessage message = QDBusMessage::createMethodCall(QDBusConnection::sessionBus().baseService(), kPath,
                                                          QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                          QStringLiteral("Introspect"));
    QDBusPendingCallWatcher watcher(caller.asyncCall(message));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return watcher.isFinished(); }));
    const QString live = watcher.reply().arguments().value(0).toString();
    const QStringList expected = signaturesOf(QString::fromUtf8(shipped.readAll()));
    EXPECT_EQ(expected.size(), 11);
    EXPECT_EQ(signaturesOf(live), expected);
}
