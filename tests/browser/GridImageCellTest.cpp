#include "FakeGridClock.h"
#include "GridTestSource.h"
#include "LibraryTestSupport.h"
#include "TestSupport.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "browser/grid/PTGridViewImageCellBadge.h"
#include "foundation/ColorPrivate.h"
#include "platform/runtime/Defaults.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/theme/PTStyles.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>

#include <gtest/gtest.h>

namespace {

PTGridViewDrawingState stateWith(qint64 appearance, bool labels, bool fileType = false)
{
    PTGridViewDrawingState state;
    state.appearance = appearance;
    state.showLabels = labels;
    state.showFileType = fileType;
    return state;
}

// The bounding box of the pixels with any alpha.
QRect drawnBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Icon cells over items of a real library, asking a cache of their own.
class GridImageCellTest : public pt::test::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        set = makeSet(QStringLiteral("Icons"));
    }

    // A PNG item of one colour; its left half only when halfTransparent.
    PTItem* pngItem(const QString& name, QColor color, int side = 16, bool halfTransparent = false)
    {
        QImage picture(side, side, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < (halfTransparent ? side / 2 : side); ++x)
                picture.setPixelColor(x, y, color);
        const QString source = dir.filePath(name + QStringLiteral("-source.png"));
        picture.save(source);
        PTItem* item = makeItem(set, name, name + QStringLiteral(".png"), source);
        item->setType(PTItem::PNG);
        item->setWidth(side);
        item->setHeight(side);
        return item;
    }
    std::unique_ptr<PTGridViewImageCell> cellFor(PTItem* item, qreal side, const PTGridViewDrawingState& state,
                                                 qreal ratio = 1)
    {
        auto cell = std::make_unique<PTGridViewImageCell>(cache);
        cell->setFrame(QRectF(0, 0, side, side));
        cell->setDevicePixelRatio(ratio);
        cell->setDrawState(state);
        cell->setItem(item);
        return cell;
    }
    // Displays the cell and waits for its image.
    void load(PTGridViewImageCell& cell)
    {
        cell.willDisplayCell(false);
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !cell.image().isNull(); }));
    }
    QColor centreOf(const PTGridViewImageCell& cell)
    {
        const QImage image = cell.image().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }

    PTImageCache cache;
    PTCollection* set = nullptr;
};

TEST_F(GridImageCellTest, LabelledAndPlainGeometry)
{
    EXPECT_EQ(PTGridViewImageCell::sizeFromProposedSize(QSizeF(36, 36), stateWith(1, true)), QSizeF(76, 76));
    EXPECT_EQ(PTGridViewImageCell::sizeFromProposedSize(QSizeF(36, 36), stateWith(1, false)), QSizeF(56, 56));
    EXPECT_EQ(PTGridViewImageCell::sizeFromProposedSize(QSizeF(50, 30), stateWith(1, true)), QSizeF(70, 70));
    auto labelled = cellFor(nullptr, 76, stateWith(1, true));
    EXPECT_EQ(labelled->drawingRect(), QRectF(20, 10, 36, 36));
    EXPECT_EQ(labelled->titleRect(QRectF(0, 0, 76, 76)), QRectF(10, 56, 56, 12));
    EXPECT_EQ(labelled->imageCacheOptions().size, QSizeF(36, 36));
    auto plain = cellFor(nullptr, 56, stateWith(1, false));
    EXPECT_EQ(plain->drawingRect(), QRectF(10, 10, 36, 36));
}

TEST_F(GridImageCellTest, LabelsElideAndNameInvalidIcons)
{
    PTItem* item = pngItem(QStringLiteral("A very long icon name that cannot fit"), Qt::red);
    auto cell = cellFor(item, 76, stateWith(1, true));
    const QImage drawn = cell->backingImage();
    // The title stays inside its band, 10 points from each side.
    const QRect text = drawnBounds(drawn.copy(0, 56, 76, 12));
    EXPECT_GE(text.left(), 10);
    EXPECT_LE(text.right(), 66);
    EXPECT_EQ(drawnBounds(drawn.copy(0, 0, 76, 56)), QRect()) << "no image yet, nothing above the band";
    EXPECT_EQ(cell->title(), item->name());
    cell->setInvalid(true);
    EXPECT_NE(cell->backingImage(), drawn);
}

