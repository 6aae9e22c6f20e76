#include "InspectorTestSupport.h"
#include "StoreTestSupport.h"
#include "TestSupport.h"

#include "library/PTLibraryController.h"
#include "library/entities/PTCollection.h"
#include "library/store/PTStoreFunctions.h"
#include "sidebar/inspector/PTIconSideBarController.h"
#include "sidebar/inspector/PTLicenceSideBarSegmentController.h"
#include "sidebar/inspector/PTSideBarController.h"
#include "sidebar/inspector/PTTagTokenField.h"
#include "ui/controls/PTSheetTextField.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

class InspectorIconPaneTest : public InspectorTest {
protected:
    void SetUp() override
    {
        InspectorTest::SetUp();
        frame = std::make_unique<PTSideBarController>();
        pane = qobject_cast<PTIconSideBarController*>(frame->viewControllers().at(1));
        set = makeSet("Set");
    }
    void TearDown() override
    {
        frame.reset();
        InspectorTest::TearDown();
    }
    void show(const QVector<PTItem*>& items) { frame->setItems(items, false); }
    void typeName(const QString& name)
    {
        pane->nameControl()->setText(name);
        pane->nameControl()->setModified(true);
        pane->requestStateSave();
    }
    void pickLicence(const QString& title)
    {
        for (QAction* entry : pane->licenceSegmentController()->menu()->actions())
            if (entry->text() == title)
                entry->trigger();
    }
    QString fileOf(PTItem* item) { return item->fileURL().toLocalFile(); }

    std::unique_ptr<PTSideBarController> frame;
    PTIconSideBarController* pane = nullptr;
    PTCollection* set = nullptr;
};

TEST_F(InspectorIconPaneTest, ShowsNoOneOrSeveralItems)
{
    EXPECT_EQ(pane->view(), pane->noSelectionView());
    EXPECT_EQ(pane->nameControl()->placeholderText(), "No Item Selected");

    PTItem* one = makeItem(set, "Go Next", "go-next.svg");
    PTItem* glyph = makeItem(set, "Glyph", "glyph.svg", pt::test::themeIcon("go-previous"));
    glyph->setUnicode("e001");
    PTItem* third = makeItem(set, "Third", "third.svg");
    const QDateTime when(QDate(2024, 3, 5), QTime(10, 0));
    for (PTItem* item : {one, glyph, third})
        item->setDate(when);

    show({one});
    EXPECT_EQ(frame->currentControllerIndex(), 1) << "an item selection brings the pane forward";
    EXPECT_EQ(pane->view(), pane->mainStackView());
    EXPECT_EQ(pane->nameControl()->text(), "Go Next");
    EXPECT_EQ(pane->nameControl()->placeholderText(), "Name");
    EXPECT_EQ(pane->typeControl()->text(), "SVG");
    EXPECT_EQ(pane->dimensionsControl()->text(), "Scalable");
    EXPECT_EQ(pane->dateControl()->text(), one->humanDate());
    EXPECT_FALSE(pane->unicodeView()->isVisibleTo(pane->mainStackView()));
    EXPECT_FALSE(pane->numberItemsSelectedView()->isVisibleTo(pane->mainStackView()));

    show({glyph});
    EXPECT_EQ(pane->unicodeControl()->text(), "\\e001");
    EXPECT_TRUE(pane->unicodeView()->isVisibleTo(pane->mainStackView()));

    show({one, glyph, third});
    EXPECT_EQ(pane->nameControl()->text(), "");
    EXPECT_EQ(pane->nameControl()->placeholderText(), "Multiple Names");
    EXPECT_EQ(pane->selectedControl()->text(), "3 Items");
    EXPECT_TRUE(pane->numberItemsSelectedView()->isVisibleTo(pane->mainStackView()));
    EXPECT_EQ(pane->unicodeControl()->text(), "\\e001") << "items without a code point are skipped";
    EXPECT_EQ(pane->dateControl()->text(), one->humanDate());
    EXPECT_EQ(pane->bytesControl()->text(), "Multiple") << "two different files";
    EXPECT_EQ(pane->typeControl()->text(), "SVG");

    // Saving without typing changes no name.
    pane->requestStateSave();
    EXPECT_EQ(one->name(), "Go Next");
    EXPECT_EQ(third->name(), "Third");
    EXPECT_TRUE(pane->messageLabel()->text().isEmpty());
}

