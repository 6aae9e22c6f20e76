#include "ui/controls/PTAutoHeightTextField.h"
#include "ui/controls/PTSheetButton.h"
#include "ui/PTMainWindow.h"
#include "ui/sheets/PTMainQueueCoalescer.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/sheets/PTProgressSheetWindow.h"
#include "ui/views/PTStackView.h"

#include "TestSupport.h"
#include "ThemeScope.h"

#include "platform/ui/ModalRunner.h"
#include "platform/ui/SheetHost.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QPainter>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <thread>

namespace {

class ProgressSheetTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        pt::ModalRunner::setHook({});
        PTSetMainWindow(nullptr);
    }
};

TEST_F(ProgressSheetTest, ProgressValuesDriveTheBar)
{
    struct Step {
        qint64 value;
        qint64 total;
        int minimum;
        int maximum;
        int shown;
    };
    // Runs in order: each step starts from the bar the previous one left.
    const Step steps[] = {
        {0, 0, 0, 0, -1},       // indeterminate
        {5, 5, 0, 5, 5},        // full
        {3, 10, 0, 10, 3},      //
        {0, 0, 0, 0, -1},       // back to indeterminate after a determinate value
        {-3, 10, 0, 10, 0},     // below the range
        {12, 10, 0, 10, 10},    // above it
        {0, 7, 0, 7, 0},        //
        {6'000'000'000LL, 12'000'000'000LL, 0, 2'000'000'000, 1'000'000'000}, // beyond int, scaled
    };
    PTProgressSheetWindow sheet(QStringLiteral("Working"));
    QProgressBar* bar = sheet.progressIndicator();
    for (const Step& step : steps) {
        sheet.setProgress(step.value, step.total);
        EXPECT_EQ(bar->minimum(), step.minimum) << step.value << " of " << step.total;
        EXPECT_EQ(bar->maximum(), step.maximum) << step.value << " of " << step.total;
        if (step.shown >= 0) {
            EXPECT_EQ(bar->value(), step.shown) << step.value << " of " << step.total;
        }
    }
}

TEST_F(ProgressSheetTest, AnEmptyMessageClosesItsGap)
{
    PTProgressSheetWindow sheet(QStringLiteral("Working"));
    PTStackView* content = sheet.contentStackView();
    const int withMessage = content->height();
    const int messageHeight = sheet.messageTextField()->height();
    ASSERT_GT(messageHeight, 0);

    sheet.setMessage(QString());
    EXPECT_TRUE(sheet.messageTextField()->isHidden());
    EXPECT_EQ(content->height(), withMessage - messageHeight - 10);
    EXPECT_EQ(sheet.window()->height(), sheet.stackView()->height());

    sheet.setMessage(PTProgressSheetWindow::DefaultMessage);
    EXPECT_EQ(content->height(), withMessage);
}

TEST_F(ProgressSheetTest, ASessionGoesOnTheSheetAlreadyOnTheMainWindow)
{
    QWidget mainWindow;
    mainWindow.show();
    PTSetMainWindow(&mainWindow);
    auto* other = new QWidget;
    pt::SheetHost::begin(&mainWindow, other);

    PTProgressSheetWindow sheet(QStringLiteral("Deleting"));
    sheet.beginSession();
    EXPECT_EQ(pt::SheetHost::parentOfSheet(sheet.window()), other);
    EXPECT_TRUE(sheet.window()->isVisible());
    sheet.endSession();
    EXPECT_FALSE(sheet.window()->isVisible());
    EXPECT_EQ(pt::SheetHost::attachedSheet(other), nullptr);
    pt::SheetHost::end(other, 0);
}