TEST_F(GridImageCellTest, StaleAnswersChangeNothing)
{
    PTItem* red = pngItem(QStringLiteral("red"), Qt::red);
    PTItem* blue = pngItem(QStringLiteral("blue"), Qt::blue);
    // The red rendering is stored, so the next request for it is answered from memory: an answer no
    // cancellation reaches.
    auto cell = cellFor(red, 56, stateWith(1, false));
    load(*cell);
    EXPECT_EQ(centreOf(*cell), QColor(Qt::red));

    cell->setItem(red);
    cell->willDisplayCell(false);
    EXPECT_EQ(cell->cacheProcessID(), 0U);
    cell->setItem(blue);
    cell->willDisplayCell(false);
    EXPECT_NE(cell->cacheProcessID(), 0U);
    QCoreApplication::processEvents();
    EXPECT_TRUE(cell->image().isNull() || centreOf(*cell) == QColor(Qt::blue)) << "red landed on the blue item";
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !cell->image().isNull(); }));
    EXPECT_EQ(centreOf(*cell), QColor(Qt::blue));

    // Back in the pool before its answer came: the answer is dropped.
    cell->setItem(red);
    cell->willDisplayCell(false);
    cell->setEnqueued(true);
    cell->didEnqueue();
    pt::test::runMainQueueFor(50);
    EXPECT_TRUE(cell->image().isNull());
    EXPECT_EQ(cell->item(), nullptr);

    // A cell deleted while waiting takes no answer either.
    auto gone = cellFor(red, 56, stateWith(1, false));
    gone->willDisplayCell(false);
    gone.reset();
    pt::test::runMainQueueFor(50);
}

TEST_F(GridImageCellTest, SmallBitmapsDrawAtMostOnePointPerPixel)
{
    PTItem* item = pngItem(QStringLiteral("small"), Qt::red, 16);
    auto cell = cellFor(item, 84, stateWith(1, false), 2);
    EXPECT_EQ(cell->drawingRect(), QRectF(10, 10, 64, 64));
    load(*cell);
    const QImage drawn = cell->backingImage();
    const QRect bounds = drawnBounds(drawn);
    EXPECT_LE(bounds.width(), 16) << "8 points at ratio 2";
    EXPECT_LE(bounds.height(), 16);
    EXPECT_GT(bounds.width(), 0);
    EXPECT_EQ(bounds.topLeft(), QPoint(84, 84) - QPoint(bounds.width(), bounds.height()) / 2) << "centred";
}

// An ICO file records the size of its first picture (16 pixels here); a large cell draws its larger picture at
// that picture's own size.
TEST_F(GridImageCellTest, IconFilesDrawTheirLargerPictureAtItsOwnSize)
{
    PTItem* item = makeItem(set, QStringLiteral("sizes"), QStringLiteral("sizes.ico"), pt::test::fixturePath(QStringLiteral("sizes.ico")));
    item->setType(PTItem::ICO);
    item->setWidth(16);
    item->setHeight(16);
    auto cell = cellFor(item, 84, stateWith(1, false));
    load(*cell);
    const QRect bounds = drawnBounds(cell->backingImage());
    EXPECT_GT(bounds.width(), 32) << "drawn no larger than the first picture";
    EXPECT_LE(bounds.width(), 48) << "a picture enlarged";
}

TEST_F(GridImageCellTest, TintKeepsTheIconsTransparency)
{
    PTItem* item = pngItem(QStringLiteral("half"), Qt::red, 64, true);
    auto cell = cellFor(item, 84, stateWith(1, false));
    cell->setMeta({{QStringLiteral("color"), QColor(0, 0, 255, 128)}});
    EXPECT_EQ(cell->color(), QColor(0, 0, 255, 128));
    load(*cell);
    const QImage drawn = cell->backingImage().convertToFormat(QImage::Format_ARGB32);
    const QColor left = drawn.pixelColor(20, 42);
    EXPECT_NEAR(left.alpha(), 128, 2);
    EXPECT_EQ(left.red(), 0);
    EXPECT_EQ(left.blue(), 255);
    EXPECT_EQ(drawn.pixelColor(60, 42).alpha(), 0);
}

