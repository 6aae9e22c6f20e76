#include "app/preferences/PTPreferencesController.h"
#include "app/preferences/PTPreferencesDraggingViewController.h"
#include "app/preferences/PTPreferencesGeneralViewController.h"
#include "app/preferences/PTPreferencesPane.h"

#include "platform/runtime/Defaults.h"
#include "platform/ui/AnimationTiming.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/controls/PTSwitchControl.h"

#include "TestSupport.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QTemporaryDir>
#include <QToolBar>

#include "preferences/PreferencesTestDefaults.h"

#include <gtest/gtest.h>

namespace {

class PreferencesWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        usePreferencesTestDefaults(dir);
    }
    void TearDown() override
    {
        if (QWidget* window = prefs().preferencesWindow())
            delete window;
        pt::AnimationTiming::setScale(0);
    }
    static PTPreferencesController& prefs() { return PTPreferencesController::sharedController(); }
    static QString checkedToolbarItem()
    {
        for (QAction* action : prefs().preferencesWindow()->findChild<QToolBar*>()->actions()) {
            if (action->isChecked())
                return action->objectName();
        }
        return {};
    }
    QTemporaryDir dir;
};

} // namespace

TEST(PaneFrameTest, KeepsTheTopEdgeAndCentreInsideTheScreen)
{
    const QRect screen(0, 0, 1000, 800);
    const struct {
        const char* name;
        QRect window;
        int content;
        QSize pane;
        QRect expected;
    } cases[] = {
        {"taller pane grows downwards", {200, 100, 560, 340}, 300, {560, 500}, {200, 100, 560, 540}},
        {"wider pane grows both ways", {200, 100, 400, 340}, 300, {600, 300}, {100, 100, 600, 340}},
        {"narrower and shorter", {200, 100, 600, 540}, 500, {400, 200}, {300, 100, 400, 240}},
        {"pushed up from the bottom", {200, 500, 560, 240}, 200, {560, 400}, {200, 360, 560, 440}},
        {"pushed in from the left", {-50, 100, 400, 240}, 200, {600, 200}, {0, 100, 600, 240}},
        {"taller than the screen", {200, 100, 560, 240}, 200, {560, 1200}, {200, 0, 560, 800}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PTPreferencesController::paneFrame(c.window, c.content, c.pane, screen), c.expected);
    }
}

TEST_F(PreferencesWindowTest, OpensOnAPaneByIdentifierAndSwitchesWithAnimationOnlyWhenOpen)
{
    prefs().presentPreferences(PTPreferencesDraggingViewController::Identifier);
    QWidget* window = prefs().preferencesWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(prefs().selectedIdentifier(), "dragging");
    EXPECT_EQ(checkedToolbarItem(), "dragging");
    PTPreferencesPane* dragging = prefs().pane("dragging");
    ASSERT_TRUE(dragging && dragging->isVisible());
    EXPECT_EQ(window->width(), dragging->width());
    EXPECT_EQ(dragging->parentWidget()->height(), dragging->height()) << "opening shows the pane at once";

    pt::AnimationTiming::setScale(1);
    const int top = window->geometry().top();
    const int centre = window->geometry().center().x();
    prefs().presentPreferences("io");
    EXPECT_EQ(prefs().selectedIdentifier(), "io");
    PTPreferencesPane* io = prefs().pane("io");
    ASSERT_TRUE(io);
    ASSERT_NE(io->height(), dragging->height());
    QWidget* content = io->parentWidget();
    EXPECT_NE(content->height(), io->height()) << "a switch in an open window animates";
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return content->height() == io->height(); }));
    EXPECT_EQ(window->geometry().top(), top);
    EXPECT_NEAR(window->geometry().center().x(), centre, 1);
    EXPECT_FALSE(dragging->isVisible());

    const QRect before = window->geometry();
    EXPECT_TRUE(prefs().selectTabWithIdentifier("io", true));
    EXPECT_EQ(window->geometry(), before) << "the pane already shown";

    EXPECT_FALSE(prefs().selectTabWithIdentifier("sharing", true));
    EXPECT_EQ(prefs().selectedIdentifier(), "io");
    EXPECT_EQ(checkedToolbarItem(), "io") << "an unknown pane leaves the toolbar as it was";
}

TEST_F(PreferencesWindowTest, ClosingThrowsThePanesAwaySoReopeningShowsStoredValues)
{
    prefs().presentPreferences();
    EXPECT_EQ(prefs().selectedIdentifier(), "general");
    QPointer<PTPreferencesPane> general = prefs().pane("general");
    auto* notifications = general->findChild<PTSwitchControl*>(PTPreferenceKeys::ShowNotifications);
    ASSERT_TRUE(notifications);
    EXPECT_TRUE(notifications->isChecked());

    prefs().preferencesWindow()->close();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !general && !prefs().preferencesWindow(); }));
    pt::Defaults::standard().set(PTPreferenceKeys::ShowNotifications, false);

    prefs().presentPreferences("general");
    notifications = prefs().pane("general")->findChild<PTSwitchControl*>(PTPreferenceKeys::ShowNotifications);
    ASSERT_TRUE(notifications);
    EXPECT_FALSE(notifications->isChecked());
    EXPECT_EQ(prefs().pane("io"), nullptr) << "panes are built when first shown";
}

TEST_F(PreferencesWindowTest, EveryControlOfEveryPaneHasAnAccessibleName)
{
    for (const QString& identifier : PTPreferencesController::paneIdentifiers()) {
        prefs().presentPreferences(identifier);
        PTPreferencesPane* pane = prefs().pane(identifier);
        ASSERT_TRUE(pane) << identifier.toStdString();
        QList<QWidget*> controls;
        for (QWidget* widget : pane->findChildren<QWidget*>()) {
            if (widget->focusPolicy() != Qt::NoFocus && !qobject_cast<QAbstractScrollArea*>(widget->parentWidget()))
                controls << widget;
        }
        EXPECT_FALSE(controls.isEmpty()) << identifier.toStdString();
        for (QWidget* control : controls) {
            EXPECT_FALSE(control->accessibleName().isEmpty())
                << identifier.toStdString() << ": " << control->metaObject()->className();
        }
    }
}
