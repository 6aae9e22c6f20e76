#include "ImportTestSupport.h"

#include "TestSupport.h"
#include "ThemeScope.h"
#include "library/bundle/PTSourceListSelection.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "platform/runtime/Defaults.h"
#include "transfer/import/PTAddCollectionSheetController.h"
#include "transfer/import/PTAddIconsSheetPresenter.h"
#include "transfer/import/PTPasteBoard.h"
#include "transfer/import/PTSheetBrowseView.h"
#include "ui/PTPersistedImportOptions.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/sheets/PTSheetSegmentController.h"
#include "ui/theme/PTChevron.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace pt::test;

namespace {

class RecordingSelection : public PTSourceListSelection {
public:
    void selectItems(const QVector<pt::store::ManagedObject*>& objects, bool) override { selected += objects; }
    QVector<pt::store::ManagedObject*> selected;
};

using Prefs = PTPersistedImportOptions;

} // namespace

class AddCollectionSheet : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        PTSourceListSelection::install(selection);
    }
    void TearDown() override
    {
        sheet.reset();
        PTSourceListSelection::install(nullptr);
        while (Prefs::popPersistedImportOptions())
            ;
        ImportTest::TearDown();
    }
    void open(const QList<QUrl>& urls, PTCollection* preselected = nullptr, const QString& application = {})
    {
        sheet = std::make_unique<PTAddCollectionSheetController>();
        if (!application.isEmpty())
            sheet->setRequestedApplication(application);
        sheet->presentSheetFromWindow(nullptr,
                                      preselected ? PTAddCollectionSheetController::PreselectCollection
                                                  : PTAddCollectionSheetController::NoPreselection,
                                      urls, preselected, [this](pt::store::ManagedObject* target, bool cancelled) {
                                          finishedTarget = target;
                                          finishedCancelled = cancelled;
                                          ++finishedCount;
                                      });
    }
    void confirmAndWait()
    {
        sheet->add();
        ASSERT_TRUE(runMainQueueUntil([this] { return finishedCount > 0; }, 20000));
        saveAndWait();
    }
    QString addLabel() const { return sheet->addControl()->label(0); }
    static QList<QUrl> urls(const QStringList& paths)
    {
        QList<QUrl> result;
        for (const QString& path : paths)
            result << QUrl::fromLocalFile(path);
        return result;
    }
    PTCollection* setNamed(const QString& name)
    {
        for (PTCollection* set : PTCollectionController::sharedController().collections())
            if (set->name() == name)
                return set;
        return nullptr;
    }

    std::shared_ptr<RecordingSelection> selection = std::make_shared<RecordingSelection>();
    std::unique_ptr<PTAddCollectionSheetController> sheet;
    pt::store::ManagedObject* finishedTarget = nullptr;
    bool finishedCancelled = false;
    int finishedCount = 0;
};

TEST_F(AddCollectionSheet, OpeningsAndWhatTheyMake)
{
    // No files, no set: an empty set under the proposed name; the sheet reports itself cancelled.
    open({});
    EXPECT_EQ(addLabel(), "Create Empty Set");
    EXPECT_EQ(sheet->inputField()->placeholderText(), "New Set Name");
    EXPECT_EQ(sheet->browseView()->label(0), "Browse Icons...");
    confirmAndWait();
    EXPECT_TRUE(finishedCancelled);
    EXPECT_EQ(finishedTarget, nullptr);
    ASSERT_TRUE(setNamed("New Set Name"));
    EXPECT_EQ(selection->selected, QVector<pt::store::ManagedObject*>{setNamed("New Set Name")});

    // Files with the current set preselected.
    PTCollection* mine = makeSet("Mine");
    saveAndWait();
    PTPasteBoard::purgeAndNotify();
    finishedCount = 0;
    open(urls({source("a.svg"), source("b.svg"), source("c.svg")}), mine);
    EXPECT_FALSE(sheet->inputField()->isVisible() && sheet->inputField()->isEnabled());
    EXPECT_EQ(addLabel(), "Import to an Existing Set");
    EXPECT_EQ(sheet->browseView()->sublabel(0), "3 Items Selected");
    confirmAndWait();
    EXPECT_FALSE(finishedCancelled);
    EXPECT_EQ(finishedTarget, mine);
    EXPECT_EQ(mine->items().size(), 3);

    // Requested by another application, no name typed.
    finishedCount = 0;
    open(urls({source("d.svg")}), nullptr, "Designer");
    EXPECT_EQ(sheet->informativeTextField()->text(), "You have selected 1 icon to be imported from Designer.");
    EXPECT_FALSE(sheet->informativeTextField()->isHidden());
    EXPECT_EQ(sheet->inputField()->placeholderText(), "Import From Designer");
    EXPECT_EQ(sheet->browseView()->sublabel(0), "1 Item Selected");
    EXPECT_EQ(addLabel(), "Import to a New Set");
    confirmAndWait();
    ASSERT_TRUE(setNamed("Import From Designer"));
    EXPECT_EQ(setNamed("Import From Designer")->items().size(), 1);
}

