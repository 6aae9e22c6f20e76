#include "TestSupport.h"
#include "FakeBrowserSeams.h"
#include "LibraryTestSupport.h"

#include "browser/grid/PTGridViewGradOverlayView.h"
#include "browser/views/PTEmptyGridView.h"
#include "browser/views/PTFrameViewSlider.h"
#include "browser/views/PTFrameViewSliderSmallButton.h"
#include "browser/views/PTPagingIndicatorView.h"
#include "platform/ui/CommandHandler.h"
#include "ui/theme/PTStyles.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <algorithm>

namespace {

QColor pixel(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

TEST(PagingIndicatorTest, DotsCentredWithTheCurrentOneDark)
{
    const QColor dark(0x55, 0x60, 0x68);
    const QColor light(0x9F, 0xA9, 0xB2);
    const struct {
        qint64 count;
        qint64 index;
        // Colours at the centres of dots 0, 1 and 2 for a row centred in a 100 x 20 view.
        QVector<QColor> dots;
    } cases[] = {
        {1, 0, {dark}},
        {3, 1, {light, dark, light}},
        {3, 5, {light, light, light}},
        {3, -1, {light, light, light}},
    };
    for (const auto& row : cases) {
        PTPagingIndicatorView view;
        view.resize(100, 20);
        view.setCount(row.count);
        view.setCurrentIndex(row.index);
        QImage image(100, 20, QImage::Format_ARGB32);
        image.fill(Qt::white);
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        const int left = static_cast<int>(50 - (2 * row.count - 1) * 4);
        for (qsizetype i = 0; i < row.dots.size(); ++i)
            EXPECT_EQ(pixel(image, left + 16 * static_cast<int>(i) + 4, 10), row.dots[i]) << row.count << " " << i;
        // Gaps and the space beside the row stay clear.
        EXPECT_EQ(pixel(image, left + 12, 10), QColor(Qt::white));
        EXPECT_EQ(pixel(image, left - 2, 10), QColor(Qt::white));
    }
    PTPagingIndicatorView none;
    none.resize(100, 20);
    QImage image(100, 20, QImage::Format_ARGB32);
    image.fill(Qt::white);
    none.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(image.pixelColor(50, 10), QColor(Qt::white));
}

// The overlay whitens what lies beneath it more and more towards its bottom edge, where it is opaque white.
TEST(GridViewGradOverlayTest, FadesInWhiteDownwards)
{
    PTGridViewGradOverlayView overlay;
    overlay.resize(30, 101);
    QImage image(30, 101, QImage::Format_ARGB32);
    image.fill(QColor(0x20, 0x40, 0x80));
    overlay.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    ASSERT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("grid-grad-overlay")));
    // White at 0.1 over the blue at the top; white at 1.0 at the bottom.
    const QColor top = image.pixelColor(15, 0);
    EXPECT_NEAR(top.red(), 0x20 + (255 - 0x20) * 0.1, 3);
    EXPECT_NEAR(top.blue(), 0x80 + (255 - 0x80) * 0.1, 3);
    const QColor bottom = image.pixelColor(15, 100);
    EXPECT_GE(std::min({bottom.red(), bottom.green(), bottom.blue()}), 0xFD);
    // Halfway the white is at 0.55, and every row is lighter than the one above it; each row is even across.
    EXPECT_NEAR(image.pixelColor(15, 50).red(), 0x20 + (255 - 0x20) * 0.55, 3);
    for (int y = 1; y < 101; ++y) {
        EXPECT_GE(image.pixelColor(15, y).red(), image.pixelColor(15, y - 1).red()) << y;
        EXPECT_EQ(image.pixelColor(0, y), image.pixelColor(29, y)) << y;
    }
}

// A press and release on the knob that does not move it still reports the release.
TEST(FrameViewSliderTest, ReleaseWithoutMovingPostsMouseUp)
{
    PTFrameViewSlider slider;
    slider.setRange(16, 256);
    slider.setValue(60);
    slider.resize(160, 21);
    slider.show();
    int posted = 0;
    const pt::ObserverToken token = pt::NotificationCenter::defaultCenter().addObserver(
        PTFrameViewSlider::MouseUpNotification, &slider, [&](const pt::Notification&) { ++posted; });
    const QPoint knob = slider.knobRect().center().toPoint();
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, knob);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, knob);
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(slider.value(), 60);
    // The bar reaches one point higher than the track and is drawn dark; the knob's centre is light.
    const QImage image = slider.grab().toImage();
    ASSERT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("size-slider")));
    const QColor knobCentre = image.pixelColor(knob.x() + 3, knob.y());
    EXPECT_GT(knobCentre.lightness(), 200);
    const QColor bar = image.pixelColor(150 - 2, static_cast<int>(slider.barRect().center().y()));
    EXPECT_LT(bar.lightness(), 140);
}

TEST(FrameViewSliderTest, EndButtonsTakeTheArtOfTheirRatio)
{
    PTFrameViewSliderSmallButton small;
    PTFrameViewSliderLargeButton large;
    for (PTFrameViewSliderLargeButton* button : {static_cast<PTFrameViewSliderLargeButton*>(&small), &large}) {
        const QImage art = button->buttonImage();
        ASSERT_FALSE(art.isNull());
        EXPECT_FALSE(button->accessibleName().isEmpty());
    }
    EXPECT_EQ(small.buttonImage().width(), 12);
    EXPECT_EQ(large.buttonImage().width(), 16);
}

