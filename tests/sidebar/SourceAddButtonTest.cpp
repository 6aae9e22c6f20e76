#include "sidebar/PTSourceAddButton.h"
#include "ui/theme/PTStyles.h"

#include "../ui/ThemeScope.h"
#include "TestSupport.h"

#include <QApplication>
#include <QVBoxLayout>

#include <gtest/gtest.h>

// The "Add Icons" bar under the source list follows a live theme switch in both directions: its background is the
// new theme's sidebar colour and its title contrasts with it, without a restart.
TEST(SourceAddButtonTest, FollowsALiveThemeSwitch)
{
    for (const int from : {PTAppearanceAqua, PTAppearanceDark}) {
        const int to = from == PTAppearanceDark ? PTAppearanceAqua : PTAppearanceDark;
        SCOPED_TRACE(to);
        ThemeScope theme(from);
        // The column as the source list builds it: its background set once, in the theme of the moment.
        QWidget column;
        column.setAutoFillBackground(true);
        QPalette colours = column.palette();
        colours.setColor(QPalette::Window, PTStyles::sidebarBackgroundColor());
        column.setPalette(colours);
        auto* add = new PTSourceAddButton;
        auto* layout = new QVBoxLayout(&column);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(add);
        column.resize(220, 30);
        column.show();
        QApplication::processEvents();

        ThemeScope::set(to);
        QApplication::processEvents();
        const QImage image = column.grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(
            image, to == PTAppearanceDark ? "source-add-bar-to-dark" : "source-add-bar-to-light"));
        const QColor background = PTStyles::sidebarBackgroundColor();
        const QColor corner = image.pixelColor(3, 3);
        EXPECT_LE(std::abs(corner.lightness() - background.lightness()), 3) << corner.name().toStdString();
        // The title's darkest (light theme) or lightest (dark theme) ink stands well apart from the background.
        int contrast = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                contrast = std::max(contrast, std::abs(image.pixelColor(x, y).lightness() - background.lightness()));
        EXPECT_GT(contrast, 100);
    }
}