TEST_F(AddCollectionSheet, FolderKinds)
{
    pt::Defaults::standard().set(PTPreferenceKeys::ImportOptions, qint64(0x143DE));
    source("Brand Icons/a.svg");
    source("Brand Icons/b.svg");
    open(urls({sourcePath("Brand Icons")}));
    EXPECT_EQ(sheet->inputField()->placeholderText(), "Brand Icons");
    EXPECT_EQ(addLabel(), "Import to a New Set");
    confirmAndWait();
    ASSERT_TRUE(setNamed("Brand Icons"));
    EXPECT_EQ(setNamed("Brand Icons")->items().size(), 2);
    EXPECT_FALSE(setNamed("Brand Icons")->group());

    // Sub-folders and files: a group and a set of that name, the set inside the group with the loose files, the
    // sub-folders imported into the group.
    source("Mixed Icons/a.svg");
    source("Mixed Icons/sub/b.svg");
    source("Mixed Icons/sub/c.svg");
    finishedCount = 0;
    open(urls({sourcePath("Mixed Icons")}));
    confirmAndWait();
    PTCollection* set = setNamed("Mixed Icons");
    ASSERT_TRUE(set);
    ASSERT_TRUE(set->group());
    EXPECT_EQ(set->group()->name(), "Mixed Icons");
    EXPECT_EQ(set->items().size(), 1);
    PTCollection* sub = setNamed("Sub");
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->group(), set->group());
    EXPECT_EQ(sub->items().size(), 2);
}

TEST_F(AddCollectionSheet, BundleOnlyForm)
{
    source("a.svg");
    source("set.pictern/META", "meta");
    open(urls({sourcePath("a.svg"), sourcePath("set.pictern")}));
    EXPECT_EQ(sheet->browseView()->paths(), urls({sourcePath("set.pictern")}));
    EXPECT_TRUE(sheet->browseViewIsPicternOnly());
    EXPECT_EQ(addLabel(), "Import Pictern");
    EXPECT_TRUE(sheet->informativeTextField()->text().contains("\"set.pictern\""));
    EXPECT_TRUE(sheet->collectionDrop()->isHidden());
    // Back to plain files: the label it had before.
    sheet->browseView()->setPathURLs(urls({sourcePath("a.svg")}));
    EXPECT_EQ(addLabel(), "Import to a New Set");
    EXPECT_FALSE(sheet->collectionDrop()->isHidden());
}

TEST_F(AddCollectionSheet, SetInsideAGroupShowsItsPath)
{
    PTGroup* group = makeGroup("Group");
    PTCollection* set = makeSet("Set");
    set->setGroup(group);
    saveAndWait();
    PTPasteBoard::purgeAndNotify();
    open(urls({source("a.svg")}));
    sheet->selectCollectionInDropDown(set);
    QList<QAction*> actions = sheet->collectionMenu()->actions();
    ASSERT_GE(actions.size(), 3);
    // The path's chevron as the menu's font draws one.
    EXPECT_EQ(actions.at(0)->text(), QStringLiteral("Group %1 Set").arg(PTChevron::forFont(sheet->collectionMenu()->font())));
    EXPECT_TRUE(actions.at(1)->isSeparator());
    EXPECT_EQ(sheet->collectionDrop()->selectedItem(), actions.at(0));
    EXPECT_EQ(addLabel(), "Import to an Existing Set");
    // Choosing "New Set" takes the entry and its separator away.
    sheet->collectionDrop()->selectItem(actions.at(2));
    actions = sheet->collectionMenu()->actions();
    EXPECT_EQ(actions.at(0)->text(), "New Set");
    EXPECT_TRUE(actions.at(1)->isSeparator());
    EXPECT_EQ(addLabel(), "Import to a New Set");
}

