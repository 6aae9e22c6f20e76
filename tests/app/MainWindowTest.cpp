#include "AppTestLibrary.h"
#include "AppTestWidgets.h"
#include "TestSupport.h"

#include "app/PTAppController.h"
#include "app/PTAppDelegate.h"
#include "app/PTAddButton.h"
#include "app/PTAppearanceSVGImageView.h"
#include "app/PTGridColumn.h"
#include "app/PTNotice.h"
#include "app/PTNoticeController.h"
#include "app/PTPrefsButton.h"
#include "app/PTSplitViewController.h"
#include "app/PTToolbarButtonCell.h"
#include "app/PTToolbarController.h"
#include "app/PTToolbarSeperatorIndicatorView.h"
#include "app/PTUpdateController.h"
#include "app/PTWindow.h"
#include "app/PTWindowBottomBar.h"
#include "app/PTWindowTitleBar.h"
#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTGridViewOptionsController.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "platform/runtime/Defaults.h"
#include "platform/ui/ActionRouter.h"
#include "platform/ui/SheetHost.h"
#include "svg/PTSVG.h"
#include "ui/PTMainWindow.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"
#include "ui/views/PTPopover.h"

#include <QWindow>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QSplitter>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

QColor blend(const QColor& under, const QColor& over, double alpha)
{
    return QColor::fromRgbF(float(under.redF() * (1 - alpha) + over.redF() * alpha),
                            float(under.greenF() * (1 - alpha) + over.greenF() * alpha),
                            float(under.blueF() * (1 - alpha) + over.blueF() * alpha));
}

// The light toolbar band at a row: white, 0xE9E9E9 at the band's alpha, then the sheen (white from 0.6 at the top
// edge to nothing at the bottom) at that alpha again.
QColor lightBand(int row, bool active)
{
    const double alpha = active ? 1.0 : 0.6;
    const QColor base = blend(Qt::white, QColor(0xE9, 0xE9, 0xE9), alpha);
    return blend(base, Qt::white, 0.6 * (1 - (row + 0.5) / PTWindowTitleBar::Height) * alpha);
}

// The pixels of the rectangle that are within a few steps of the colour.
int countNear(const QImage& image, const QRect& rect, const QColor& colour, int tolerance = 6)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += apptest::near(image.pixelColor(x, y), colour, tolerance);
    }
    return count;
}

class RecordingHandler : public pt::CommandHandler {
public:
    QStringList performed;
    bool respondsTo(const QString&) const override { return true; }
    void perform(const QString& command) override { performed << command; }
};

// The main window as launch builds it, over the test library, with a delegate whose exit is only recorded.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static bool seeded = false;
        if (!seeded) {
            AppTestLibrary::shared().addSet(QStringLiteral("Arrows"),
                                            {QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("up")});
            seeded = true;
        }
        pt::Defaults::standard().remove(PTSplitViewController::AutosaveKey);
        PTAppDelegate::QuitPath path = PTAppDelegate::defaultQuitPath();
        path.exit = [this](int code) { exits << code; };
        path.save = [](std::function<void(const pt::Error&)> completion) { completion({}); };
        delegate = std::make_unique<PTAppDelegate>(path);
        controller = std::make_unique<PTAppController>(*delegate);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        controller.reset();
        PTThemeController::defaultController().setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
    }

    std::unique_ptr<PTAppDelegate> delegate;
    std::unique_ptr<PTAppController> controller;
    QList<int> exits;
};

