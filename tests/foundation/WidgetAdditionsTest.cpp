#include "foundation/MenuAdditions.h"
#include "foundation/ScreenAdditions.h"
#include "foundation/ViewAdditions.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSet>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

TEST(ViewAdditionsTest, FirstResponderNeedsFocusInTheActiveWindow)
{
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    second->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->hasFocus(); }));
    EXPECT_TRUE(viewAdditions::isFirstResponder(second));
    EXPECT_FALSE(viewAdditions::isFirstResponder(first));
    EXPECT_FALSE(viewAdditions::isFirstResponder(&window));

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(viewAdditions::isFirstResponder(second)) << "its window is no longer active";

    QLineEdit hidden;
    EXPECT_FALSE(viewAdditions::isFirstResponder(&hidden));
    EXPECT_FALSE(viewAdditions::isFirstResponder(nullptr));
}

TEST(MenuAdditionsTest, PerformsOnlyItsOwnItems)
{
    QMenu menu;
    QAction* own = menu.addAction(QStringLiteral("PNG"));
    QMenu other;
    QAction* foreign = other.addAction(QStringLiteral("JPG"));
    QSignalSpy ownSpy(own, &QAction::triggered);
    QSignalSpy foreignSpy(foreign, &QAction::triggered);

    menuAdditions::performActionForItem(&menu, own);
    menuAdditions::performActionForItem(&menu, foreign);
    menuAdditions::performActionForItem(&menu, nullptr);
    EXPECT_EQ(ownSpy.count(), 1);
    EXPECT_EQ(foreignSpy.count(), 0);
}

TEST(ScreenAdditionsTest, ScalesComeFromTheScreens)
{
    QScreen* primary = screenAdditions::primaryScreen();
    ASSERT_NE(primary, nullptr);
    EXPECT_EQ(primary, QGuiApplication::primaryScreen());
    EXPECT_EQ(screenAdditions::scale(primary), primary->devicePixelRatio());
    EXPECT_EQ(screenAdditions::scale(nullptr), 1.0);
    EXPECT_GE(screenAdditions::scale(), 1.0);
}

TEST(ViewAdditionsTest, SwapFirstResponderInsertsIntoTheFocusChain)
{
    QWidget window;
    auto* a = new QLineEdit(&window);
    auto* b = new QLineEdit(&window);
    auto* c = new QLineEdit(&window);
    ASSERT_EQ(a->nextInFocusChain(), b);
    viewAdditions::swapFirstResponder(a, c);
    EXPECT_EQ(a->nextInFocusChain(), c);
    EXPECT_EQ(c->nextInFocusChain(), b) << "what followed the widget now follows the responder";

    QWidget otherWindow;
    auto* stranger = new QLineEdit(&otherWindow);
    viewAdditions::swapFirstResponder(a, stranger);
    viewAdditions::swapFirstResponder(a, nullptr);
    viewAdditions::swapFirstResponder(nullptr, a);
    EXPECT_EQ(a->nextInFocusChain(), c);
}

