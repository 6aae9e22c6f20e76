#include "GalleryPages.h"

#include "ThemeScope.h"

#include "ui/colour/PTSaturationAndBrightnessView.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/theme/PTStyles.h"

#include <QDir>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Close enough for blended colours.
bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

// The sheet's head band in both themes, and the separator row right under it.
TEST(ScreenshotTest, PagesInBothThemes)
{
    ThemeScope theme(PTAppearanceAqua);
    const QString folder = QStringLiteral(PICTERN_SCREENSHOT_DIR);
    const QStringList files = GalleryPages::writeScreenshots(folder);
    ASSERT_EQ(files.size(), 14);

    struct Case {
        const char* file;
        QColor band;
        QColor separator;
        QColor body;
    };
    const Case cases[] = {
        // Light: a softened line (#888888 at 0.1) over the sheet's #FAFAFA.
        {"progress-sheet-light.png", QColor(Qt::white), QColor(0xEF, 0xEF, 0xEF), QColor(0xFA, 0xFA, 0xFA)},
        // Dark: the line under a title bar is #222222.
        {"progress-sheet-dark.png", QColor(0x3D, 0x3D, 0x3D), QColor(0x22, 0x22, 0x22), QColor(0x32, 0x32, 0x32)},
    };
    for (const Case& c : cases) {
        const QImage image(QDir(folder).filePath(QString::fromLatin1(c.file)));
        ASSERT_FALSE(image.isNull()) << c.file;
        const int x = image.width() / 2;
        EXPECT_TRUE(near(image.pixelColor(x, 4), c.band)) << c.file << " band " << image.pixelColor(x, 4).name().toStdString();
        int y = 4;
        while (y < image.height() && near(image.pixelColor(x, y), c.band))
            ++y;
        ASSERT_LT(y, image.height() - 1) << c.file;
        EXPECT_GT(y, 30) << c.file << ": the band holds a title and a subtitle";
        EXPECT_TRUE(near(image.pixelColor(x, y), c.separator))
            << c.file << " separator " << image.pixelColor(x, y).name().toStdString();
        EXPECT_TRUE(near(image.pixelColor(x, y + 1), c.body))
            << c.file << " body " << image.pixelColor(x, y + 1).name().toStdString();
    }

    const QImage tabsLight(QDir(folder).filePath(QStringLiteral("title-band-tabs-light.png")));
    const QImage tabsDark(QDir(folder).filePath(QStringLiteral("title-band-tabs-dark.png")));
    EXPECT_EQ(tabsLight.pixelColor(tabsLight.width() / 2, 4), QColor(Qt::white));
    EXPECT_EQ(tabsDark.pixelColor(tabsDark.width() / 2, 4), QColor(0x3D, 0x3D, 0x3D));
}

// The controls page: a selected segment is tinted 6 % darker than its neighbour, the switch that is on fills its
// track with the tint, and the dark pop-up body is #626262.
TEST(ScreenshotTest, ControlsPage)
{
    ThemeScope theme(PTAppearanceAqua);
    const QString folder = QStringLiteral(PICTERN_SCREENSHOT_DIR);
    GalleryPages::writeScreenshots(folder);
    const auto build = [](const char* name) {
        for (const GalleryPages::Page& page : GalleryPages::stillPages()) {
            if (page.name == QLatin1String(name))
                return std::unique_ptr<QWidget>(page.build());
        }
        return std::unique_ptr<QWidget>();
    };
    const std::unique_ptr<QWidget> page = build("controls");
    ASSERT_TRUE(page);
    const auto* views = page->findChild<PTToolbarSegmentedControl*>(QStringLiteral("views"));
    const auto* on = page->findChild<QWidget*>(QStringLiteral("switchOn"));
    const auto* popup = page->findChild<QWidget*>(QStringLiteral("popup"));
    ASSERT_TRUE(views && on && popup);
    // Above the labels and icons, below the border.
    const auto pointIn = [&](int segment) {
        return views->mapTo(page.get(), QPoint(int(views->rectForSegment(segment).x()) + 4, 3));
    };
    const QPoint track = on->mapTo(page.get(), QPoint(6, on->height() / 2));
    const QPoint body = popup->mapTo(page.get(), QPoint(popup->width() - 19 - 8, popup->height() / 2));

    struct Case {
        const char* file;
        int appearance;
        int plainBody;
        int selectedBody; // dark enough under the selected segment's white label
        QColor popupBody;
    };
    const Case cases[] = {{"controls-light.png", PTAppearanceAqua, 0xFF, 0x73, Qt::white},
                          {"controls-dark.png", PTAppearanceDark, 0x62, int(0x62 * 0.94), QColor(0x62, 0x62, 0x62)}};
    for (const Case& c : cases) {
        const QImage image(QDir(folder).filePath(QString::fromLatin1(c.file)));
        ASSERT_FALSE(image.isNull()) << c.file;
        ThemeScope::set(c.appearance);
        const QColor neighbour = image.pixelColor(pointIn(0));
        const QColor selected = image.pixelColor(pointIn(1));
        EXPECT_NEAR(neighbour.red(), c.plainBody, 2) << c.file;
        EXPECT_NEAR(selected.red(), c.selectedBody, 2) << c.file;
        EXPECT_TRUE(near(image.pixelColor(track), PTStyles::defaultBlue())) << c.file;
        EXPECT_TRUE(near(image.pixelColor(body), c.popupBody))
            << c.file << " " << image.pixelColor(body).name().toStdString();
    }

    // The finished progress sheet's OK is the accent control: blue where the label leaves its body bare.
    const std::unique_ptr<QWidget> progress = build("progress-sheet");
    const auto* ok = progress->findChild<PTToolbarSegmentedControl*>();
    ASSERT_TRUE(ok);
    const QPoint okBody = ok->mapTo(progress.get(), QPoint(4, ok->height() / 2));
    for (const char* file : {"progress-sheet-light.png", "progress-sheet-dark.png"}) {
        const QColor pixel = QImage(QDir(folder).filePath(QString::fromLatin1(file))).pixelColor(okBody);
        EXPECT_GT(pixel.blue(), pixel.red() + 100) << file << " " << pixel.name().toStdString();
    }
}