TEST_F(InspectorIconPaneTest, TagEditsTouchOnlyTheCommonTags)
{
    PTItem* first = makeItem(set, "First", "first.svg");
    PTItem* second = makeItem(set, "Second", "second.svg");
    first->setTagsString("alpha,beta,Éclair");
    second->setTagsString("beta,gamma,eclair");
    show({first, second});
    EXPECT_EQ(pane->shownTags(), QStringList({"beta", "eclair"})) << "accents and case make no new tag";
    EXPECT_EQ(pane->tagsControl()->tokens(), pane->shownTags());

    pane->tagsDidChange({"eclair", "delta"});
    pane->requestStateSave();
    EXPECT_EQ(first->tagComponents(), QSet<QString>({"alpha", "Éclair", "delta"}));
    EXPECT_EQ(second->tagComponents(), QSet<QString>({"gamma", "eclair", "delta"}));

    show({first});
    EXPECT_EQ(pane->tagsPlaceholder(), "No Tags");
    show({makeItem(set, "Bare", "bare.svg"), first});
    EXPECT_TRUE(pane->shownTags().isEmpty());
    EXPECT_EQ(pane->tagsPlaceholder(), "Multiple Tags");
}

// Moving into the tags field starts after the tags shown, so what is typed there adds a tag to them.
TEST_F(InspectorIconPaneTest, TypingInTheTagsFieldAddsAfterTheShownTags)
{
    PTItem* item = makeItem(set, "Item", "item.svg");
    item->setTagsString("alpha,beta");
    show({item});
    auto* field = qobject_cast<PTTagTokenField*>(pane->tagsControl());
    ASSERT_NE(field, nullptr);
    QWidget* window = frame->containerView();
    window->show();
    QApplication::setActiveWindow(window);
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(field, "gamma,");
    EXPECT_EQ(field->tokens(), QStringList({"alpha", "beta", "gamma"}));
    pane->requestStateSave();
    EXPECT_EQ(item->tagComponents(), QSet<QString>({"alpha", "beta", "gamma"}));
}

TEST_F(InspectorIconPaneTest, LicenceChoicesFollowTheSetLicence)
{
    PTLicence* l = makeLicence("L");
    PTLicence* m = makeLicence("M");
    set->setLicence(l);
    PTItem* inherits = makeItem(set, "Inherits", "inherits.svg");
    PTItem* own = makeItem(set, "Own", "own.svg");
    own->setLicence(m);
    PTCollection* plain = makeSet("Plain");
    PTItem* none = makeItem(plain, "None", "none.svg");

    show({inherits});
    EXPECT_EQ(pane->licenceSegmentController()->licence(), l) << "the set's licence shows through";
    pickLicence("L");
    pickLicence("None");
    EXPECT_EQ(inherits->licence(), nullptr) << "neither choice gives it a licence of its own";

    show({own});
    EXPECT_EQ(pane->licenceSegmentController()->licence(), m);
    pickLicence("L");
    EXPECT_EQ(own->licence(), nullptr) << "the set's licence replaces its own";

    show({none});
    pickLicence("M");
    EXPECT_EQ(none->licence(), m);

    show({none, inherits});
    EXPECT_TRUE(pane->licenceSegmentController()->multiple());
    pane->requestStateSave();
    EXPECT_EQ(none->licence(), m) << "showing \"Multiple\" saves nothing";
    EXPECT_EQ(inherits->licence(), nullptr);

    // A licence given to the set elsewhere shows after the main queue runs.
    show({inherits});
    set->setLicence(m);
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return pane->licenceSegmentController()->licence() == m; }));
}