class RecordingHandler : public pt::CommandHandler {
public:
    QStringList performed;
    bool respondsTo(const QString&) const override { return true; }
    bool validate(const QString& command, pt::CommandState&) override
    {
        return command != PTEmptyGridView::BrowseFreebiesCommand;
    }
    void perform(const QString& command) override { performed << command; }
};

class EmptyGridViewTest : public pt::test::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        PTBrowserTransfer::install(transfer);
        PTBrowserSidebar::install(sidebar);
        PTImportValidation::install(std::make_shared<SvgOnlyValidation>());
    }
    void TearDown() override
    {
        PTBrowserTransfer::install(nullptr);
        PTBrowserSidebar::install(nullptr);
        PTImportValidation::install(nullptr);
        LibraryTest::TearDown();
    }
    // Enters and, when accepted, drops the files; answers whether the entry was accepted.
    bool drop(PTEmptyGridView& view, const QStringList& files)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &enter);
        if (!enter.isAccepted())
            return false;
        EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &dropped);
        return true;
    }
    std::shared_ptr<FakeBrowserTransfer> transfer = std::make_shared<FakeBrowserTransfer>();
    std::shared_ptr<FakeBrowserSidebar> sidebar = std::make_shared<FakeBrowserSidebar>();
    RecordingHandler handler;
};

// Files go to the add-icons sheet: into the selected set, or with no set while a group is selected.
TEST_F(EmptyGridViewTest, DropOpensTheAddIconsSheetForTheCurrentSet)
{
    PTEmptyGridView view(PTEmptyGridView::Kind::Collection, &handler);
    EXPECT_TRUE(view.allowsDragging());
    ASSERT_TRUE(drop(view, {"/tmp/a.svg", "/tmp/b.txt"}));
    EXPECT_EQ(transfer->sheets, 1);
    EXPECT_EQ(transfer->sheetURLs, QList<QUrl>{QUrl::fromLocalFile("/tmp/a.svg")});
    EXPECT_EQ(transfer->sheetTarget, nullptr);

    PTCollection* set = makeSet(QStringLiteral("S"));
    sidebar->current = set;
    ASSERT_TRUE(drop(view, {"/tmp/c.svg"}));
    EXPECT_EQ(transfer->sheetTarget, set);
}

TEST_F(EmptyGridViewTest, RejectedFilesAndOtherPlaceholdersRefuseDrops)
{
    PTEmptyGridView set(PTEmptyGridView::Kind::Collection, &handler);
    EXPECT_FALSE(drop(set, {"/tmp/notes.txt"}));
    PTEmptyGridView search(PTEmptyGridView::Kind::Search, &handler);
    EXPECT_FALSE(search.allowsDragging());
    EXPECT_FALSE(drop(search, {"/tmp/a.svg"}));
    EXPECT_EQ(transfer->sheets, 0);
}

// The three placeholders over the grid background; buttons send their commands and are enabled by the handler.
TEST_F(EmptyGridViewTest, PlaceholderScreenshots)
{
    const struct {
        PTEmptyGridView::Kind kind;
        const char* name;
        int buttons;
    } cases[] = {{PTEmptyGridView::Kind::Search, "empty-search", 0},
                 {PTEmptyGridView::Kind::Filter, "empty-filter", 1},
                 {PTEmptyGridView::Kind::Collection, "empty-set", 2}};
    for (const auto& row : cases) {
        PTEmptyGridView view(row.kind, &handler);
        view.resize(500, 300);
        view.show();
        const QList<QPushButton*> buttons = view.findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), row.buttons) << row.name;
        const QImage image = view.grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(image, QString::fromLatin1(row.name)));
        EXPECT_EQ(image.pixelColor(5, 5), PTStyles::gridBackgroundColor()) << row.name;
        // The title stands in the middle band: some pixel there differs from the background.
        bool text = false;
        for (int x = 150; x < 350 && !text; ++x) {
            for (int y = 100; y < 200 && !text; ++y)
                text = image.pixelColor(x, y) != PTStyles::gridBackgroundColor();
        }
        EXPECT_TRUE(text) << row.name;
        for (QPushButton* button : buttons) {
            EXPECT_FALSE(button->accessibleName().isEmpty());
            const QPoint centre = button->geometry().center();
            EXPECT_NE(image.pixelColor(centre.x() - button->width() / 3, centre.y()), PTStyles::gridBackgroundColor());
        }
    }
    PTEmptyGridView view(PTEmptyGridView::Kind::Collection, &handler);
    view.show();
    const QList<QPushButton*> buttons = view.findChildren<QPushButton*>();
    EXPECT_TRUE(buttons[0]->isEnabled());
    EXPECT_FALSE(buttons[1]->isEnabled()); // no address of free icons
    buttons[0]->click();
    EXPECT_EQ(handler.performed, QStringList{PTEmptyGridView::AddIconsCommand});
}

} // namespace
