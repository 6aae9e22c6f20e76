#include "TestSupport.h"

#include "../ui/ThemeScope.h"
#include "foundation/ColorPrivate.h"
#include "platform/desktop/AccessibilityDisplay.h"
#include "platform/desktop/PortalContrastSource.h"
#include "platform/desktop/ReduceTransparencySource.h"
#include "sidebar/inspector/PTPathControlBackgroundView.h"
#include "sidebar/inspector/PTSideBarBackgroundView.h"
#include "sidebar/inspector/PTSideBarBackgroundViewOverlay.h"
#include "ui/theme/PTStyles.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A desktop whose wish for less transparency the test sets by hand.
class FakeReduceTransparencySource : public pt::ReduceTransparencySource {
public:
    void start() override {}
    void answer(bool reduce) { Q_EMIT reduceTransparencyChanged(reduce); }
};

QColor over(const QColor& backdrop, const QColor& layer)
{
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(backdrop);
    QPainter(&pixel).fillRect(0, 0, 1, 1, layer);
    return pixel.pixelColor(0, 0);
}

bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1 &&
           std::abs(a.blue() - b.blue()) <= 1;
}

// The inspector's background with a view over its right half, drawn in the theme.
class InspectorBackgroundViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto source = std::make_unique<FakeReduceTransparencySource>();
        desktop = source.get();
        pt::AccessibilityDisplay::shared().setSource(std::move(source));
        background.resize(120, 40);
    }
    void TearDown() override { pt::AccessibilityDisplay::shared().setSource(std::make_unique<pt::PortalContrastSource>()); }
    void place(QWidget* view) { view->setGeometry(60, 0, 60, 40); }
    // Checks the left half shows the theme's background and the right half the expected colour over it.
    void check(const QString& name, const std::function<QColor(const QColor& background)>& expected)
    {
        const QImage image = background.grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(image, name));
        const QColor theme = PTStyles::sidebarBackgroundColor();
        EXPECT_TRUE(near(image.pixelColor(30, 20), theme)) << image.pixelColor(30, 20).name().toStdString();
        const QColor want = expected(theme);
        for (const QPoint point : {QPoint(60, 0), QPoint(90, 20), QPoint(119, 39)})
            EXPECT_TRUE(near(image.pixelColor(point), want))
                << point.x() << "," << point.y() << " " << image.pixelColor(point).name().toStdString() << " "
                << want.name().toStdString();
    }

    FakeReduceTransparencySource* desktop = nullptr;
    PTSideBarBackgroundView background;
};

// The overlay veils the background in near-white at 90 %, or covers it in opaque near-white when the desktop
// asks for less transparency; the setting is read at each drawing and the theme changes neither colour.
TEST_F(InspectorBackgroundViewsTest, TheOverlayIsOpaqueWhenTransparencyIsReduced)
{
    auto* overlay = new PTSideBarBackgroundViewOverlay(&background);
    place(overlay);
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        const bool dark = appearance == PTAppearanceDark;
        SCOPED_TRACE(dark ? "dark" : "light");
        ThemeScope theme(appearance);
        const QString look = dark ? QStringLiteral("-dark") : QStringLiteral("-light");
        desktop->answer(false);
        check("sidebar-overlay-translucent" + look,
              [](const QColor& under) { return over(under, colorPrivate::colorFromHEX(0xFAFAFA, 0.9F)); });
        desktop->answer(true);
        check("sidebar-overlay-opaque" + look, [](const QColor&) { return QColor(0xF9, 0xF9, 0xF9); });
    }
    // Not yet answered by a new source: the translucent look.
    pt::AccessibilityDisplay::shared().setSource(std::make_unique<FakeReduceTransparencySource>());
    check("sidebar-overlay-unanswered",
          [](const QColor& under) { return over(under, colorPrivate::colorFromHEX(0xFAFAFA, 0.9F)); });
}

// The path control's band is the same pale blue at 60 % in both themes.
TEST_F(InspectorBackgroundViewsTest, ThePathControlBackgroundIsPaleBlueInBothThemes)
{
    place(new PTPathControlBackgroundView(&background));
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        const bool dark = appearance == PTAppearanceDark;
        SCOPED_TRACE(dark ? "dark" : "light");
        ThemeScope theme(appearance);
        check(dark ? "path-control-background-dark" : "path-control-background-light",
              [](const QColor& under) { return over(under, QColor(0xD9, 0xE9, 0xFC, 153)); });
    }
}

} // namespace