TEST_F(AddCollectionSheet, PushedOptionsArePoppedOnEveryWayOut)
{
    const qint64 stored = Prefs::persistedImportOptions(false);
    ASSERT_FALSE(PTImportOptionsContain(PTImportOptions(stored), 0x20));
    const QString font = source("font.otf", "not really a font");
    struct Way {
        const char* label;
        std::function<void()> leave;
    };
    const std::vector<Way> ways{
        {"cancel", [this] { sheet->cancel(); }},
        {"confirm", [this] { confirmAndWait(); }},
        {"destroyed", [this] { sheet.reset(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.label);
        finishedCount = 0;
        open(urls({font}));
        EXPECT_TRUE(PTImportOptionsContain(PTAddCollectionSheetController::importOptions(), 0x20));
        EXPECT_TRUE(PTAddCollectionSheetController::allowedFileTypes().contains("otf"));
        way.leave();
        EXPECT_EQ(Prefs::persistedImportOptions(), stored);
        EXPECT_FALSE(Prefs::popPersistedImportOptions());
    }
}

// The sheet in both themes, in a window that is not the active one, as a scripted import from another program
// opens it: Cancel keeps the label colour of the controls, not the pale grey of a disabled one.
TEST_F(AddCollectionSheet, Screenshot)
{
    makeSet("Arrows");
    saveAndWait();
    const QList<QUrl> files = urls({source("a.svg"), source("b.svg")});
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        const bool dark = appearance == PTAppearanceDark;
        SCOPED_TRACE(dark ? "dark" : "light");
        ThemeScope theme(appearance);
        open(files, nullptr, QStringLiteral("Another Program"));
        sheet->advancedSegmentController()->expand();
        QWidget other;
        other.resize(40, 40);
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !sheet->window()->isActiveWindow(); }));
        runMainQueueFor(50);
        const QImage image =
            writeScreenshot(sheet->window(), dark ? QStringLiteral("add-icons-sheet-dark") : QStringLiteral("add-icons-sheet"));
        ASSERT_FALSE(image.isNull());
        // The title band, the body under it, and the confirmation button's accent at the bottom right.
        const QColor band = image.pixelColor(image.width() / 2, 4);
        const QColor body = image.pixelColor(4, image.height() / 2);
        const QColor button = image.pixelColor(image.width() - 30, image.height() - 28);
        EXPECT_NE(band, body);
        EXPECT_GT(button.blue(), button.red() + 60) << button.name().toStdString();
        EXPECT_GT(image.height(), 200);

        const QWidget* cancel = sheet->window()->findChild<PTToolbarSegmentedControl*>();
        for (const auto* control : sheet->window()->findChildren<PTToolbarSegmentedControl*>())
            if (control->accessibleName() == QLatin1String("Cancel"))
                cancel = control;
        ASSERT_TRUE(cancel && cancel->accessibleName() == QLatin1String("Cancel"));
        const ControlLook look = controlLook(image, cancel);
        if (dark)
            EXPECT_GT(look.ink.lightness(), 200) << look.ink.name().toStdString();
        else
            EXPECT_LT(look.ink.lightness(), 140) << look.ink.name().toStdString();
        sheet->cancel();
        sheet.reset();
    }
}