TEST_F(MainWindowTest, ThreeColumnsUnderTheToolbarInBothThemes)
{
    PTWindow* window = controller->window();
    EXPECT_EQ(PTMainWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(PTWindow::contentTopMargin(), 0);
    auto* sets = qobject_cast<QListWidget*>(controller->sourceListColumn());
    ASSERT_NE(sets, nullptr);
    const QList<QListWidgetItem*> arrows = sets->findItems(QStringLiteral("Arrows"), Qt::MatchExactly);
    ASSERT_EQ(arrows.size(), 1);
    sets->setCurrentItem(arrows.first());
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return controller->gridViewController()->cachedItems().size() == 3; }))
        << "the chosen set is shown";
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return controller->gridViewController()->view()->isVisible(); }));
    const QList<int> sizes = controller->splitViewController()->view()->sizes();
    ASSERT_EQ(sizes.size(), 3);
    EXPECT_EQ(sizes[0], 222);
    EXPECT_EQ(sizes[2], 222);

    for (int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        PTThemeController::defaultController().setDefaultAppearance(appearance, PTAppearancePreferenceManual);
        QApplication::processEvents();
        const QString name = appearance == PTAppearanceDark ? QStringLiteral("app-main-window-dark")
                                                            : QStringLiteral("app-main-window-light");
        const QString file = apptest::writeScreenshot(window, name);
        ASSERT_FALSE(file.isEmpty());
        const QImage image(file);
        const QWidget* split = controller->splitViewController()->view();
        const int y = split->mapTo(window, QPoint(0, split->height() / 2)).y() * int(image.devicePixelRatio());
        const int top = split->mapTo(window, QPoint(0, 0)).y();
        EXPECT_EQ(top, window->titleBar()->mapTo(window, QPoint(0, 0)).y() + PTWindowTitleBar::Height)
            << "the columns start right under the toolbar band";
        // Sets and inspector in the sidebar colour, the grid between them in the grid colour.
        EXPECT_TRUE(apptest::near(image.pixelColor(150, y + 60), PTStyles::sidebarBackgroundColor()))
            << name.toStdString() << " sets " << image.pixelColor(150, y + 60).name().toStdString();
        EXPECT_TRUE(apptest::near(image.pixelColor(image.width() - 20, y), PTStyles::sidebarBackgroundColor()))
            << name.toStdString() << " inspector " << image.pixelColor(image.width() - 20, y).name().toStdString();
        EXPECT_TRUE(apptest::near(image.pixelColor(image.width() - 240, y + 150), PTStyles::gridBackgroundColor()))
            << name.toStdString() << " grid " << image.pixelColor(image.width() - 240, y + 150).name().toStdString();
        // The toolbar band over them.
        const QColor band = image.pixelColor(image.width() / 2 - 200, window->titleBar()->y() + 3);
        EXPECT_TRUE(apptest::near(band, appearance == PTAppearanceDark ? QColor(0x3A, 0x3A, 0x3A) : lightBand(3, true)) ||
                    apptest::near(band, appearance == PTAppearanceDark ? QColor(0x35, 0x35, 0x35) : lightBand(3, false)))
            << name.toStdString() << " band " << band.name().toStdString();
    }
}