// What the user sees of a window and the chain of sheets on it: each shown one drawn over the one before, where it
// stands on the screen.
QImage desktopOf(QWidget* window)
{
    QImage image(window->geometry().bottomRight().x() + 1, window->geometry().bottomRight().y() + 200,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    for (QWidget* shown = window; shown; shown = pt::SheetHost::attachedSheet(shown)) {
        if (shown->isVisible())
            painter.drawPixmap(shown->geometry().topLeft(), shown->grab());
    }
    return image;
}

// A progress sheet on a taller sheet takes its place: nothing of the sheet beneath shows around it, and the sheet
// beneath comes back as it was when the progress ends.
TEST_F(ProgressSheetTest, ASheetOnASheetCoversItCompletely)
{
    QWidget mainWindow;
    mainWindow.setGeometry(0, 0, 700, 560);
    mainWindow.show();
    PTSetMainWindow(&mainWindow);
    // A tall sheet in a colour nothing else uses, with a switch-like check box whose state must survive.
    auto* beneath = new QWidget;
    beneath->setMinimumSize(480, 420);
    beneath->setAutoFillBackground(true);
    QPalette magenta = beneath->palette();
    magenta.setColor(QPalette::Window, QColor(255, 0, 255));
    beneath->setPalette(magenta);
    auto* state = new QCheckBox(QStringLiteral("Create Groups and Sets from Folders"), beneath);
    state->setChecked(true);
    pt::SheetHost::begin(&mainWindow, beneath);
    const QRect beneathArea = beneath->geometry();
    ASSERT_EQ(desktopOf(&mainWindow).pixelColor(beneathArea.center()), QColor(255, 0, 255));

    ThemeScope theme(PTAppearanceAqua);
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark ? "dark" : "light");
        ThemeScope::set(dark ? PTAppearanceDark : PTAppearanceAqua);
        PTProgressSheetWindow sheet(QStringLiteral("Importing"));
        sheet.beginSession();
        ASSERT_EQ(pt::SheetHost::parentOfSheet(sheet.window()), beneath);
        pt::test::runMainQueueFor(50);
        const QImage image = desktopOf(&mainWindow);
        ASSERT_TRUE(pt::test::writeScreenshot(
            image, dark ? QStringLiteral("sheet-on-sheet-dark") : QStringLiteral("sheet-on-sheet-light")));
        int peeking = 0;
        for (int y = beneathArea.top(); y <= beneathArea.bottom(); ++y)
            for (int x = beneathArea.left(); x <= beneathArea.right(); ++x)
                peeking += image.pixelColor(x, y) == QColor(255, 0, 255);
        EXPECT_EQ(peeking, 0) << "pixels of the sheet beneath show around the progress sheet";
        EXPECT_TRUE(sheet.window()->isVisible());

        sheet.endSession();
        EXPECT_TRUE(beneath->isVisible());
        EXPECT_TRUE(state->isChecked());
        EXPECT_EQ(desktopOf(&mainWindow).pixelColor(beneathArea.center()), QColor(255, 0, 255));
    }
    pt::SheetHost::end(beneath, 0);
    delete beneath;
}

TEST_F(ProgressSheetTest, WithoutAMainWindowASessionShowsTheSheetOnItsOwn)
{
    PTProgressSheetWindow sheet(QStringLiteral("Reading"));
    sheet.beginSession();
    EXPECT_TRUE(sheet.window()->isVisible());
    EXPECT_EQ(pt::SheetHost::parentOfSheet(sheet.window()), nullptr);
    sheet.endSession();
    EXPECT_FALSE(sheet.window()->isVisible());
}

TEST_F(ProgressSheetTest, ModalRunsEndWithTheWorksCode)
{
    PTProgressSheetWindow sheet(QStringLiteral("Switching"));
    EXPECT_EQ(sheet.runModal([](const PTProgressSheet::Completion& done) { done(0, true); }), 0);
    EXPECT_FALSE(sheet.window()->isVisible());

    std::thread::id workThread;
    const int code = sheet.runModal([&](const PTProgressSheet::Completion& done) {
        workThread = std::this_thread::get_id();
        done(7, false);
    });
    EXPECT_EQ(code, 7);
    EXPECT_NE(workThread, std::this_thread::get_id());
    EXPECT_TRUE(sheet.window()->isVisible());
    sheet.hide();
}