// The advanced switches change the sheet's own pushed options, never the stored ones.
TEST_F(AddCollectionSheet, AdvancedSwitchesActOnThePushedOptionsOnly)
{
    const qint64 stored = Prefs::persistedImportOptions(false);
    ASSERT_FALSE(PTImportOptionsContain(PTImportOptions(stored), PTImportOption::FoldersBecomeGroupsAndSets));
    source("Mixed/a.svg");
    source("Mixed/sub/b.svg");
    open(urls({sourcePath("Mixed")}));
    PTSwitchControl* folders = sheet->switchForOption(PTImportOption::FoldersBecomeGroupsAndSets);
    ASSERT_TRUE(folders);
    EXPECT_FALSE(folders->isChecked());
    EXPECT_TRUE(sheet->switchForOption(PTImportOption::DescendIntoFolders)->isChecked());
    folders->setChecked(true);
    emit folders->userToggled(true);
    EXPECT_TRUE(PTImportOptionsContain(PTAddCollectionSheetController::importOptions(), PTImportOption::FoldersBecomeGroupsAndSets));
    EXPECT_EQ(Prefs::persistedImportOptions(false), stored);
    confirmAndWait();
    // The confirmed sheet shows the options its import ran with, though the pushed ones were popped.
    EXPECT_TRUE(folders->isChecked());
    // With folders made into groups and sets, the sheet made a group with a set beside the folder's files.
    PTCollection* set = setNamed("Mixed");
    ASSERT_TRUE(set);
    ASSERT_TRUE(set->group());
    EXPECT_EQ(Prefs::persistedImportOptions(), stored);
    EXPECT_FALSE(Prefs::popPersistedImportOptions());
}

// One sheet at a time: a request made while it is open by the application it names joins it; any other request,
// and one made while it imports, waits and opens a sheet of its own in turn. Every request is told how the sheet it
// went into finished.
TEST_F(AddCollectionSheet, ThePresenterKeepsOneSheetAndTellsEveryRequest)
{
    PTCollection* mine = makeSet("Mine");
    saveAndWait();
    const auto shownSheets = [] {
        QList<QWidget*> sheets;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->accessibleName() == PTAddCollectionSheetController::Title)
                sheets << window;
        return sheets;
    };
    const auto press = [](QWidget* sheet, const QString& name) {
        for (auto* control : sheet->findChildren<PTToolbarSegmentedControl*>())
            if (control->accessibleName() == name)
                control->performClick();
    };
    const auto shownFiles = [&shownSheets] {
        return shownSheets().size() == 1 ? shownSheets().first()->findChild<PTSheetBrowseView*>()->paths()
                                         : QList<QUrl>();
    };
    const auto information = [&shownSheets] {
        for (auto* label : shownSheets().size() == 1 ? shownSheets().first()->findChildren<QLabel*>() : QList<QLabel*>())
            if (label->accessibleName() == "Information")
                return label->text();
        return QString();
    };
    QList<pt::store::ManagedObject*> told;
    const auto record = [&told](pt::store::ManagedObject* target) { told << target; };
    const QString a = source("a.svg"), b = source("b.svg"), c = source("c.svg");
    PTAddIconsSheetPresenter presenter;
    presenter.presentImport(urls({a}), mine, "AppOne", record);
    presenter.presentImport(urls({b, a}), nullptr, "AppOne", record);
    presenter.presentImport(urls({c}), nullptr, "AppTwo", record);
    ASSERT_EQ(shownSheets().size(), 1);
    QWidget* first = shownSheets().first();
    EXPECT_EQ(shownFiles(), urls({a, b}));

    press(first, PTAddCollectionSheetController::ImportToExisting);
    presenter.presentImport(urls({c}), nullptr, QString(), record);
    EXPECT_EQ(shownSheets(), QList<QWidget*>{first}) << "a request while the sheet imports opens no second one";
    ASSERT_TRUE(runMainQueueUntil([&] { return !told.isEmpty(); }, 20000));
    EXPECT_EQ(told, (QList<pt::store::ManagedObject*>{mine, mine}));
    EXPECT_EQ(mine->items().size(), 2);

    EXPECT_EQ(shownFiles(), urls({c}));
    EXPECT_EQ(information(), "You have selected 1 icon to be imported from AppTwo.");
    press(shownSheets().first(), "Cancel");
    EXPECT_EQ(told.size(), 3);
    EXPECT_EQ(told.last(), nullptr);
    EXPECT_EQ(shownFiles(), urls({c}));
    EXPECT_EQ(information(), QString());
    press(shownSheets().first(), "Cancel");
    EXPECT_EQ(told.size(), 4);
    EXPECT_TRUE(shownSheets().isEmpty());
}
