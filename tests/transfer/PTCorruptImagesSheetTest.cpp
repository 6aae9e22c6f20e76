#include "ImportTestSupport.h"

#include "TestSupport.h"
#include "platform/ui/ModalRunner.h"
#include "transfer/import/PTCorruptImagesSheetController.h"
#include "transfer/import/PTPasteBoard.h"

#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace pt::test;

class CorruptImagesSheet : public ImportTest {
protected:
    void TearDown() override
    {
        pt::ModalRunner::setHook(nullptr);
        pt::ModalRunner::setDeadline(0);
        ImportTest::TearDown();
    }
};

TEST_F(CorruptImagesSheet, ListsRevealsOnceAndCloses)
{
    const QVector<PTImporter2::Rejected> files{
        {"/tmp/a.png", "not an image"}, {"/tmp/b.png", "too large (100000 x 100000 pixels)"}, {"/tmp/c.gif", "dangling link"}};
    PTCorruptImagesSheetController sheet(files);
    EXPECT_EQ(sheet.window()->accessibleName(), "File Issues");
    ASSERT_EQ(sheet.list()->count(), 3);
    EXPECT_EQ(sheet.list()->item(1)->text(), QString::fromUtf8("b.png — too large (100000 x 100000 pixels)"));

    pt::ModalRunner::setDeadline(5000);
    QImage screenshot;
    pt::ModalRunner::setHook([&](QWidget* window) {
        screenshot = writeScreenshot(window, "file-issues-sheet");
        sheet.revealButton()->click();
    });
    sheet.presentSheetFromWindow(nullptr);
    EXPECT_EQ(shell->revealed, (QStringList{"/tmp/a.png", "/tmp/b.png", "/tmp/c.gif"}));
    EXPECT_FALSE(sheet.window()->isVisible());

    // The title band on top, the list's field in the middle, the sheet's body at the left edge, the accent of
    // the default button at the bottom right.
    ASSERT_FALSE(screenshot.isNull());
    const int x = screenshot.width() / 2;
    const QColor band = screenshot.pixelColor(x, 4);
    const QColor list = screenshot.pixelColor(x, screenshot.height() / 2);
    const QColor body = screenshot.pixelColor(4, screenshot.height() / 2);
    const QColor button = screenshot.pixelColor(screenshot.width() - 40, screenshot.height() - 28);
    EXPECT_NE(band, body);
    EXPECT_NE(list, body);
    EXPECT_GT(button.blue(), button.red() + 60) << button.name().toStdString();
    EXPECT_GT(screenshot.height(), 250);
}

// While the issues are listed, the import's follow-up (the title "Import Complete", the end) waits.
TEST_F(CorruptImagesSheet, TheFollowUpWaits)
{
    PTCollection* set = makeSet("Issues");
    saveAndWait();
    const QString bad = source("text.png", "this is no image");
    pt::ModalRunner::setDeadline(10000);
    QStringList titlesWhileOpen;
    int presented = 0;
    pt::ModalRunner::setHook([&](QWidget* window) {
        ++presented;
        titlesWhileOpen = shell->sheets.isEmpty() ? QStringList() : shell->sheets.first()->titles;
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            if (button->accessibleName() == "Close")
                button->click();
        }
    });
    bool done = false;
    PTPasteBoard::importIcons({QUrl::fromLocalFile(bad)}, 0x143DC, set, nullptr, [&] { done = true; });
    ASSERT_TRUE(runMainQueueUntil([&] { return done; }, 15000));
    EXPECT_EQ(presented, 1);
    EXPECT_FALSE(titlesWhileOpen.contains(PTPasteBoard::ImportCompleteTitle));
    ASSERT_FALSE(shell->sheets.isEmpty());
    EXPECT_TRUE(shell->sheets.first()->titles.contains(PTPasteBoard::ImportCompleteTitle));
    EXPECT_TRUE(shell->sheets.first()->sessionEnded);
}
