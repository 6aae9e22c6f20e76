#include "GalleryPages.h"

#include "ThemeScope.h"

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
    ASSERT_EQ(files.size(), 10);

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