// The band's own look around its items: the sheen and the lit top edge on the light band, the glyph buttons in the
// ink of the theme (blue while held down), the faint mark before the notices.
TEST_F(MainWindowTest, TheToolbarBandDrawsItsGlyphsAndMarkInBothThemes)
{
    PTWindow* window = controller->window();
    PTWindowTitleBar* bar = window->titleBar();
    PTToolbarController* toolbar = controller->toolbarController();
    PTAddButton* add = toolbar->addButton();
    PTPrefsButton* prefs = toolbar->prefsButton();
    PTToolbarSeperatorIndicatorView* mark = toolbar->noticesSeparator();
    // Both commands available, so that both buttons draw enabled.
    RecordingHandler recorder;
    pt::ActionRouter::shared().pushWindowHandler(window, &recorder);
    window->activateWindow();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return window->isActiveWindow(); }));
    pt::ActionRouter::shared().invalidate();
    ASSERT_TRUE(add->isEnabled() && prefs->isEnabled());
    for (QWidget* item : {static_cast<QWidget*>(add), static_cast<QWidget*>(prefs), static_cast<QWidget*>(mark)})
        ASSERT_TRUE(item->isVisible()) << item->accessibleName().toStdString();
    ASSERT_FALSE(add->icon().isNull());
    ASSERT_FALSE(prefs->icon().isNull());

    for (int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        const bool dark = appearance == PTAppearanceDark;
        PTThemeController::defaultController().setDefaultAppearance(appearance, PTAppearancePreferenceManual);
        QApplication::processEvents();
        const QString name = dark ? QStringLiteral("app-toolbar-band-dark") : QStringLiteral("app-toolbar-band-light");
        const QString file = apptest::writeScreenshot(bar, name);
        ASSERT_FALSE(file.isEmpty());
        const QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.devicePixelRatio(), 1.0);
        SCOPED_TRACE(name.toStdString());

        const bool active = bar->drawsActive();
        const QColor bandAt12 = image.pixelColor(8, 12);
        if (dark) {
            EXPECT_TRUE(apptest::near(bandAt12, active ? QColor(0x3A, 0x3A, 0x3A) : QColor(0x35, 0x35, 0x35)))
                << bandAt12.name().toStdString();
        } else {
            for (int row : {2, 12, 30, 48})
                EXPECT_TRUE(apptest::near(image.pixelColor(8, row), lightBand(row, active)))
                    << "sheen at row " << row << ": " << image.pixelColor(8, row).name().toStdString();
            EXPECT_TRUE(apptest::near(image.pixelColor(8, 0), blend(lightBand(0, active), Qt::white, 0.3)))
                << "the lit top edge " << image.pixelColor(8, 0).name().toStdString();
            const int bottom = PTWindowTitleBar::Height - 1;
            EXPECT_TRUE(apptest::near(image.pixelColor(8, bottom), blend(lightBand(bottom, active),
                                                                         QColor(0xA3, 0xA1, 0xA3), active ? 0.7 : 0.35)))
                << "the bottom line " << image.pixelColor(8, bottom).name().toStdString();
        }

        // The plus: ink at its crossing, band in its corners. The gear: ink on its ring, band in its hole.
        const QColor ink = PTToolbarButtonCell::inkColor(false);
        const QPoint plus = add->geometry().center() + QPoint(1, 1);
        const QPoint gear = prefs->geometry().center() + QPoint(1, 1);
        EXPECT_TRUE(apptest::near(image.pixelColor(plus), ink)) << image.pixelColor(plus).name().toStdString();
        EXPECT_FALSE(apptest::near(image.pixelColor(plus + QPoint(-5, -5)), ink, 40));
        EXPECT_FALSE(apptest::near(image.pixelColor(gear), ink, 40)) << "the gear's hole";
        EXPECT_GT(countNear(image, prefs->geometry(), ink), 60) << "the gear's ring and teeth";
        EXPECT_GT(countNear(image, add->geometry(), ink), 30) << "the plus";

        // The mark: one point of black (white when dark) at 0.12 over the band, from row 5 of its view down.
        const QPoint markTop = mark->geometry().topLeft() + mark->markRect().topLeft().toPoint();
        const QColor beside = image.pixelColor(markTop + QPoint(3, 8));
        const QColor onMark = image.pixelColor(markTop + QPoint(0, 8));
        EXPECT_TRUE(apptest::near(onMark, blend(beside, dark ? Qt::white : Qt::black, 0.12)))
            << onMark.name().toStdString() << " over " << beside.name().toStdString();
        EXPECT_TRUE(apptest::near(image.pixelColor(markTop + QPoint(0, -3)), image.pixelColor(markTop + QPoint(3, -3))))
            << "nothing above the mark";

        // Held down, the glyph takes the selection blue; let go outside, nothing happens.
        QTest::mousePress(prefs, Qt::LeftButton);
        const QImage held = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QTest::mouseRelease(prefs, Qt::LeftButton, {}, QPoint(-20, -20));
        ASSERT_TRUE(pt::test::writeScreenshot(held, name + QStringLiteral("-prefs-held")));
        EXPECT_GT(countNear(held, prefs->geometry(), PTStyles::defaultBlue()), 60);
        EXPECT_EQ(countNear(held, prefs->geometry(), ink, 3), 0);
    }
    pt::ActionRouter::shared().removeWindowHandler(window, &recorder);
    EXPECT_TRUE(recorder.performed.isEmpty()) << "a press let go outside sends nothing";
}

// The glyph buttons send their commands through the window's handlers.
TEST_F(MainWindowTest, TheGlyphButtonsSendNewSetAndPreferences)
{
    PTWindow* window = controller->window();
    RecordingHandler recorder;
    pt::ActionRouter::shared().pushWindowHandler(window, &recorder);
    window->activateWindow();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return window->isActiveWindow(); }));
    pt::ActionRouter::shared().invalidate();
    QTest::mouseClick(controller->toolbarController()->addButton(), Qt::LeftButton);
    QTest::mouseClick(controller->toolbarController()->prefsButton(), Qt::LeftButton);
    pt::ActionRouter::shared().removeWindowHandler(window, &recorder);
    EXPECT_EQ(recorder.performed, (QStringList{"presentNewCollection:", "presentPreferences:"}));
}

TEST_F(MainWindowTest, EveryControlHasAnAccessibleName)
{
    for (QWidget* widget : controller->window()->findChildren<QWidget*>()) {
        const bool control = widget->focusPolicy() != Qt::NoFocus || qobject_cast<PTToolbarSegmentedControl*>(widget);
        if (!control || !widget->isVisibleTo(controller->window()) || widget->inherits("QScrollBar") ||
            widget->parentWidget()->inherits("QAbstractScrollArea"))
            continue;
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->metaObject()->className();
    }
    for (QAction* menu : controller->window()->findChild<QMenuBar*>()->actions())
        EXPECT_FALSE(menu->menu()->accessibleName().isEmpty());
}