TEST_F(InspectorIconPaneTest, RenamedItemsGetUniqueFilesAndAFailedMoveKeepsTheNames)
{
    PTItem* first = makeItem(set, "First", "first.svg");
    PTItem* second = makeItem(set, "Second", "second.svg");
    const QString oldFirst = fileOf(first);
    pt::test::NotificationRecorder reloads(QStringList{"PTGridViewControllerReload"});
    show({first, second});
    typeName("  Shared Name ");
    EXPECT_EQ(first->name(), "Shared Name");
    EXPECT_EQ(second->name(), "Shared Name");
    EXPECT_NE(first->newFileName(), second->newFileName());
    EXPECT_TRUE(QFile::exists(fileOf(first)));
    EXPECT_TRUE(QFile::exists(fileOf(second)));
    // The old name goes with the save that stores the new one.
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return !QFile::exists(oldFirst); }));
    pt::test::runMainQueueFor(50);
    EXPECT_EQ(reloads.posted.size(), 1);

    // The file goes away after the selection was shown: the move fails and the item keeps its names.
    PTItem* third = makeItem(set, "Third", "third.svg");
    show({third});
    ASSERT_TRUE(QFile::remove(fileOf(third)));
    typeName("Moved");
    EXPECT_EQ(third->name(), "Third");
    EXPECT_EQ(third->newFileName(), "third.svg");
    EXPECT_EQ(shell->alerts.size(), 1);
}

// A rename links the file under its new name and lets the old name go only once the store holds the new one.
// A kill before that finds the old file; a store that refuses the rename gets the item's names back, and the
// file the store names is there in every case, also after a later save.
TEST_F(InspectorIconPaneTest, ARenameKeepsTheFileTheStoreNames)
{
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "the store refuses the rename" : "the rename is stored");
        PTItem* item = makeItem(set, "Old", refused ? "old-refused.svg" : "old-stored.svg");
        saveAndWait();
        const QString oldFile = fileOf(item);
        const QString oldFileName = item->newFileName();
        const QString store = PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath();
        const auto storedFileName = [&] {
            return pt::test::queryStore(store, "SELECT newFileName FROM PTItem WHERE pk = "
                                                   + QString::number(item->objectID().primaryKey()));
        };
        if (refused) {
            pt::test::queryStore(store, "CREATE TRIGGER refuse BEFORE UPDATE ON PTItem BEGIN SELECT RAISE(ABORT, "
                                        "'refused'); END");
            saveFailuresExpected = true;
        }
        const QString newName = refused ? "Refused Name" : "Stored Name";
        show({item});
        typeName(newName);
        // A kill now finds the store naming the old file.
        EXPECT_EQ(storedFileName(), oldFileName);
        EXPECT_TRUE(QFile::exists(oldFile));
        bool saved = false;
        PTSaveManagedObjectContextWithCompletion([&](const pt::Error&) { saved = true; });
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return saved; }));

        const QString newFileName = refused ? "refused-name.svg" : "stored-name.svg";
        const QString newFile = QDir(set->formattedDirectory()).filePath(newFileName);
        if (refused) {
            EXPECT_FALSE(saveErrors.isEmpty());
            EXPECT_EQ(storedFileName(), oldFileName);
            EXPECT_TRUE(QFile::exists(oldFile));
            EXPECT_EQ(item->name(), "Old");
            EXPECT_EQ(item->newFileName(), oldFileName);
            EXPECT_EQ(pane->nameControl()->text(), "Old");
            EXPECT_FALSE(QFile::exists(newFile)) << "nothing names it";
            pt::test::queryStore(store, "DROP TRIGGER refuse");
            saveFailuresExpected = false;
            saveAndWait();
        } else {
            EXPECT_EQ(item->newFileName(), newFileName);
            EXPECT_FALSE(QFile::exists(oldFile));
        }
        EXPECT_EQ(storedFileName(), item->newFileName());
        EXPECT_TRUE(QFile::exists(fileOf(item)));
        EXPECT_EQ(pane->view(), pane->mainStackView());
    }
}

