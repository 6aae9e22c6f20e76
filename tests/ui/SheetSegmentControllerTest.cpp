#include "platform/runtime/Defaults.h"
#include "ui/sheets/PTSheetSegmentController.h"
#include "ui/views/PTStackView.h"

#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

TEST(SheetSegmentController, RemembersOnlyWhatTheUserToggled)
{
    QTemporaryDir dir;
    pt::Defaults::useStorageFile(dir.filePath("settings.ini"));
    pt::Defaults& defaults = pt::Defaults::standard();
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
}
