#include "ui/colour/PTColorBlockView.h"
#include "ui/colour/PTColourPickerController.h"

#include "platform/plist/KeyedArchive.h"
#include "platform/plist/PropertyList.h"

#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QPoint centreOf(int index, int width)
{
    return PTColorBlockView::rectForIndex(index, PTColorBlockView::numberOfColumns(width)).center();
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

struct SwatchFixture {
    std::unique_ptr<PTColorBlockView> makeView(int width = 100)
    {
        auto view = std::make_unique<PTColorBlockView>(nullptr, folder.path());
        view->resize(width, view->height());
        // A shown view gets its resize, which fits its height to the width.
        view->show();
        return view;
    }
    QString file() const { return folder.filePath("default.ptcolors"); }
    QTemporaryDir folder;
};

TEST(ColourSwatchesTest, AFreshLibraryShowsTheDefaultPaletteInAGrid)
{
    SwatchFixture f;
    auto view = f.makeView(100);
    ASSERT_EQ(view->colors().size(), 15u);
    EXPECT_EQ(view->toolTipForPoint(centreOf(1, 100)), "Radical Red (#FF334C)");
    EXPECT_EQ(view->toolTipForPoint(centreOf(0, 100)), "Clear");
    EXPECT_EQ(view->toolTipForPoint(centreOf(16, 100)), "Add to Swatch");
    EXPECT_EQ(view->toolTipForPoint(QPoint(2, 2)), "");
    EXPECT_EQ(PTColorBlockView::numberOfColumns(100), 4);
    EXPECT_EQ(PTColorBlockView::numberOfRows(15, 4), 5);
    EXPECT_EQ(view->height(), 128);
    EXPECT_EQ(PTColorBlockView::rectForIndex(16, 4), QRect(8, 104, 16, 16));
    EXPECT_EQ(PTColorBlockView::numberOfColumns(39), 1);
    EXPECT_EQ(PTColorBlockView::numberOfColumns(47), 1);
    EXPECT_EQ(PTColorBlockView::numberOfColumns(48), 2);
    EXPECT_EQ(PTColorBlockView::rectForIndex(3, 1), QRect(8, 80, 16, 16));
    // However wide the view, the last column's cells stay inside it.
    for (int width = 16; width <= 260; ++width) {
        const int columns = PTColorBlockView::numberOfColumns(width);
        if (columns > 1)
            EXPECT_LE(PTColorBlockView::rectForIndex(columns - 1, columns).x() + 16, width) << width;
    }
    EXPECT_FALSE(QFile::exists(f.file()));

    const QImage image = view->grab().toImage();
    const QRect none = PTColorBlockView::rectForIndex(0, 4);
    const QColor diagonal = image.pixelColor(none.center());
    EXPECT_GT(diagonal.red(), 200);
    EXPECT_LT(diagonal.green(), 100);
    EXPECT_EQ(image.pixelColor(PTColorBlockView::rectForIndex(1, 4).center()), QColor(0xFF, 0x33, 0x4C));
}

TEST(ColourSwatchesTest, AddingAndRemovingWriteTheFileAndRoundTrip)
{
    SwatchFixture f;
    auto view = f.makeView();
    view->addColor(QColor(0xFF, 0x33, 0x4C));
    EXPECT_FALSE(QFile::exists(f.file()));

    const QColor translucent(10, 20, 30, 40);
    view->addColor(QColor::fromHsv(translucent.hue(), translucent.saturation(), translucent.value(), 40));
    ASSERT_TRUE(QFile::exists(f.file()));
    EXPECT_TRUE(contents(f.file()).startsWith("bplist00"));
    EXPECT_EQ(view->height(), 128);

    EXPECT_EQ(view->menuForPoint(centreOf(0, 100)), nullptr);
    EXPECT_EQ(view->menuForPoint(centreOf(17, 100)), nullptr);
    std::unique_ptr<QMenu> menu(view->menuForPoint(centreOf(12, 100)));
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "Remove");
    menu->actions()[0]->trigger();
    ASSERT_EQ(view->colors().size(), 15u);

    auto reread = f.makeView();
    EXPECT_EQ(reread->colors(), view->colors());
    EXPECT_EQ(reread->colors().back().rgba(), translucent.rgba());
}

TEST(ColourSwatchesTest, ClicksPickClearAndAdd)
{
    SwatchFixture f;
    auto view = f.makeView();
    std::vector<QColor> clicked;
    view->setClickHandler([&](const QColor& color) { clicked.push_back(color); });
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, centreOf(0, 100));
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, centreOf(2, 100));
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_EQ(clicked.size(), 2u);
    EXPECT_FALSE(clicked[0].isValid());
    EXPECT_EQ(clicked[1], QColor(0xFF, 0x99, 0x47));

    QTest::mouseClick(view.get(), Qt::LeftButton, {}, centreOf(16, 100));
    EXPECT_EQ(view->colors().size(), 15u);
    view->setNewColorHandler([] { return QColor(1, 2, 3); });
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, centreOf(16, 100));
    EXPECT_EQ(view->colors().back(), QColor(1, 2, 3));
    EXPECT_EQ(clicked.size(), 2u);
}

TEST(ColourSwatchesTest, UnreadableFilesAreKeptAndEmptyArchivesAreEmpty)
{
    SwatchFixture f;
    const QByteArray foreign("\x00\x01 not a colour archive", 24);
    writeFile(f.file(), foreign);
    writeFile(f.file() + ".unreadable", "taken");
    auto view = f.makeView();
    EXPECT_EQ(view->colors().size(), 15u);
    view->addColor(QColor(1, 2, 3));
    EXPECT_EQ(contents(f.file() + ".unreadable.2"), foreign);
    EXPECT_EQ(contents(f.file() + ".unreadable"), "taken");
    EXPECT_EQ(f.makeView()->colors().size(), 16u);

    // A readable archive without colours is an empty list, and non-colour entries are skipped.
    const QVariant archive = pt::KeyedArchive::archivedRoot(QVariantList{QStringLiteral("text")});
    ASSERT_TRUE(pt::PropertyList::writeFile(archive, f.file(), pt::PropertyList::Format::Binary));
    auto empty = f.makeView(100);
    EXPECT_TRUE(empty->colors().empty());
    EXPECT_EQ(empty->height(), 32);
    EXPECT_EQ(empty->toolTipForPoint(centreOf(1, 100)), "Add to Swatch");
}

TEST(ColourSwatchesTest, TheNoColourSwatchClearsThePicker)
{
    QTemporaryDir folder;
    PTColourPickerController picker(Qt::red);
    picker.setSwatchFolder(folder.path());
    std::vector<std::pair<QColor, QColor>> reports;
    picker.setColorDidChangeHandler([&](const QColor& c, const QColor& o) { reports.emplace_back(c, o); });
    picker.ensureLoaded();
    PTColorBlockView* swatches = picker.colorBlockView();
    QTest::mouseClick(swatches, Qt::LeftButton, {}, centreOf(0, swatches->width()));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_FALSE(reports[0].first.isValid());
    EXPECT_FALSE(reports[0].second.isValid());
    EXPECT_EQ(picker.color(), QColor(Qt::black));

    QTest::mouseClick(swatches, Qt::LeftButton, {}, centreOf(1, swatches->width()));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].first, QColor(0xFF, 0x33, 0x4C));
}

} // namespace