TEST_F(MainWindowTest, ClosingTheWindowQuitsAfterTheSave)
{
    controller->window()->close();
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return !exits.isEmpty(); }));
    EXPECT_EQ(exits, QList<int>{0});
    EXPECT_TRUE(controller->window()->isVisible()) << "the window stays until the process ends";
}

TEST_F(MainWindowTest, TheSizeMenuChecksTheStoredSize)
{
    pt::Defaults::standard().set(PTToolbarController::GridSizeKey, 64);
    QMenu* menu = controller->toolbarController()->sizeMenu();
    menu->popup(controller->toolbarController()->gridViewOptions()->mapToGlobal(QPoint(0, 30)));
    QApplication::processEvents();
    const QString file = apptest::writeScreenshot(menu, QStringLiteral("app-size-menu"));
    menu->hide();
    ASSERT_FALSE(file.isEmpty());
    const QImage image(file);
    EXPECT_GT(image.height(), 9 * 18) << "nine sizes and the slider";
    EXPECT_EQ(controller->toolbarController()->gridViewOptions()->label(0), QStringLiteral("64"));
}

// A relaunch with a stored size: the grid draws at that size from the start, cell margins included.
TEST_F(MainWindowTest, TheStoredSizeIsInForceAtLaunch)
{
    controller.reset();
    pt::Defaults::standard().set(PTGridViewOptionsController::GridViewSizeKey, 64.0);
    controller = std::make_unique<PTAppController>(*delegate);
    QApplication::processEvents();
    PTGridView* grid = controller->gridViewController()->view();
    EXPECT_EQ(grid->itemSize(), PTGridViewImageCell::sizeFromProposedSize(QSizeF(64, 64), grid->drawingState()));
    EXPECT_EQ(controller->toolbarController()->gridViewOptions()->label(0), QStringLiteral("64"));
}

// The grid options shown in a popover, if any.
PTGridViewOptionsController* shownGridOptions()
{
    PTGridViewOptionsController* shown = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* popover = qobject_cast<PTPopover*>(window);
        if (popover && popover->isVisible()) {
            if (auto* options = qobject_cast<PTGridViewOptionsController*>(popover->contentWidget())) {
                EXPECT_EQ(shown, nullptr) << "one popover at a time";
                shown = options;
            }
        }
    }
    return shown;
}

// A click on the size control opens the grid options under it; their slider resizes the grid and the control
// follows. A second click while they show opens nothing more.
TEST_F(MainWindowTest, AClickOnTheSizeControlOpensTheGridOptions)
{
    pt::Defaults::standard().set(PTGridViewOptionsController::GridViewSizeKey, 64);
    PTToolbarSegmentedControl* control = controller->toolbarController()->gridViewOptions();
    const QPoint body(6, control->height() / 2);
    QTest::mouseClick(control, Qt::LeftButton, {}, body);
    PTGridViewOptionsController* options = shownGridOptions();
    ASSERT_NE(options, nullptr);
    EXPECT_GE(options->window()->geometry().top(), control->mapToGlobal(QPoint(0, control->height())).y());
    QTest::mouseClick(control, Qt::LeftButton, {}, body);
    EXPECT_EQ(shownGridOptions(), options);

    PTGridView* grid = controller->gridViewController()->view();
    const QSizeF before = grid->itemSize();
    EXPECT_EQ(options->slider()->value(), 64);
    QTest::keyClick(options->slider(), Qt::Key_PageUp);
    EXPECT_EQ(pt::Defaults::standard().doubleForKey(PTGridViewOptionsController::GridViewSizeKey), 84);
    EXPECT_EQ(grid->itemSize() - before, QSizeF(20, 20));
    EXPECT_EQ(control->label(0), QStringLiteral("84"));
    options->window()->close();
    EXPECT_EQ(shownGridOptions(), nullptr);
}

