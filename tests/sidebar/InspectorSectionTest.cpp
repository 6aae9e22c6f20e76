#include "FakeBrowserSeams.h"
#include "InspectorTestSupport.h"
#include "TestSupport.h"

#include "browser/PTBrowserShell.h"
#include "platform/runtime/Defaults.h"
#include "sidebar/inspector/PTLicenceSideBarSegmentController.h"
#include "sidebar/inspector/PTSideBarSegmentController.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/views/PTStackView.h"

#include <QMenu>
#include <QTest>
#include <QToolButton>

namespace {

using Licence = PTLicenceSideBarSegmentController;

QStringList entries(const Licence& section)
{
    QStringList titles;
    for (const QAction* entry : section.menu()->actions())
        titles << (entry->isSeparator() ? QStringLiteral("---") : entry->text());
    return titles;
}

QAction* entryNamed(const Licence& section, const QString& title)
{
    for (QAction* entry : section.menu()->actions())
        if (entry->text() == title)
            return entry;
    return nullptr;
}

class InspectorSectionTest : public InspectorTest {};

TEST_F(InspectorSectionTest, StateIsReadWithoutWritingAndToggledByTheUserOnly)
{
    pt::Defaults& defaults = pt::Defaults::standard();
    {
        PTSideBarSegmentController section("sidebar.icon.info");
        EXPECT_FALSE(section.isCollapsed());
        EXPECT_FALSE(defaults.objectForKey("sidebar.segment.sidebar.icon.info").isValid());
        section.toggle();
        EXPECT_TRUE(defaults.boolForKey("sidebar.segment.sidebar.icon.info"));
    }
    PTSideBarSegmentController again("sidebar.icon.info");
    EXPECT_TRUE(again.isCollapsed()) << "the fold survives a restart";
    EXPECT_FALSE(defaults.objectForKey("sheet.segment.sidebar.icon.info").isValid()) << "the sheets' keys are apart";
    PTSheetSegmentController sheet("sidebar.icon.info");
    EXPECT_FALSE(sheet.isCollapsed());

    PTSideBarSegmentController fixed("sidebar.set.input");
    fixed.setCollapsible(false);
    fixed.toggle();
    fixed.mouseEntered();
    EXPECT_FALSE(fixed.isCollapsed());
    EXPECT_FALSE(fixed.toggleButton()->isVisibleTo(fixed.view()));
    EXPECT_FALSE(defaults.objectForKey("sidebar.segment.sidebar.set.input").isValid());
}

TEST_F(InspectorSectionTest, ADoubleClickTogglesOnceAndHoverShowsTheToggle)
{
    PTSideBarSegmentController section("sidebar.icon.input");
    section.view()->resize(200, 80);
    section.view()->show();
    EXPECT_FALSE(section.toggleButton()->isVisible());
    section.mouseEntered();
    EXPECT_TRUE(section.toggleButton()->isVisible());
    section.mouseExited();
    EXPECT_FALSE(section.toggleButton()->isVisible());

    const QPoint point(100, 10);
    QTest::mouseDClick(section.view(), Qt::LeftButton, {}, point);
    EXPECT_TRUE(section.isCollapsed());
    // A triple click: a double click and one more press.
    QTest::mouseDClick(section.view(), Qt::LeftButton, {}, point);
    QTest::mouseClick(section.view(), Qt::LeftButton, {}, point);
    EXPECT_FALSE(section.isCollapsed());
}

TEST_F(InspectorSectionTest, LicenceSectionsShareTheirFold)
{
    Licence first, second;
    first.toggle();
    EXPECT_TRUE(second.isCollapsed());
    second.toggle();
    EXPECT_FALSE(first.isCollapsed());
}

TEST_F(InspectorSectionTest, MenuListsNamedLicencesByNameAndShowsTheHeldOne)
{
    PTLicence* b = makeLicence("b");
    makeLicence("A");
    makeLicence("c");
    makeLicence("  ");
    Licence section;
    EXPECT_EQ(entries(section), QStringList({"A", "b", "c", "---", "None", "---", "Manage Licenses..."}));
    EXPECT_EQ(section.licenceControl()->selectedItem()->text(), "None");
    EXPECT_EQ(section.selectedTag(), Licence::NoneTag);

    section.setMultiple(true);
    section.setLicence(nullptr);
    EXPECT_EQ(section.licenceControl()->selectedItem()->text(), "Multiple");
    EXPECT_EQ(section.selectedTag(), Licence::MultipleTag);
    EXPECT_FALSE(entryNamed(section, "Multiple")->isEnabled());

    int picks = 0;
    QObject::connect(&section, &Licence::licencePicked, [&] { ++picks; });
    entryNamed(section, "b")->trigger();
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(section.licence(), b);
    EXPECT_EQ(section.selectedTag(), Licence::LicenceTag);
    EXPECT_FALSE(entries(section).contains("Multiple")) << "a pick ends the mixed state";

    section.setLicence(nullptr);
    EXPECT_EQ(picks, 1) << "showing a licence is not a pick";
}

TEST_F(InspectorSectionTest, ADeletedLicenceLeavesNone)
{
    PTLicence* l = makeLicence("Kept");
    Licence section;
    section.setLicence(l);
    EXPECT_EQ(section.licenceControl()->selectedItem()->text(), "Kept");
    PTLicenceController::sharedController().removeLicences({l});
    PTLicenceController::sharedController().notifyObserversOfDidChange();
    EXPECT_EQ(section.licence(), nullptr);
    EXPECT_EQ(section.licenceControl()->selectedItem()->text(), "None");
    EXPECT_FALSE(entries(section).contains("Kept"));
}

// A licence named with "&" shows it, with no letter underlined, in the menu, on the pop-up and in its name.
TEST_F(InspectorSectionTest, AmpersandsInLicenceNamesShowAsTyped)
{
    PTLicence* licence = makeLicence("CC & BY");
    Licence section;
    QAction* entry = entryNamed(section, "CC && BY");
    ASSERT_NE(entry, nullptr) << entries(section).join(", ").toStdString();
    EXPECT_TRUE(QKeySequence::mnemonic(entry->text()).isEmpty());
    entry->trigger();
    EXPECT_EQ(section.licence(), licence);
    EXPECT_EQ(section.licenceControl()->accessibleName(), "License: CC & BY");
    section.setLicence(licence);
    EXPECT_EQ(section.licenceControl()->accessibleName(), "License: CC & BY");
}

TEST_F(InspectorSectionTest, ManageLicencesRevertsAndOpensThePreferences)
{
    auto shell = std::make_shared<FakeBrowserShell>();
    PTBrowserShell::install(shell);
    PTLicence* l = makeLicence("Kept");
    Licence section;
    section.setLicence(l);
    int picks = 0;
    QObject::connect(&section, &Licence::licencePicked, [&] { ++picks; });
    entryNamed(section, "Manage Licenses...")->trigger();
    EXPECT_EQ(picks, 0) << "nothing for a pane to save";
    EXPECT_EQ(section.licenceControl()->selectedItem()->text(), "Kept");
    EXPECT_EQ(section.selectedTag(), Licence::LicenceTag);
    EXPECT_EQ(shell->calls, QStringList{"prefs licenses"});
    PTBrowserShell::install(nullptr);
}

TEST_F(InspectorSectionTest, MoreInfoOpensOnlyWebPages)
{
    const struct {
        const char* url;
        bool shown;
    } cases[] = {{"", false}, {"example.com", false}, {"javascript:x", false}, {"file://h/x", false},
                 {"https://h", true}, {"http://h/licence", true}};
    Licence section;
    section.view()->show();
    for (const auto& c : cases) {
        PTLicence* l = makeLicence(QStringLiteral("L %1").arg(c.url), c.url);
        section.setLicence(l);
        EXPECT_EQ(!Licence::moreInfoURL(l).isEmpty(), c.shown) << c.url;
        EXPECT_EQ(section.moreInfoContainerView()->isVisibleTo(section.view()), c.shown) << c.url;
    }
}

} // namespace