// The colour page: the square runs from white at its top left through the hue at its top right to black along the
// bottom, and the no-colour well is crossed by a red diagonal, in both themes.
TEST(ScreenshotTest, ColourPage)
{
    ThemeScope theme(PTAppearanceAqua);
    const QString folder = QStringLiteral(PICTERN_SCREENSHOT_DIR);
    GalleryPages::writeScreenshots(folder);
    std::unique_ptr<QWidget> page;
    for (const GalleryPages::Page& p : GalleryPages::stillPages()) {
        if (p.name == QLatin1String("colour"))
            page.reset(p.build());
    }
    ASSERT_TRUE(page);
    const auto* picker = page->findChild<QWidget*>(QStringLiteral("singlePicker"));
    const auto* none = page->findChild<QWidget*>(QStringLiteral("noColourWell"));
    ASSERT_TRUE(picker && none);
    const QWidget* square = picker->findChild<PTSaturationAndBrightnessView*>();
    ASSERT_TRUE(square);
    const QPoint topLeft = square->mapTo(page.get(), QPoint(2, 2));
    const QPoint topRight = square->mapTo(page.get(), QPoint(square->width() - 3, 2));
    const QPoint bottom = square->mapTo(page.get(), QPoint(square->width() / 3, square->height() - 3));
    const QPoint diagonal = none->mapTo(page.get(), none->rect().center());
    for (const char* file : {"colour-light.png", "colour-dark.png"}) {
        const QImage image(QDir(folder).filePath(QString::fromLatin1(file)));
        ASSERT_FALSE(image.isNull()) << file;
        EXPECT_GT(image.pixelColor(topLeft).lightness(), 230) << file;
        const QColor hue = image.pixelColor(topRight);
        EXPECT_GT(hue.blue(), 220) << file << " " << hue.name().toStdString();
        EXPECT_LT(hue.red(), 40) << file;
        EXPECT_LT(image.pixelColor(bottom).lightness(), 20) << file;
        const QColor red = image.pixelColor(diagonal);
        EXPECT_GT(red.red(), 200) << file << " " << red.name().toStdString();
        EXPECT_LT(red.green(), 90) << file;
    }
}

} // namespace

namespace {

// Assistive tools name every control of the kit.
TEST(AccessibilityTest, EveryKitWidgetOfTheGalleryHasAName)
{
    for (const GalleryPages::Page& page : GalleryPages::stillPages()) {
        std::unique_ptr<QWidget> widget(page.build());
        QList<QWidget*> widgets = widget->findChildren<QWidget*>();
        widgets.prepend(widget.get());
        for (const QWidget* child : widgets) {
            const QString kind = QString::fromLatin1(child->metaObject()->className());
            if (kind.startsWith(QLatin1String("PT"))) {
                EXPECT_FALSE(child->accessibleName().isEmpty()) << page.name.toStdString() << ": " << kind.toStdString();
            }
        }
    }
}

} // namespace
