#include "platform/runtime/Defaults.h"
#include "ui/sheets/PTSheetSegmentController.h"
#include "ui/views/PTStackView.h"

#include <QLabel>
#include <QStringList>
#include <QTest>
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

// A click anywhere on the header folds or unfolds the section: on its title word, on the room between title and
// arrow, and on the arrow, each once.
TEST(SheetSegmentController, TheWholeHeaderFoldsTheSection)
{
    pt::Defaults& defaults = pt::Defaults::standard();
    defaults.remove("sheet.segment.clicks");
    PTSheetSegmentController section("clicks", false);
    section.setTitle("Advanced");
    QWidget* view = section.view();
    view->resize(400, 120);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    QLabel* title = nullptr;
    for (QLabel* label : view->findChildren<QLabel*>())
        if (label->accessibleName() == QLatin1String("Section title"))
            title = label;
    ASSERT_NE(title, nullptr);
    QWidget* header = title->parentWidget();
    QToolButton* arrow = section.toggleButton();
    ASSERT_LT(title->geometry().right() + 40, arrow->geometry().left()) << "no room between title and arrow";
    const QPoint room((title->geometry().right() + arrow->geometry().left()) / 2, title->geometry().center().y());
    struct Click {
        const char* name;
        QWidget* widget;
        QPoint at;
    };
    const Click clicks[] = {{"the title word", title, title->rect().center()},
                            {"the room beside it", header, room},
                            {"the arrow", arrow, arrow->rect().center()},
                            {"the title word again", title, QPoint(2, title->height() / 2)}};
    bool collapsed = true;
    ASSERT_TRUE(section.isCollapsed());
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.name);
        QTest::mouseClick(click.widget, Qt::LeftButton, {}, click.at);
        collapsed = !collapsed;
        EXPECT_EQ(section.isCollapsed(), collapsed);
        EXPECT_EQ(section.stackView()->isHidden(), collapsed);
    }
    view->hide();
    defaults.remove("sheet.segment.clicks");
}
