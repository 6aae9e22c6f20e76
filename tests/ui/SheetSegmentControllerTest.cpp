#include "platform/runtime/Defaults.h"
#include "ui/sheets/PTSheetSegmentController.h"
#include "ui/views/PTStackView.h"

#include <QStringList>
#include <QToolButton>

#include <gtest/gtest.h>

TEST(SheetSegmentController, RemembersOnlyWhatTheUserToggled)
{
    // The process's own settings: pointing them elsewhere would drop the defaults the kit registered for the
    // tests that follow.
    pt::Defaults& defaults = pt::Defaults::standard();
    const QStringList keys = {"sheet.segment.advanced", "sheet.segment.other", "sidebar.segment.advanced"};
    for (const QString& key : keys)
        defaults.remove(key);
    {
        PTSheetSegmentController section("advanced");
        EXPECT_EQ(section.defaultsKey(), "sheet.segment.advanced");
        EXPECT_FALSE(section.isCollapsed());
        EXPECT_FALSE(defaults.objectForKey("sheet.segment.advanced").isValid()) << "restoring writes nothing";
        section.toggle();
        EXPECT_TRUE(section.isCollapsed());
        EXPECT_TRUE(section.stackView()->isHidden());
        EXPECT_TRUE(defaults.boolForKey("sheet.segment.advanced"));
    }
    PTSheetSegmentController again("advanced");
    EXPECT_TRUE(again.isCollapsed());
    // Sections of sidebars keep their own keys.
    EXPECT_FALSE(defaults.objectForKey("sidebar.segment.advanced").isValid());

    PTSheetSegmentController folded("other", false);
    EXPECT_TRUE(folded.isCollapsed());
    folded.setCollapsible(false);
    folded.toggle();
    EXPECT_TRUE(folded.isCollapsed());
    EXPECT_FALSE(defaults.objectForKey("sheet.segment.other").isValid());
    for (const QString& key : keys)
        defaults.remove(key);
}
