#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/theme/PTChevron.h"
#include "ui/theme/PTStyles.h"

#include "ThemeScope.h"
#include "TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QToolBar>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

// The ink of a string drawn alone in the font, black on white.
QRect inkOf(const QString& text, const QFont& font)
{
    QImage image(80, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 80, 80), Qt::AlignCenter, text);
    painter.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

QFont sized(QFont font, int pixels, bool bold = false)
{
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

// The label-to-sublabel separator, the grid's section path and the tooltips draw a chevron, never a tall bracket
// that reads as a parenthesis: its ink is at least 0.4 times as wide as it is tall, in every font it is drawn in.
TEST(SegmentLegibilityTest, SeparatorsDrawAsChevrons)
{
    const QList<QFont> fonts{PTStyles::systemFont(11), sized(PTStyles::systemFont(13), 13, true), QToolTip::font(),
                             QApplication::font()};
    for (const QFont& font : fonts) {
        SCOPED_TRACE(font.key().toStdString());
        const QFont large = sized(font, 40, font.bold());
        const QRect ink = inkOf(PTChevron::legible(QStringLiteral("\u27E9"), font), large);
        ASSERT_TRUE(ink.isValid());
        EXPECT_GE(ink.width(), 0.4 * ink.height()) << ink.width() << "x" << ink.height();
        EXPECT_EQ(PTChevron::legible(QStringLiteral("a \u27E9 b \u27E9 c"), font),
                  QStringLiteral("a %1 b %1 c").arg(PTChevron::forFont(font)));
    }
    EXPECT_EQ(PTChevron::legible(QStringLiteral("plain"), QApplication::font()), QStringLiteral("plain"));

    ThemeScope theme(PTAppearanceAqua);
    PTToolbarSegmentedControl control;
    control.setSegmentCount(1);
    control.setSublabeledFromMenus(true);
    control.setLabel(QStringLiteral("Export"), 0);
    control.setSublabel(QStringLiteral("Pictern..."), 0);
    control.resize(180, 24);
    ASSERT_TRUE(control.attributedLabelForSegment(0));
    EXPECT_EQ(control.attributedLabelForSegment(0)->string(),
              QStringLiteral("Export %1 Pictern...").arg(PTChevron::forFont(PTStyles::systemFont(11))));
    EXPECT_EQ(control.accessibleName(), QStringLiteral("Export \u27E9 Pictern..."));
    ASSERT_TRUE(pt::test::writeScreenshot(control.grab().toImage(), QStringLiteral("segment-sublabel-chevron")));
}

// The toolbar's type switch: the selected segment's white label sits on a bezel dark enough to read it, in both
// themes (the style's pressed bezel alone is near-white in the light theme).
TEST(SegmentLegibilityTest, SelectedToolbarSegmentCarriesItsWhiteLabel)
{
    // In a tool bar (the style's bezel) and, as the main window's band has it, 24 high with its own bezel.
    for (const auto& [appearance, ownBezel] : {std::pair{PTAppearanceAqua, false}, {PTAppearanceDark, false},
                                               {PTAppearanceAqua, true}, {PTAppearanceDark, true}}) {
        SCOPED_TRACE(appearance);
        SCOPED_TRACE(ownBezel);
        ThemeScope theme(appearance);
        QToolBar toolbar;
        QWidget band;
        auto* types = new PTToolbarSegmentedControl;
        if (ownBezel)
            types->setCustomHeight(24);
        types->setSegmentCount(4);
        types->setSublabeledFromMenus(true);
        const QStringList labels{QStringLiteral("All"), QStringLiteral("SVG"), QStringLiteral("PDF"),
                                 QStringLiteral("Font")};
        for (int i = 0; i < labels.size(); ++i)
            types->setLabel(labels[i], i);
        types->setSelectedSegment(0);
        QWidget& window = ownBezel ? band : static_cast<QWidget&>(toolbar);
        if (ownBezel) {
            types->setParent(&band);
            types->setAutoCalculatesFrame(true);
        } else {
            toolbar.addWidget(types);
        }
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
        ASSERT_EQ(types->isInTitleBar(), !ownBezel);
        const QImage image = types->grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("type-switch-%1-%2")
                                                         .arg(ownBezel ? "own-bezel" : "tool-bar")
                                                         .arg(appearance == PTAppearanceDark ? "dark" : "light")));
        const QRectF selected = types->rectForSegment(0);
        // The bezel behind the label, beside the text: white text needs it well below white.
        const QColor behind = image.pixelColor(int(selected.x()) + 4, image.height() / 2);
        EXPECT_LT(behind.lightness(), 140) << behind.name().toStdString();
        // An unselected segment keeps the light bezel in the light theme.
        if (appearance == PTAppearanceAqua) {
            const QRectF other = types->rectForSegment(2);
            EXPECT_GT(image.pixelColor(int(other.x()) + 4, image.height() / 2).lightness(), 180);
        }
    }
}

// A label keeps its colour while its window is in the back (a sheet on top, a drop from another program), in
// both themes: what is on screen (the window's backing store) is the same in the key window and out of it, where
// the label once turned the pale grey of a disabled control.
TEST(SegmentLegibilityTest, LabelsKeepTheirColourOutOfTheKeyWindow)
{
    for (const qint64 appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        SCOPED_TRACE(appearance);
        ThemeScope theme(appearance);
        const QString suffix = appearance == PTAppearanceDark ? QStringLiteral("-dark") : QStringLiteral("-light");
        QWidget window;
        auto* button = new PTToolbarSegmentedControl(&window);
        button->setSegmentCount(1);
        button->setSublabeledFromMenus(true);
        button->setLabel(QStringLiteral("Get Started"), 0);
        button->setCustomHeight(24);
        button->setGeometry(10, 10, 120, 24);
        window.resize(140, 44);
        window.show();
        QWidget other;
        other.resize(50, 50);
        other.show();
        const auto labelArea = [&](const QString& name) {
            const QImage onScreen = window.screen()->grabWindow(window.winId()).toImage();
            EXPECT_TRUE(pt::test::writeScreenshot(onScreen, name + suffix));
            return onScreen.copy(QRect(14, 12, 112, 20)).convertToFormat(QImage::Format_ARGB32);
        };
        QImage inKey;
        for (const bool key : {true, false, true}) {
            SCOPED_TRACE(key);
            (key ? window : other).activateWindow();
            ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow() == key; }));
            QApplication::processEvents();
            const QImage area = labelArea(key ? QStringLiteral("segment-label-key-window")
                                              : QStringLiteral("segment-label-back-window"));
            if (inKey.isNull()) {
                inKey = area;
                // The label is drawn: ink of its own, in the control text colour in the light theme.
                int darkest = 255;
                int lightest = 0;
                for (int y = 0; y < area.height(); ++y)
                    for (int x = 0; x < area.width(); ++x) {
                        darkest = std::min(darkest, area.pixelColor(x, y).lightness());
                        lightest = std::max(lightest, area.pixelColor(x, y).lightness());
                    }
                EXPECT_GT(lightest - darkest, 60) << "no label drawn";
                if (appearance == PTAppearanceAqua)
                    EXPECT_LT(darkest, 150) << "the label in the control text colour";
            }
            int changed = 0;
            for (int y = 0; y < area.height(); ++y)
                for (int x = 0; x < area.width(); ++x)
                    changed += area.pixel(x, y) != inKey.pixel(x, y);
            EXPECT_EQ(changed, 0) << "label pixels that change as the window goes to the back";
        }
    }
}