TEST_F(InspectorIconPaneTest, BadInputIsRefusedWhereTyped)
{
    PTItem* item = makeItem(set, "Kept", "kept.svg");
    show({item});
    const QString cases[] = {"", "   ", "a/b", QStringLiteral("a") + QChar(0) + "b", "a\x01b", "line\nbreak"};
    for (const QString& name : cases) {
        typeName(name);
        EXPECT_EQ(item->name(), "Kept") << name.toStdString();
        EXPECT_EQ(item->newFileName(), "kept.svg");
        EXPECT_FALSE(pane->messageLabel()->text().isEmpty()) << name.toStdString();
        EXPECT_EQ(pane->nameControl()->text(), name) << "the text stays for correcting";
    }
    EXPECT_TRUE(shell->alerts.isEmpty());

    item->setTagsString("old");
    show({item});
    for (const QStringList& tags : {QStringList{QString(256, 'x')}, QStringList(300, QString(250, 'y'))}) {
        pane->tagsDidChange(tags);
        pane->requestStateSave();
        EXPECT_EQ(item->tagsString(), "old");
        EXPECT_FALSE(pane->messageLabel()->text().isEmpty());
    }
    pane->tagsDidChange({QString(255, 'z')});
    pane->requestStateSave();
    EXPECT_EQ(item->tagsString(), QString(255, 'z')) << "the longest allowed tag";
    EXPECT_TRUE(pane->messageLabel()->text().isEmpty());
}

TEST_F(InspectorIconPaneTest, AMissingFileShowsTheErrorViewAndSavesNothing)
{
    PTItem* good = makeItem(set, "Good", "good.svg");
    PTItem* gone = makeItem(set, "Gone", "gone.svg");
    ASSERT_TRUE(QFile::remove(fileOf(gone)));
    show({good, gone});
    EXPECT_EQ(pane->view(), pane->errorView());
    EXPECT_EQ(pane->invalidItems(), QVector<PTItem*>{gone});
    EXPECT_FALSE(pane->replaceButton()->isEnabled()) << "no replace sheet installed";
    EXPECT_FALSE(pane->beginEditingName());
    bool reload = false;
    EXPECT_FALSE(pane->saveState(reload));
    pane->tagsDidChange({"fresh"});
    typeName("Other");
    EXPECT_EQ(good->name(), "Good");
    EXPECT_TRUE(good->tagsString().isEmpty());
}

TEST_F(InspectorIconPaneTest, APendingDescriptionIsSavedOnQuit)
{
    PTItem* item = makeItem(set, "Item", "item.svg");
    saveAndWait();
    show({item});
    pane->informativeTextControl()->clear();
    QTest::keyClicks(pane->informativeTextControl(), "  Arrow pointing on ");
    pane->tagsControl()->setFocus();
    QTest::keyClicks(pane->tagsControl(), "arrow,");
    EXPECT_TRUE(item->informativeText().isEmpty()) << "a description waits for the next save";
    EXPECT_TRUE(item->tagsString().isEmpty()) << "so do tags";
    pt::NotificationCenter::defaultCenter().post(PTLibraryController::WillTerminateNotification);
    EXPECT_EQ(item->informativeText(), "Arrow pointing on");
    EXPECT_EQ(item->tagsString(), "arrow");
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return !context().hasChanges(); }));
}

// A search reads the store: the edits still waiting are written and saved first, and the search goes on once the
// store holds them; with nothing inspected it goes on at once.
TEST_F(InspectorIconPaneTest, PendingEditsAreSavedForASearch)
{
    bool went = false;
    frame->saveItemEdits([&went] { went = true; });
    EXPECT_TRUE(went);

    PTItem* item = makeItem(set, "Item", "item.svg");
    saveAndWait();
    show({item});
    pane->tagsControl()->setFocus();
    QTest::keyClicks(pane->tagsControl(), "arrow");
    went = false;
    bool savedFirst = false;
    frame->saveItemEdits([&] {
        went = true;
        savedFirst = !context().hasChanges();
    });
    EXPECT_EQ(item->tagsString(), "arrow");
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return went; }));
    EXPECT_TRUE(savedFirst) << "the search went on before the store held the tag";
}

} // namespace
