#include "foundation/ColorPrivate.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct HexCase {
    int hex;
    double alpha;
    int red, green, blue; // bytes
    double expectedAlpha;
};

class ColorFromHexTest : public ::testing::TestWithParam<HexCase> {};

} // namespace

TEST_P(ColorFromHexTest, ComponentsAndAlpha)
{
    const HexCase c = GetParam();
    const QColor color = PTColorFromHEX(c.hex, c.alpha);
    ASSERT_TRUE(color.isValid());
    EXPECT_EQ(color.spec(), QColor::Rgb);
    EXPECT_NEAR(color.redF(), c.red / 255.0, 1e-4);
    EXPECT_NEAR(color.greenF(), c.green / 255.0, 1e-4);
    EXPECT_NEAR(color.blueF(), c.blue / 255.0, 1e-4);
    EXPECT_NEAR(color.alphaF(), c.expectedAlpha, 1e-4);

    // The cairo side keeps the single-precision quotients exactly.
    const pt::CairoColor cairo = PTCGColorFromHEXWithAlpha(c.hex, c.alpha);
    EXPECT_EQ(cairo.red, static_cast<double>(static_cast<float>(c.red / 255.0)));
    EXPECT_EQ(cairo.green, static_cast<double>(static_cast<float>(c.green / 255.0)));
    EXPECT_EQ(cairo.blue, static_cast<double>(static_cast<float>(c.blue / 255.0)));
    EXPECT_EQ(cairo.alpha, static_cast<double>(static_cast<float>(c.expectedAlpha)));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ColorFromHexTest,
    ::testing::Values(HexCase{0x000000, 1.0, 0, 0, 0, 1.0},                  // opaque black
                      HexCase{0xFFFFFF, 1.0, 255, 255, 255, 1.0},            // opaque white
                      HexCase{0x1000000, 1.0, 0, 0, 0, 1.0},                 // bit 24 and above ignored
                      HexCase{-1, 1.0, 255, 255, 255, 1.0},                  // low 24 bits of a negative value
                      HexCase{0x336699, 1.0, 0x33, 0x66, 0x99, 1.0},         // 0.2, 0.4, 0.6
                      HexCase{0xFF0000, 0.5, 255, 0, 0, 0.5},                // half-transparent red
                      HexCase{0x808080, 1.5, 128, 128, 128, 1.0},            // alpha clamped above
                      HexCase{0x808080, -0.25, 128, 128, 128, 0.0},          // and below
                      HexCase{0x010203, std::numeric_limits<double>::quiet_NaN(), 1, 2, 3, 0.0}));

TEST(ColorFromHexTest, OpaqueCairoColourAndExactQuotients)
{
    EXPECT_EQ(PTCGColorFromHEX(0x336699), (pt::CairoColor{0.2f, 0.4f, 0.6f, 1.0}));
    EXPECT_EQ(colorPrivate::colorFromHEX(0x336699, 0.25f), PTColorFromHEX(0x336699, 0.25));
}

TEST(BrightnessTest, MovesOnlyTheBrightnessWithinRange)
{
    const QColor base = QColor::fromHsvF(0.6f, 0.5f, 0.9f, 0.75f);
    const QColor dark = QColor::fromHsvF(0.6f, 0.5f, 0.1f, 0.75f);
    const struct {
        const char* name;
        QColor color;
        QColor (*change)(const QColor&, double);
        double amount;
        float brightness;
    } cases[] = {
        {"lighten past the top", base, colorPrivate::lightenByAmount, 0.3, 1.0f},
        {"lighten a little", dark, colorPrivate::lightenByAmount, 0.25, 0.35f},
        {"darken past the bottom", dark, colorPrivate::darkenByAmount, 0.3, 0.0f},
        {"darken a little", base, colorPrivate::darkenByAmount, 0.4, 0.5f},
        {"lighten by nothing", base, colorPrivate::lightenByAmount, 0.0, 0.9f},
        {"one changes nothing", base, colorPrivate::changeBrightnessByAmount, 1.0, 0.9f},
        {"NaN changes nothing", base, colorPrivate::changeBrightnessByAmount, qQNaN(), 0.9f},
    };
    for (const auto& c : cases) {
        const QColor changed = c.change(c.color, c.amount);
        EXPECT_NEAR(changed.valueF(), c.brightness, 1e-4) << c.name;
        EXPECT_NEAR(changed.hsvHueF(), 0.6f, 1e-3) << c.name;
        EXPECT_NEAR(changed.hsvSaturationF(), 0.5f, 1e-3) << c.name;
        EXPECT_NEAR(changed.alphaF(), 0.75f, 1e-4) << c.name;
    }
    EXPECT_EQ(colorPrivate::CGColor(colorPrivate::colorFromHEX(0x336699, 1.0f)), PTCGColorFromHEX(0x336699));
}
