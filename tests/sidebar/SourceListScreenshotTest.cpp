#include "TestSupport.h"
#include "SourceListTestSupport.h"

#include "../ui/ThemeScope.h"
#include "sidebar/PTSourceListView.h"
#include "ui/theme/PTStyles.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

bool near(const QColor& a, const QColor& b, int tolerance = 12)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Whether some pixel of the image's row band has the colour (text is anti-aliased, so look for its core).
bool bandHas(const QImage& image, const QRect& band, const QColor& colour)
{
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            if (near(image.pixelColor(x, y), colour, 6))
                return true;
        }
    }
    return false;
}

} // namespace

// Two adjacent selected sets, a hovered one, an open group, in both themes.
TEST_F(SourceListTest, Screenshots)
{
    PTGroup* group = makeGroup("Arrows");
    makeSetIn("Left", group);
    makeSetIn("Right", group);
    PTCollection* a = makeSet("Actions");
    PTCollection* b = makeSet("Places");
    PTCollection* hovered = makeSet("Devices");
    saveAndWait();
    view().resize(240, 360);
    list().selectItems({a, b}, false);
    view().expand(indexOf(group));
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        SCOPED_TRACE(appearance);
        ThemeScope theme(appearance);
        const QRect hoveredRow = view().visualRect(indexOf(hovered));
        QMouseEvent move(QEvent::MouseMove, QPointF(60, hoveredRow.center().y()), view().viewport()->mapToGlobal(QPointF(60, hoveredRow.center().y())),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view().viewport(), &move);
        ASSERT_EQ(view().hoveredRow(), indexOf(hovered));
        const QImage image = view().viewport()->grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(image, appearance == PTAppearanceDark ? "source-list-dark" : "source-list-light"));
        const bool dark = appearance == PTAppearanceDark;

        // One block across both selected rows: the pixel on their boundary is the selection's colour.
        const QRect first = view().visualRect(indexOf(a));
        const QRect second = view().visualRect(indexOf(b));
        ASSERT_EQ(first.bottom() + 1, second.top());
        const QColor selection = image.pixelColor(8, first.center().y());
        EXPECT_FALSE(near(selection, PTStyles::sidebarBackgroundColor()));
        EXPECT_TRUE(near(image.pixelColor(8, second.top()), selection));
        EXPECT_TRUE(near(image.pixelColor(2, second.top()), PTStyles::sidebarBackgroundColor()));

        // The hovered row's three dots.
        const int w = image.width();
        for (int i = 0; i < 3; ++i) {
            const QColor dot = image.pixelColor(w - 33 + 6 * i + 2, hoveredRow.top() + hoveredRow.height() / 2);
            EXPECT_TRUE(near(dot, dark ? QColor(Qt::white) : QColor(0x55, 0x55, 0x55))) << i;
        }
        // The header's title colour.
        const QRect header = view().visualRect(topRow(3));
        EXPECT_TRUE(bandHas(image, header, dark ? QColor(Qt::white) : QColor(0x81, 0x81, 0x81)));
        // The open group's children are drawn.
        EXPECT_TRUE(view().isExpanded(indexOf(group)));
    }
}

// A new group being named: its disclosure arrow sits inside the row's rounded shape, not on the list's left edge,
// and the preselected name shows white on the theme's blue, in both themes.
TEST_F(SourceListTest, GroupBeingNamedScreenshots)
{
    PTGroup* group = makeGroup("Untitled Group");
    saveAndWait();
    view().resize(240, 200);
    view().show();
    list().selectItems({group}, false);
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        SCOPED_TRACE(appearance);
        ThemeScope theme(appearance);
        const QModelIndex index = indexOf(group);
        view().edit(index);
        QApplication::processEvents();
        const QImage image = view().viewport()->grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(
            image, appearance == PTAppearanceDark ? "source-list-naming-dark" : "source-list-naming-light"));
        const QRect row = view().visualRect(index);
        const QColor background = PTStyles::sidebarBackgroundColor();

        // The arrow's ink, left of the folder icon: none of it reaches into the five points before the row shape.
        int arrowLeft = -1;
        for (int x = 0; x < 16 && arrowLeft < 0; ++x) {
            for (int y = row.top() + 4; y < row.bottom() - 4; ++y) {
                const QColor c = image.pixelColor(x, y);
                if (c.lightness() > 200 && !near(c, background, 20)) {
                    arrowLeft = x;
                    break;
                }
            }
        }
        EXPECT_GE(arrowLeft, 6) << "the arrow is drawn clear of the row shape's left edge";

        // The editor's selected text: blue behind white glyphs.
        auto* editor = qobject_cast<QLineEdit*>(view().indexWidget(index));
        ASSERT_TRUE(editor);
        EXPECT_TRUE(editor->hasSelectedText());
        const QImage field = editor->grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(
            field, appearance == PTAppearanceDark ? "source-list-name-field-dark" : "source-list-name-field-light"));
        EXPECT_TRUE(bandHas(field, QRect(2, 2, field.width() / 3, field.height() - 4), PTStyles::defaultBlue()))
            << "the selection's blue";
        EXPECT_TRUE(bandHas(field, QRect(2, 2, field.width() / 3, field.height() - 4), Qt::white)) << "white text";
        view().closePersistentEditor(index);
        list().view()->setFocus();
        QApplication::processEvents();
    }
}
