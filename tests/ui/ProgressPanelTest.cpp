#include "ui/PTMainWindow.h"
#include "ui/sheets/PTProgressPanelWindow.h"

#include "TestSupport.h"
#include "ThemeScope.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <thread>

namespace {

class ProgressPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow.setGeometry(40, 30, 640, 420);
        button = new QPushButton(QStringLiteral("Delete"), &mainWindow);
        button->setGeometry(20, 20, 100, 30);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        mainWindow.show();
        PTSetMainWindow(&mainWindow);
    }
    void TearDown() override { PTSetMainWindow(nullptr); }

    void clickButton()
    {
        QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {}, button->geometry().center());
    }

    QWidget mainWindow;
    QPushButton* button = nullptr;
    int clicks = 0;
};

TEST_F(ProgressPanelTest, ModalToTheMainWindowAndFedFromAWorker)
{
    PTProgressPanelWindow panel;
    QWidget* window = panel.progressPanel();
    EXPECT_FALSE(window->isVisible()) << "made hidden";
    clickButton();
    ASSERT_EQ(clicks, 1);

    panel.show();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), &mainWindow);
    EXPECT_EQ(window->windowModality(), Qt::WindowModal);
    EXPECT_EQ(QApplication::activeModalWidget(), window);
    EXPECT_LE((window->geometry().center() - mainWindow.geometry().center()).manhattanLength(), 2);
    clickButton();
    EXPECT_EQ(clicks, 1) << "the window takes no input under the panel";
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible()) << "only the work ends the panel";

    std::thread worker([&panel] {
        panel.setTitle(QStringLiteral("Re-indexing Library"));
        panel.setDescription(QStringLiteral("Item 12 of 40"));
    });
    worker.join();
    ASSERT_TRUE(pt::test::runMainQueueUntil(
        [&] { return panel.progressDescriptionField()->text() == QStringLiteral("Item 12 of 40"); }));
    EXPECT_EQ(panel.progressTitleField()->text(), QStringLiteral("Re-indexing Library"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Re-indexing Library"));
    EXPECT_TRUE(panel.progressDescriptionField()->isVisible());
    const int withDescription = window->height();
    panel.setDescription(QString());
    EXPECT_EQ(window->height(), withDescription - panel.progressDescriptionField()->height() - 6)
        << "an empty description takes no room";

    std::thread([&panel] { panel.hide(); }).join();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return window->isHidden(); }));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    clickButton();
    EXPECT_EQ(clicks, 2) << "the window answers again";
}

TEST_F(ProgressPanelTest, WithoutAMainWindowItBlocksTheApplication)
{
    PTSetMainWindow(nullptr);
    PTProgressPanelWindow panel;
    panel.show();
    EXPECT_EQ(panel.progressPanel()->parentWidget(), nullptr);
    EXPECT_EQ(panel.progressPanel()->windowModality(), Qt::ApplicationModal);
    panel.hide();
    EXPECT_TRUE(panel.progressPanel()->isHidden());
}

// Rows of the image that hold anything but the background, as [top, bottom]
// bands.
std::vector<std::pair<int, int>> inkBands(const QImage& image, const QColor& background)
{
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x) {
            const QColor c = image.pixelColor(x, y);
            ink = std::max({std::abs(c.red() - background.red()), std::abs(c.green() - background.green()),
                            std::abs(c.blue() - background.blue())}) > 24;
        }
        if (!ink)
            continue;
        if (!bands.empty() && bands.back().second == y - 1)
            bands.back().second = y;
        else
            bands.emplace_back(y, y);
    }
    return bands;
}

// The panel's layout in both themes: the theme's window colour all round, then
// the title, the description and the bar as three bands of ink one under the
// other, inside the margins.
TEST_F(ProgressPanelTest, ScreenshotsInBothThemes)
{
    ThemeScope theme(PTAppearanceAqua);
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark ? "dark" : "light");
        ThemeScope::set(dark ? PTAppearanceDark : PTAppearanceAqua);
        PTProgressPanelWindow panel;
        panel.setTitle(QStringLiteral("Re-indexing Library"));
        panel.setDescription(QStringLiteral("Checking the files of 40 items"));
        panel.show();
        pt::test::runMainQueueFor(50);
        QWidget* window = panel.progressPanel();
        const QImage image = window->grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(
            image, dark ? QStringLiteral("progress-panel-dark") : QStringLiteral("progress-panel-light")));

        for (const QWidget* part : {window, panel.progressView(), static_cast<QWidget*>(panel.progressIndicator()),
                                    static_cast<QWidget*>(panel.progressTitleField()),
                                    static_cast<QWidget*>(panel.progressDescriptionField())})
            EXPECT_FALSE(part->accessibleName().isEmpty()) << part->metaObject()->className();
        EXPECT_EQ(image.width(), PTProgressPanelWindow::PanelWidth);
        const QColor background = dark ? QColor(0x32, 0x32, 0x32) : QColor(0xEC, 0xEC, 0xEC);
        for (const QPoint corner : {QPoint(2, 2), QPoint(image.width() - 3, image.height() - 3)})
            EXPECT_EQ(image.pixelColor(corner), background) << corner.x() << "," << corner.y();
        for (int y = 0; y < image.height(); ++y) {
            for (const int x : {0, 15, image.width() - 16, image.width() - 1})
                ASSERT_EQ(image.pixelColor(x, y), background) << "margin at " << x << "," << y;
        }

        const auto bands = inkBands(image, background);
        ASSERT_EQ(bands.size(), 3u) << "title, description and bar, apart";
        const auto inside = [&](const std::pair<int, int>& band, const QWidget* part) {
            const QRect area(part->mapTo(window, QPoint(0, 0)), part->size());
            return band.first >= area.top() && band.second <= area.bottom();
        };
        EXPECT_TRUE(inside(bands[0], panel.progressTitleField()));
        EXPECT_TRUE(inside(bands[1], panel.progressDescriptionField()));
        EXPECT_TRUE(inside(bands[2], panel.progressIndicator()));
        EXPECT_GE(bands[0].second - bands[0].first + 1, 11) << "the whole title shows";
        // The bar's 12 pixels, less a frame edge that may be close to the background.
        EXPECT_GE(bands[2].second - bands[2].first + 1, 10) << "the whole bar shows";
        EXPECT_GE(bands[0].first, 14) << "a top margin";
        EXPECT_GE(image.height() - 1 - bands[2].second, 16) << "a bottom margin";

        // The title's ink is the theme's text colour: dark on light, light on dark.
        int extreme = dark ? 0 : 255;
        for (int y = bands[0].first; y <= bands[0].second; ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int value = qGray(image.pixel(x, y));
                extreme = dark ? std::max(extreme, value) : std::min(extreme, value);
            }
        if (dark)
            EXPECT_GT(extreme, 0xB0);
        else
            EXPECT_LT(extreme, 0x50);
        panel.hide();
    }
}

} // namespace
