#include "app/PTSplashOnboardingController.h"
#include "app/preferences/PTPreferencesController.h"
#include "app/preferences/PTPreferencesLibraryViewController.h"
#include "app/preferences/PTPreferencesPane.h"
#include "app/preferences/PTPreferencesUpdateViewController.h"
#include "app/PTUpdateController.h"
#include "app/updates/Updater.h"
#include "app/welcome/PTSplashWhatsNewController.h"

#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include "preferences/PreferencesTestDefaults.h"

#include <QAbstractButton>
#include <QDir>

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

bool near(const QColor& a, const QColor& b, int tolerance = 3)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QColor blend(const QColor& under, const QColor& over, double alpha)
{
    return QColor::fromRgbF(float(under.redF() * (1 - alpha) + over.redF() * alpha),
                            float(under.greenF() * (1 - alpha) + over.greenF() * alpha),
                            float(under.blueF() * (1 - alpha) + over.blueF() * alpha));
}

// The window as drawn, written whole (other test processes may read the folder at the same time).
QImage screenshot(QWidget* window, const QString& name)
{
    const QImage image = window->grab().toImage();
    EXPECT_TRUE(pt::test::writeScreenshot(image, name)) << name.toStdString();
    return image;
}

class PreferencesScreenshotTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        usePreferencesTestDefaults(dir);
        PTThemeController::defaultController().setDefaultAppearance(GetParam(), PTAppearancePreferenceManual);
        suffix = GetParam() == PTAppearanceDark ? QStringLiteral("dark") : QStringLiteral("light");
    }
    void TearDown() override
    {
        delete PTPreferencesController::sharedController().preferencesWindow();
        PTThemeController::defaultController().setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
    }
    QTemporaryDir dir;
    QString suffix;
};

} // namespace

// Every pane under the toolbar: the second row carries the stripe, a separator line lies between the rows.
TEST_P(PreferencesScreenshotTest, EveryPaneWithItsStripedRows)
{
    PTPreferencesController& prefs = PTPreferencesController::sharedController();
    const double stripe = GetParam() == PTAppearanceDark ? 0.02 : 0.3;
    for (const QString& identifier : PTPreferencesController::paneIdentifiers()) {
        SCOPED_TRACE(identifier.toStdString());
        prefs.presentPreferences(identifier);
        QWidget* window = prefs.preferencesWindow();
        PTPreferencesPane* pane = prefs.pane(identifier);
        ASSERT_TRUE(pane);
        const QImage image = screenshot(window, QStringLiteral("preferences-%1-%2").arg(identifier, suffix));
        EXPECT_EQ(image.width(), pane->width() * int(image.devicePixelRatio()));
        const QPoint paneTop = pane->mapTo(window, QPoint(0, 0));
        EXPECT_GT(paneTop.y(), 10) << "the toolbar sits above the pane";
        const QColor background = window->palette().color(QPalette::Window);
        EXPECT_TRUE(near(image.pixelColor(2, paneTop.y() + 3), background))
            << image.pixelColor(2, paneTop.y() + 3).name().toStdString();
        if (pane->views().size() < 2)
            continue;
        const QRect second = pane->views().at(1)->geometry().translated(paneTop);
        EXPECT_TRUE(near(image.pixelColor(2, second.top() + 3), blend(background, Qt::white, stripe)))
            << image.pixelColor(2, second.top() + 3).name().toStdString();
        EXPECT_FALSE(near(image.pixelColor(2, second.top() - 1), background, 0)) << "the separator above the row";
    }
}

// The welcome windows: the panel on the left, the content on the right, in the theme's colours.
TEST_P(PreferencesScreenshotTest, WelcomeWindowsInTwoTones)
{
    const bool dark = GetParam() == PTAppearanceDark;
    PTSplashOnboardingController onboarding;
    PTSplashWhatsNewController whatsNew;
    for (const auto& [controller, name] : {std::pair<PTSplashWindowController*, QString>{&onboarding, "onboarding"},
                                           {&whatsNew, "whats-new"}}) {
        SCOPED_TRACE(name.toStdString());
        controller->showWindow(false);
        const QImage image = screenshot(controller->window(), name + QLatin1Char('-') + suffix);
        const int middle = image.height() / 2;
        const QColor panel = image.pixelColor(10, image.height() - 10);
        const QColor content = image.pixelColor(image.width() - 10, middle);
        EXPECT_TRUE(near(panel, dark ? QColor(0x1E1E1E) : QColor(Qt::white), dark ? 3 : 4)) << panel.name().toStdString();
        EXPECT_TRUE(near(content, dark ? QColor(0x323232) : QColor(Qt::white))) << content.name().toStdString();
        if (!dark) {
            const QColor top = image.pixelColor(10, 2);
            EXPECT_TRUE(near(top, QColor(0xF2F9FE))) << "the panel's pale blue top " << top.name().toStdString();
            EXPECT_LT(image.pixelColor(PTSplashWindowController::PanelWidth - 2, middle).red(), 255)
                << "a faint shadow along the panel's inner edge";
        }
        controller->window()->hide();
    }
}

