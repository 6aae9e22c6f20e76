#include "InspectorTestSupport.h"
#include "TestSupport.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTGroup.h"
#include "sidebar/inspector/PTLicenceSideBarSegmentController.h"
#include "sidebar/inspector/PTSetSideBarController.h"
#include "sidebar/inspector/PTSideBarController.h"
#include "sidebar/inspector/PTSideBarSegmentController.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/controls/PTToolbarSegmentedControl.h"

#include <QLabel>
#include <QMenu>

namespace {

class InspectorSetPaneTest : public InspectorTest {
protected:
    void SetUp() override
    {
        InspectorTest::SetUp();
        frame = std::make_unique<PTSideBarController>();
        pane = qobject_cast<PTSetSideBarController*>(frame->viewControllers().at(0));
    }
    void TearDown() override
    {
        frame.reset();
        InspectorTest::TearDown();
    }
    void show(const QVector<PTCollection*>& sets, const PTSideBarController::Objects& topLevel)
    {
        frame->setCollections(sets, topLevel);
    }
    void pickLicence(const QString& title)
    {
        for (QAction* entry : pane->licenceSegmentController()->menu()->actions())
            if (entry->text() == title)
                entry->trigger();
    }

    std::unique_ptr<PTSideBarController> frame;
    PTSetSideBarController* pane = nullptr;
};

TEST_F(InspectorSetPaneTest, TheAllRowShowsEverySetWithNothingToEdit)
{
    EXPECT_EQ(pane->view(), pane->noSelectionView());
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    show({a, b}, {});
    EXPECT_EQ(pane->view(), pane->mainStackView());
    EXPECT_EQ(pane->label(), "Icon Sets");
    EXPECT_FALSE(pane->nameControl()->isEnabled());
    EXPECT_EQ(pane->nameControl()->placeholderText(), "Multiple Names");
    EXPECT_FALSE(pane->licenceSegmentController()->licenceControl()->isEnabled());
    EXPECT_FALSE(pane->exportControl()->isEnabled());
}

TEST_F(InspectorSetPaneTest, AGroupOfThreeSetsIsEditedAsOne)
{
    PTLicence* l = makeLicence("L");
    PTGroup* group = PTGroupController::sharedController().createGroupWithName("Group", nullptr);
    QVector<PTCollection*> sets;
    for (const char* name : {"One", "Two", "Three"}) {
        sets << makeSet(name);
        PTGroupController::sharedController().moveObject(sets.last(), group, 1 << 20);
    }
    makeItem(sets[0], "Icon", "icon.svg");
    pt::test::NotificationRecorder updates(QStringList{PTCollectionController::CollectionsDidUpdateNotification});
    show(sets, {group});
    EXPECT_EQ(pane->label(), "Icon Sets");
    EXPECT_EQ(pane->infoSegmentController()->title(), "Sets Info");
    EXPECT_EQ(pane->selectionField()->text(), "3 Sets");
    EXPECT_EQ(pane->iconsField()->text(), "1 Icon");
    EXPECT_EQ(pane->nameControl()->text(), "Group");
    EXPECT_TRUE(pane->exportControl()->isEnabled());

    pane->nameControl()->setText(" Group ");
    pane->requestStateSave();
    EXPECT_TRUE(updates.posted.isEmpty()) << "the same name with spaces around it changes nothing";
    pane->nameControl()->setText("Renamed");
    pane->requestStateSave();
    EXPECT_EQ(group->name(), "Renamed");
    EXPECT_EQ(updates.posted.size(), 1);

    pickLicence("L");
    for (PTCollection* set : sets)
        EXPECT_EQ(set->licence(), l) << set->name().toStdString();
}

TEST_F(InspectorSetPaneTest, OneSetShowsItsFactsAndFollowsOutsideRenames)
{
    PTCollection* set = makeSet("Single");
    show({set}, {set});
    EXPECT_EQ(pane->label(), "Icon Set");
    EXPECT_EQ(pane->iconsField()->text(), "0 Icons");
    EXPECT_FALSE(pane->selectionView()->isVisibleTo(pane->mainStackView()));
    EXPECT_EQ(pane->dateField()->text(), set->humanDate());
    set->setName("Renamed elsewhere");
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return pane->nameControl()->text() == "Renamed elsewhere"; }));

    PTCollection* misc = PTCollectionController::sharedController().miscCollection();
    show({misc}, {misc});
    EXPECT_FALSE(pane->licenceSegmentController()->licenceControl()->isEnabled());
}

TEST_F(InspectorSetPaneTest, ALateFolderSizeIsDropped)
{
    std::vector<folderSize::SizeCallback> pending;
    pane->setFolderSizer([&](const QStringList&, folderSize::SizeCallback callback) { pending.push_back(callback); });
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    show({a}, {a});
    show({b}, {b});
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pane->sizeField()->text(), "Calculating");
    pending[0](111);
    EXPECT_EQ(pane->sizeField()->text(), "Calculating") << "the total of sets no longer shown";
    pending[1](2000);
    EXPECT_EQ(pane->sizeField()->text(), PTItem::fileSizeString(2000));
}

TEST_F(InspectorSetPaneTest, TheRealSizerSumsTheSetFolder)
{
    PTCollection* set = makeSet("Sized");
    PTItem* item = makeItem(set, "Icon", "icon.svg");
    show({set}, {set});
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return pane->sizeField()->text() != "Calculating"; }));
    EXPECT_EQ(pane->sizeField()->text(), item->fileSizeString());
}

} // namespace