// The notices button and popover follow a fake update source.
TEST_F(MainWindowTest, NoticesFollowTheUpdateSource)
{
    PTNoticeController& notices = PTNoticeController::sharedController();
    PTToolbarSegmentedControl* button = controller->toolbarController()->noticesControl();
    if (!PTUpdateController::sharedController().updateAvailable()) {
        EXPECT_FALSE(notices.hasNotices());
        EXPECT_EQ(notices.noticesCount(), 0);
        EXPECT_FALSE(button->isVisibleTo(controller->window()));
        PTUpdateController::sharedController().didFindValidUpdate({QStringLiteral("2.2"), QStringLiteral("310")});
    }
    EXPECT_TRUE(notices.hasNotices());
    EXPECT_EQ(notices.noticesCount(), 1);
    EXPECT_TRUE(button->isVisibleTo(controller->window()));
    EXPECT_EQ(button->label(0), QStringLiteral("1"));
    // The design-application plug-in's notice comes first and stays hidden here.
    const PTNotice* update = notices.notices().last();
    EXPECT_EQ(update->message(), QStringLiteral("Pictern 2.2 (310) is now available to download, click here to upgrade."));

    controller->toolbarController()->showNotices();
    ASSERT_NE(notices.popover(), nullptr);
    QApplication::processEvents();
    const QString file = apptest::writeScreenshot(notices.popover(), QStringLiteral("app-notices-popover"));
    ASSERT_FALSE(file.isEmpty());
    EXPECT_GE(notices.popover()->width(), 290);
    // The notice's image sits at its top left, inside the panel's margin: the icon's blue body.
    const QImage popover(file);
    const QPoint origin = notices.popover()->contentWidget()->mapTo(notices.popover(), QPoint(0, 0));
    const QColor icon = popover.pixelColor(origin + QPoint(15 + 4, 15 + 26));
    EXPECT_GT(icon.blue(), icon.red() + 60) << icon.name().toStdString();

    // A second notice that comes and goes while the popover is open is listed and dropped with it.
    auto* other = new PTNotice;
    other->setPersistant(true);
    other->setTitle(QStringLiteral("Other"));
    notices.addNotice(other);
    EXPECT_EQ(notices.noticesCount(), 2);
    other->setCanDisplay(false);
    EXPECT_EQ(notices.noticesCount(), 1);
    notices.popover()->close();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return notices.popover() == nullptr; }));
}

// The test's bus has no notification server: a notice posted for the desktop opens the notices popover on the
// window instead, legible in both themes, and a click on it clears it away.
TEST_F(MainWindowTest, ANoticeNoServerShowedOpensInTheWindowInBothThemes)
{
    PTNoticeController& notices = PTNoticeController::sharedController();
    const int before = notices.noticesCount();
    delegate->postNotice(QStringLiteral("Cannot Open"), QStringLiteral("Pictern cannot open passwd."));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return notices.popover() && notices.popover()->isVisible(); }))
        << "the popover opens by itself";
    EXPECT_EQ(notices.noticesCount(), before + 1);
    PTNotice* shown = notices.notices().last();
    EXPECT_EQ(shown->message(), QStringLiteral("Pictern cannot open passwd."));

    QLabel* title = nullptr;
    QLabel* message = nullptr;
    for (QLabel* label : notices.popover()->findChildren<QLabel*>()) {
        if (label->text() == shown->title())
            title = label;
        if (label->text() == shown->message())
            message = label;
    }
    ASSERT_NE(title, nullptr);
    ASSERT_NE(message, nullptr);
    const int theme = PTThemeController::defaultController().appearance();
    for (int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        PTThemeController::defaultController().setDefaultAppearance(appearance, PTAppearancePreferenceManual);
        QApplication::processEvents();
        const bool dark = appearance == PTAppearanceDark;
        const QString file = apptest::writeScreenshot(notices.popover(), dark ? QStringLiteral("app-notice-undelivered-dark")
                                                                              : QStringLiteral("app-notice-undelivered-light"));
        ASSERT_FALSE(file.isEmpty());
        const QImage image(file);
        // The title's and the message's text stand out from the popover around them: darker in the light theme,
        // lighter in the dark.
        for (const QLabel* label : {title, message}) {
            const QRect area(label->mapTo(notices.popover(), QPoint()), label->size());
            const QColor ground = image.pixelColor(area.topLeft() - QPoint(4, 0));
            int ink = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x) {
                    const int difference = image.pixelColor(x, y).lightness() - ground.lightness();
                    ink += (dark ? difference : -difference) > 80 ? 1 : 0;
                }
            EXPECT_GT(ink, 40) << (dark ? "dark " : "light ") << label->text().toStdString();
        }
    }
    PTThemeController::defaultController().setDefaultAppearance(theme, PTAppearancePreferenceManual);

    QTest::mouseClick(message, Qt::LeftButton);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return notices.noticesCount() == before; }));
    EXPECT_FALSE(notices.notices().contains(shown));
}