TEST_F(GridImageCellTest, DarkRequestsCarryTheDarkModeWhite)
{
    auto cell = cellFor(nullptr, 56, stateWith(0, false));
    EXPECT_EQ(cell->imageCacheOptions().color, PTStyles::defaultDarkModeWhite());
    cell->setDrawState(stateWith(1, false));
    EXPECT_FALSE(cell->imageCacheOptions().color.isValid());
    pt::Defaults::standard().set(PTPreferenceKeys::DarkModeAutoColorIcons, false);
    cell->setDrawState(stateWith(0, false));
    EXPECT_FALSE(cell->imageCacheOptions().color.isValid());
}

TEST_F(GridImageCellTest, BadgeShowsOnlyWithTheFileTypeOption)
{
    PTItem* item = pngItem(QStringLiteral("typed"), Qt::red, 16);
    for (const bool fileType : {false, true}) {
        auto cell = cellFor(item, 76, stateWith(1, false, fileType));
        const QImage before = cell->backingImage();
        cell->mouseEntered(nullptr, QPointF(20, 20));
        EXPECT_EQ(PTGridViewImageCellBadge::shared().label(), QStringLiteral("PNG"));
        const QImage hovered = cell->backingImage();
        EXPECT_EQ(hovered != before, fileType);
        if (fileType)
            EXPECT_EQ(hovered.pixelColor(6, 6), PTColorFromHEX(0x32393C, 1.0)) << "the badge's top left at (5, 5)";
        cell->mouseExited(nullptr, QPointF(20, 20));
        EXPECT_EQ(cell->backingImage(), before);
    }
}

TEST_F(GridImageCellTest, SelectionBorderFollowsTheGridsFocus)
{
    PTGridView grid;
    grid.resize(200, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    auto cell = cellFor(nullptr, 56, stateWith(1, false));
    cell->setController(&grid);
    cell->setHighlighted(true);
    const auto border = [&] { return cell->backingImage().pixelColor(0, 28); };
    grid.setFocus();
    ASSERT_TRUE(grid.hasFocus());
    cell->responderDidChange();
    EXPECT_EQ(border(), PTStyles::defaultBlue());
    grid.clearFocus();
    cell->responderDidChange();
    EXPECT_EQ(border(), PTColorFromHEX(0x888888, 1.0));
    cell->setInvalid(true);
    EXPECT_EQ(border(), PTColorFromHEX(0xD9757D, 1.0));
    grid.setFocus();
    cell->responderDidChange();
    EXPECT_EQ(border(), PTColorFromHEX(0xDA3247, 1.0));
}

// Items of a library whose files are papirus icons, shown by icon cells.
class PapirusSource : public PTGridViewDataSource {
public:
    std::vector<PTItem*> items;
    PTGridViewDrawingState state = stateWith(0, true);
    quint32 capabilities() const override { return RedrawState; }
    std::unique_ptr<PTGridViewCell> cellForSection(PTGridView&, qint64) override { return nullptr; }
    qint64 numberOfItemsInSection(PTGridView&, qint64) override { return static_cast<qint64>(items.size()); }
    std::unique_ptr<PTGridViewCell> cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path) override
    {
        std::unique_ptr<PTGridViewCell> cell = grid.dequeueReusableCellWithIdentifier(PTGridViewImageCell::ReuseIdentifier);
        if (!cell)
            cell = std::make_unique<PTGridViewImageCell>();
        static_cast<PTGridViewImageCell&>(*cell).setItem(items[size_t(path.index)]);
        return cell;
    }
    pt::store::ObjectID itemForIndexPath(PTGridView&, const GridIndexPath& path) override
    {
        return items[size_t(path.index)]->objectID();
    }
    PTGridViewDrawingState wantsDrawingState(PTGridView&, const PTGridViewDrawingState&) override { return state; }
};