TEST_F(ProgressSheetTest, OkIsOffUntilTheUserMustAcknowledge)
{
    PTProgressSheetWindow sheet(QStringLiteral("Backing up"));
    sheet.setAllowsButtonControls(true);
    sheet.setButtonControlLabel(QStringLiteral("Done"));
    EXPECT_FALSE(sheet.okControl()->isEnabled());
    sheet.setUserInteractiveMode(0);
    EXPECT_TRUE(sheet.okControl()->isEnabled());
    EXPECT_EQ(sheet.okControl()->label(0), QStringLiteral("Done"));
    EXPECT_EQ(sheet.okControl()->accessibleName(), QStringLiteral("Done"));

    pt::ModalRunner::setHook([&](QWidget*) { sheet.okControl()->performClick(); });
    // The work never finishes by itself: only OK ends the run.
    EXPECT_EQ(sheet.runModal([](const PTProgressSheet::Completion&) {}), 1);
    EXPECT_FALSE(sheet.window()->isVisible());
}

TEST_F(ProgressSheetTest, CancelCallsTheHandlerAndLeavesTheSheet)
{
    PTProgressSheetWindow sheet(QStringLiteral("Moving"));
    int cancels = 0;
    sheet.setCancelHandler([&] { ++cancels; });
    sheet.setAllowsCancellation(true);
    sheet.show();
    EXPECT_TRUE(sheet.cancelControl()->isVisible());
    sheet.cancelControl()->click();
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(sheet.window()->isVisible());
    sheet.hide();
}

TEST_F(ProgressSheetTest, AnAccessoryViewIsReplacedNotStacked)
{
    PTProgressSheetWindow sheet(QStringLiteral("Importing"));
    const int plain = sheet.window()->height();
    auto* first = new QWidget;
    first->resize(100, 40);
    sheet.setAccessoryView(first);
    EXPECT_EQ(sheet.window()->height(), plain + 40);
    auto* second = new QWidget;
    second->resize(100, 30);
    sheet.setAccessoryView(second);
    EXPECT_EQ(sheet.window()->height(), plain + 30);
    EXPECT_EQ(sheet.stackView()->views().back(), second);
    EXPECT_FALSE(sheet.stackView()->isArranged(first));
}

TEST_F(ProgressSheetTest, WorkersOnTheSettersCoalesceOnTheMainQueue)
{
    PTProgressSheetWindow sheet(QStringLiteral("Exporting"));
    constexpr int Calls = 20000;
    std::vector<std::thread> workers;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&sheet, w] {
            for (int i = 1; i <= Calls; ++i) {
                sheet.setProgress(i, Calls);
                if (i % 100 == 0)
                    sheet.setMessage(QStringLiteral("worker %1 at %2").arg(w).arg(i));
            }
        });
    // The main queue turns while the workers run.
    pt::test::runMainQueueFor(50);
    for (std::thread& worker : workers)
        worker.join();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return sheet.progressIndicator()->value() == Calls; }));
    EXPECT_TRUE(sheet.message().endsWith(QStringLiteral(" at 20000")));
    const double seconds = elapsed.elapsed() / 1000.0;
    EXPECT_LE(sheet.deliveredUpdates(), 2 + static_cast<int>(seconds * 30 * 1.5));
}

TEST(MainQueueCoalescerTest, TheLastUpdateWinsAndAClosedOwnerGetsNone)
{
    auto updates = PTMainQueueCoalescer::create();
    int value = 0;
    std::thread([&] {
        updates->post(1, [&value] { value = 5; });
    }).join();
    // A main-thread call is the newest: it runs now and the worker's pending value is dropped.
    updates->post(1, [&value] { value = 7; });
    EXPECT_EQ(value, 7);
    pt::test::runMainQueueFor(100);
    EXPECT_EQ(value, 7);

    std::thread([&] {
        updates->post(2, [&value] { value = 9; });
    }).join();
    updates->close();
    pt::test::runMainQueueFor(100);
    EXPECT_EQ(value, 7);
    updates->post(2, [&value] { value = 11; });
    EXPECT_EQ(value, 7);
}

} // namespace