TEST(ViewAdditionsTest, AutoresizingSharesTheParentsGrowth)
{
    const QRect frame(10, 20, 30, 40); // in a parent of 100 x 100: margins 10 and 60 across, 20 and 40 down
    const QSize before(100, 100);
    const QSize after(200, 160);
    using namespace viewAdditions;
    const struct {
        const char* name;
        int mask;
        QRect expected;
    } cases[] = {
        {"nothing flexible", 0, frame},
        {"size only", WidthSizable | HeightSizable, QRect(10, 20, 130, 100)},
        {"left margin only", FlexibleLeftMargin | FlexibleBottomMargin, QRect(110, 20, 30, 40)},
        {"right margin only", FlexibleRightMargin | FlexibleTopMargin, QRect(10, 80, 30, 40)},
        {"both margins, by their sizes", FlexibleLeftMargin | FlexibleRightMargin, QRect(24, 20, 30, 40)},
        {"margin and width, by their sizes", FlexibleLeftMargin | WidthSizable, QRect(35, 20, 105, 40)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(autoresizedGeometry(frame, c.mask, before, after), c.expected) << c.name;
    EXPECT_EQ(autoresizedGeometry(QRect(0, 0, 0, 10), FlexibleLeftMargin | WidthSizable, {0, 10}, {10, 10}),
              QRect(5, 0, 5, 10))
        << "empty parts share equally";
    EXPECT_EQ(autoresizedGeometry(frame, WidthSizable, before, {30, 100}), QRect(10, 20, 0, 40))
        << "never a negative size";

    QWidget parent;
    parent.resize(100, 100);
    auto* child = new QWidget(&parent);
    child->setGeometry(frame);
    new QLineEdit(child); // children of its own do not stand in for its resizing
    child->setProperty("autoresizingMask", 63); // the mask is set only through the operations
    setAutoresizingBit(child, FlexibleTopMargin, true);
    fixAllEdgesAndSizes(child);
    EXPECT_EQ(autoresizingMask(child), WidthSizable | HeightSizable);
    parent.show();
    parent.resize(after);
    EXPECT_EQ(child->geometry(), QRect(10, 20, 130, 100));

    // A widget moved to another parent follows that parent instead.
    QWidget second;
    second.resize(100, 100);
    second.show();
    child->setParent(&second);
    parent.resize(before);
    second.resize(150, 100);
    EXPECT_EQ(child->geometry(), QRect(10, 20, 180, 100));
}

TEST(ViewAdditionsTest, FrameHelpersFollowTheParent)
{
    QWidget parent;
    parent.resize(120, 80);
    auto* child = new QWidget(&parent);
    child->setGeometry(5, 6, 10, 20);
    viewAdditions::expandWidthToSuperview(child);
    EXPECT_EQ(child->geometry(), QRect(5, 6, 120, 20));
    viewAdditions::expandToFitSuperview(child);
    EXPECT_EQ(child->geometry(), QRect(0, 0, 120, 80));
    QWidget other;
    other.resize(33, 44);
    viewAdditions::matchBoundsOfView(child, &other);
    EXPECT_EQ(child->geometry(), QRect(0, 0, 33, 44));
    viewAdditions::matchBoundsOfView(child, nullptr);
    EXPECT_EQ(child->size(), QSize(0, 0));
    QWidget orphan;
    orphan.setGeometry(5, 5, 50, 50);
    viewAdditions::expandWidthToSuperview(&orphan);
    EXPECT_EQ(orphan.size(), QSize(0, 50));
}

TEST(ViewAdditionsTest, NoiseBrightensEveryPixelWithinTheClip)
{
    for (const qreal ratio : {1.0, 2.0}) {
        QImage image(QSize(300, 200) * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(QColor(40, 40, 40));
        QPainter painter(&image);
        painter.setClipRect(0, 0, 300, 100);
        viewAdditions::drawNoiseWithOpacity(painter, 1.0f);
        painter.end();
        QSet<int> values;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb top = image.pixel(x, 5);
            values.insert(qRed(top));
            EXPECT_GE(qRed(top), 40);
            EXPECT_EQ(qRed(top), qBlue(top)) << "grey";
            EXPECT_EQ(image.pixel(x, image.height() - 1), qRgb(40, 40, 40)) << "outside the clip";
        }
        EXPECT_GT(values.size(), 50) << "noise, not a flat colour";
        // One sample per device pixel: the tile repeats every 124 device pixels.
        EXPECT_EQ(image.pixel(3, 7), image.pixel(3 + 124, 7)) << ratio;
        EXPECT_NE(image.pixel(3, 7), image.pixel(3 + 123, 7)) << ratio;
    }
}

TEST(ViewAdditionsTest, BlurInRectSoftensOnlyThatRectangle)
{
    QImage image(100, 50, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, 50, 50, Qt::black);
    painter.translate(10, 0); // the rectangle is in the painter's coordinates
    viewAdditions::blurInRect(painter, QRectF(20, 0, 40, 25), 3);
    painter.end();
    const int atEdge = qRed(image.pixel(49, 10));
    EXPECT_GT(atEdge, 40);
    EXPECT_LT(atEdge, 215);
    EXPECT_LT(qRed(image.pixel(50, 10)), 215);
    EXPECT_EQ(image.pixel(49, 40), qRgb(0, 0, 0)) << "below the rectangle";
    EXPECT_EQ(image.pixel(50, 40), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(25, 10), qRgb(0, 0, 0)) << "left of the rectangle";
    EXPECT_EQ(qAlpha(image.pixel(49, 10)), 255);

    // A radius far beyond the rectangle is blurred at the rectangle's size instead of building a kernel of that
    // size: most of the spread falls outside, so what lies beneath shows through almost unchanged.
    QImage wide(100, 10, QImage::Format_ARGB32_Premultiplied);
    wide.fill(Qt::white);
    QPainter widePainter(&wide);
    widePainter.fillRect(0, 0, 50, 10, Qt::black);
    viewAdditions::blurInRect(widePainter, QRectF(0, 0, 100, 10), 1e12f);
    widePainter.end();
    EXPECT_LT(qRed(wide.pixel(10, 5)), 30);
    EXPECT_GT(qRed(wide.pixel(90, 5)), 225);
    EXPECT_EQ(qAlpha(wide.pixel(50, 5)), 255);
}