TEST_F(GridImageCellTest, ScreenshotOfTheGridWithPapirusThumbnails)
{
    PapirusSource source;
    QDirIterator it(QStringLiteral("/usr/share/icons/Papirus/64x64/apps"), {QStringLiteral("*.svg")}, QDir::Files);
    for (int i = 0; i < 30 && it.hasNext(); ++i)
        source.items.push_back(makeItem(set, QStringLiteral("App %1").arg(i), QStringLiteral("app%1.svg").arg(i), it.next()));
    source.items[3]->setName(QStringLiteral("An application with a long name"));
    // One file that does not draw, shown as the failure picture with its red title.
    QFile broken(source.items[2]->fileURL().toLocalFile());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("<svg");
    broken.close();
    source.state.showGrid = true;
    source.state.showFileType = true;
    PTImageCache::sharedCache().purge();
    FakeGridClock clock;
    PTGridView grid(nullptr, clock);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setMargin(20, 1);
    grid.setItemMargin(10);
    grid.setItemSize(PTGridViewImageCell::sizeFromProposedSize(QSizeF(36, 36), source.state));
    grid.resize(460, 300);
    grid.show();
    grid.setDataSource(&source);
    clock.advance(1);
    grid.animator().tick();
    const auto loaded = [&] {
        for (PTGridViewCell* cell : grid.visibleCells())
            if (static_cast<PTGridViewImageCell*>(cell)->image().isNull())
                return false;
        return !grid.visibleCells().isEmpty();
    };
    ASSERT_TRUE(pt::test::runMainQueueUntil(loaded));
    grid.selectIndexPaths({GridIndexPath(0, 1)});
    clock.advance(1);
    PTGridViewCell* hovered = grid.cellForIndexPath(GridIndexPath(0, 4));
    ASSERT_NE(hovered, nullptr);
    hovered->mouseEntered(nullptr, QPointF());

    QImage frame(QSize(460, 300) * 2, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(2);
    grid.viewport()->render(&frame);
    ASSERT_TRUE(pt::test::writeScreenshot(frame, QStringLiteral("grid-thumbnails")));

    const QRectF first = grid.geometry().rectForItemAtIndex(0);
    const QRectF square = first.adjusted(20, 10, -20, -(first.height() - 46));
    const QRect drawn = drawnBounds(frame.copy((square.toRect().topLeft() * 2).x(), square.toRect().y() * 2, 72, 72)
                                        .convertToFormat(QImage::Format_ARGB32));
    EXPECT_FALSE(drawn.isEmpty());
    const QColor background = frame.pixelColor(int(first.left() + 2) * 2, int(first.top() + 2) * 2);
    bool coloured = false;
    for (int y = 0; y < 72 && !coloured; ++y)
        for (int x = 0; x < 72 && !coloured; ++x)
            coloured = frame.pixelColor(int(square.left()) * 2 + x, int(square.top()) * 2 + y) != background;
    EXPECT_TRUE(coloured) << "the thumbnail inside its square";
    const QRectF selected = grid.geometry().rectForItemAtIndex(1);
    EXPECT_EQ(frame.pixelColor(int(selected.left()) * 2 + 1, int(selected.center().y()) * 2), PTStyles::defaultBlue());
    // Grid squares behind the cells, the dark badge's light ground at (5, 5) of the hovered cell, and red in
    // the broken item's title band.
    const auto at = [&](const QPointF& point) { return frame.pixelColor((point * 2).toPoint()); };
    EXPECT_EQ(at(first.topLeft() + QPointF(4, first.height() / 2)), PTColorFromHEX(0x242424, 1.0));
    EXPECT_EQ(at(grid.geometry().rectForItemAtIndex(4).topLeft() + QPointF(6, 6)), PTColorFromHEX(0xEEEEEE, 1.0));
    const QRectF band = grid.geometry().rectForItemAtIndex(2).adjusted(10, first.height() - 20, -10, -8);
    bool red = false;
    for (qreal y = band.top(); y < band.bottom() && !red; y += 0.5)
        for (qreal x = band.left(); x < band.right() && !red; x += 0.5)
            red = at(QPointF(x, y)).red() > 150 && at(QPointF(x, y)).green() < 100;
    EXPECT_TRUE(red) << "the failure's title in red";
}

} // namespace