TEST_F(MainWindowTest, TheBottomBarDimsUnlessItsWindowOrItsSheetIsActive)
{
    PTWindow* window = controller->window();
    PTWindowBottomBar* bar = controller->gridColumn()->bottomBar();
    window->activateWindow();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return window->isActiveWindow(); }));
    EXPECT_DOUBLE_EQ(bar->lineAlpha(), 0.7);

    QWidget sheet;
    sheet.setAccessibleName(QStringLiteral("Sheet"));
    sheet.resize(200, 100);
    pt::SheetHost::begin(window, &sheet);
    sheet.activateWindow();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return sheet.isActiveWindow(); }));
    EXPECT_DOUBLE_EQ(bar->lineAlpha(), 0.7) << "its own sheet keeps it active";
    EXPECT_TRUE(window->titleBar()->drawsActive());

    QWidget other;
    other.setAccessibleName(QStringLiteral("Other window"));
    other.show();
    other.activateWindow();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return other.isActiveWindow(); }));
    EXPECT_DOUBLE_EQ(bar->lineAlpha(), 0.35);
    EXPECT_FALSE(window->titleBar()->drawsActive());
    pt::SheetHost::end(&sheet, 0);
}

// Coming back to the application brings the main window forward only when it is hidden or minimised; a visible
// one leaves another window of the application (preferences) in front and active.
TEST_F(MainWindowTest, ActivationBringsTheMainWindowBackOnlyWhenItIsNotShown)
{
    PTWindow* window = controller->window();
    QWidget preferences;
    preferences.setAccessibleName(QStringLiteral("Preferences"));
    preferences.resize(300, 200);
    struct Case {
        const char* name;
        std::function<void()> leave;
        QWidget* active;
    } cases[] = {
        {"visible", [] {}, &preferences},
        {"hidden", [&] { window->hide(); }, window},
        {"minimised", [&] { window->showMinimized(); }, window},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->showNormal();
        preferences.show();
        preferences.activateWindow();
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return preferences.isActiveWindow(); }));
        c.leave();
        controller->makeActiveApplication();
        // Window activations arrive through the window system's queue.
        QApplication::processEvents();
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return c.active->isActiveWindow(); }));
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isMinimized());
    }
}

// Another launch while a shown main window sits behind other programs: the window last active in the application
// comes forward, not the main window over it.
TEST_F(MainWindowTest, AnotherLaunchBringsForwardTheWindowLastActive)
{
    PTWindow* window = controller->window();
    QWidget preferences;
    preferences.resize(300, 200);
    window->showNormal();
    preferences.show();
    preferences.activateWindow();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return preferences.isActiveWindow(); }));
    QWindow otherProgram; // not one of the application's widgets
    otherProgram.resize(300, 200);
    otherProgram.show();
    otherProgram.requestActivate();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return QGuiApplication::focusWindow() == &otherProgram; }));
    controller->bringForward();
    QApplication::processEvents();
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return preferences.isActiveWindow(); }));
    EXPECT_FALSE(window->isActiveWindow());
}

} // namespace

namespace {

TEST(AppearanceSVGImageViewTest, RecoloursWithTheTheme)
{
    PTThemeController& theme = PTThemeController::defaultController();
    theme.setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceManual);
    PTAppearanceSVGImageView plain, withDark;
    for (PTAppearanceSVGImageView* view : {&plain, &withDark}) {
        view->setSVG(PTSVG::svgWithString(QStringLiteral(
                                              "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 4 4'><rect width='4' height='4'/></svg>"))
                         .valueOr(nullptr));
        view->setColorAppearanceAqua(QColor(0x11, 0x22, 0x33));
    }
    withDark.setColorAppearanceDarkAqua(QColor(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(plain.svg()->fillColor(), QColor(0x11, 0x22, 0x33));

    theme.setDefaultAppearance(PTAppearanceDark, PTAppearancePreferenceManual);
    EXPECT_EQ(plain.svg()->fillColor(), QColor(0xDD, 0xDD, 0xDD)) << "no dark colour: the dark text white";
    EXPECT_EQ(withDark.svg()->fillColor(), QColor(0xAA, 0xBB, 0xCC));
    theme.setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
    EXPECT_EQ(withDark.svg()->fillColor(), QColor(0x11, 0x22, 0x33));
}

} // namespace