// A build without an update feed never checks: the automatic-check switch is drawn off (no blue of an "on" switch
// anywhere in it) and does not take clicks.
TEST_P(PreferencesScreenshotTest, UpdateChecksThatAreNotSetUpShowOff)
{
    if (PTUpdateController::sharedController().updater().isConfigured())
        GTEST_SKIP() << "this build has an update feed";
    PTPreferencesController& prefs = PTPreferencesController::sharedController();
    prefs.presentPreferences(PTPreferencesUpdateViewController::Identifier);
    QWidget* window = prefs.preferencesWindow();
    auto* pane = qobject_cast<PTPreferencesUpdateViewController*>(prefs.pane(PTPreferencesUpdateViewController::Identifier));
    ASSERT_TRUE(pane);
    PTSwitchControl* automatic = pane->automaticallyCheckForUpdatesControl();
    EXPECT_FALSE(automatic->isChecked());
    EXPECT_FALSE(automatic->isEnabled());
    const QImage image = screenshot(window, QStringLiteral("preferences-updates-unconfigured-%1").arg(suffix));
    const qreal ratio = image.devicePixelRatio();
    const QRect area(automatic->mapTo(window, QPoint(0, 0)) * ratio, automatic->size() * ratio);
    ASSERT_TRUE(image.rect().contains(area));
    int blue = 0;
    int drawn = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            blue += c.blue() > c.red() + 60;
            drawn += !near(c, image.pixelColor(area.left(), area.top()), 8);
        }
    }
    EXPECT_EQ(blue, 0) << "the switch is drawn on";
    EXPECT_GT(drawn, 20) << "the switch is drawn at all";
}

// The Library pane of a build with a help page: the help button sits at the far end of the library's buttons and
// the rows keep the heights they have without it.
TEST_P(PreferencesScreenshotTest, LibraryPaneWithAndWithoutItsHelpButton)
{
    PTPreferencesLibraryViewController bare{QString()};
    PTPreferencesLibraryViewController withHelp{QStringLiteral("https://help.example.org/pictern/synced-libraries")};
    for (QWidget* pane : {static_cast<QWidget*>(&bare), static_cast<QWidget*>(&withHelp)})
        pane->show();
    const QImage plain = screenshot(&bare, QStringLiteral("preferences-library-no-help-%1").arg(suffix));
    const QImage image = screenshot(&withHelp, QStringLiteral("preferences-library-help-%1").arg(suffix));
    ASSERT_EQ(bare.views().size(), withHelp.views().size());
    for (int row = 0; row < bare.views().size(); ++row)
        EXPECT_EQ(bare.views().at(row)->geometry(), withHelp.views().at(row)->geometry()) << "row " << row;
    EXPECT_EQ(plain.size(), image.size());

    PTSegmentedControl* help = withHelp.helpControl();
    ASSERT_TRUE(help);
    const qreal ratio = image.devicePixelRatio();
    const QRect area(help->mapTo(&withHelp, QPoint(0, 0)) * ratio, help->size() * ratio);
    ASSERT_TRUE(image.rect().contains(area));
    EXPECT_NEAR(area.right() / ratio, PTPreferencesPane::Width - 20, 2) << "at the row's right margin";
    const QWidget* switchButton = bare.findChildren<PTSegmentedControl*>().first();
    EXPECT_NEAR(help->mapTo(&withHelp, QPoint(0, help->height() / 2)).y(),
                switchButton->mapTo(&bare, QPoint(0, switchButton->height() / 2)).y(), 1)
        << "on the line of the library's buttons";
    int drawn = 0;
    int drawnWithout = 0;
    const QColor background = image.pixelColor(area.left() - 4, area.center().y());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            drawn += !near(image.pixelColor(x, y), background, 8);
            drawnWithout += !near(plain.pixelColor(x, y), background, 8);
        }
    }
    EXPECT_GT(drawn, 60) << "the button and its question mark";
    EXPECT_EQ(drawnWithout, 0) << "nothing there without a help page";
}

INSTANTIATE_TEST_SUITE_P(Themes, PreferencesScreenshotTest, ::testing::Values(int(PTAppearanceAqua), int(PTAppearanceDark)));

// With the automatic appearance on, neither appearance picture looks chosen: both sit dimmed on the same plain
// shadow, whichever theme the system gives.
TEST(PreferencesAutomaticAppearanceTest, NeitherPictureLooksChosen)
{
    QTemporaryDir dir;
    usePreferencesTestDefaults(dir);
    PTThemeController::defaultController().setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
    PTPreferencesController& prefs = PTPreferencesController::sharedController();
    prefs.presentPreferences(QStringLiteral("general"));
    QWidget* window = prefs.preferencesWindow();
    const QImage image = screenshot(window, QStringLiteral("preferences-general-automatic"));
    QAbstractButton* light = nullptr;
    QAbstractButton* dark = nullptr;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->accessibleName() == QStringLiteral("Light Appearance"))
            light = button;
        if (button->accessibleName() == QStringLiteral("Dark Appearance"))
            dark = button;
    }
    ASSERT_TRUE(light && dark);
    EXPECT_FALSE(light->isChecked());
    EXPECT_FALSE(dark->isChecked());
    const QColor background = image.pixelColor(light->mapTo(window, QPoint(-3, light->height() / 2)));
    // Picture rectangles as the buttons draw them, 4 points inside each button.
    const QRect lightPicture = QRect(light->mapTo(window, QPoint(4, 4)), light->size() - QSize(8, 8));
    const QRect darkPicture = QRect(dark->mapTo(window, QPoint(4, 4)), dark->size() - QSize(8, 8));
    const QColor lightEdge = image.pixelColor(lightPicture.left(), lightPicture.center().y());
    EXPECT_GT(std::abs(lightEdge.lightness() - background.lightness()), 25)
        << "the light picture shows its frame " << lightEdge.name().toStdString();
    const QColor darkBody = image.pixelColor(darkPicture.left() + 6, darkPicture.bottom() - 6);
    EXPECT_LT(std::abs(darkBody.lightness() - background.lightness()), 100)
        << "the dark picture is no solid block that reads as chosen " << darkBody.name().toStdString();
    delete window;
}
