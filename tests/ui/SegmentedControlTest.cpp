#include "ui/controls/PTEventMatchesKeyEquivalent.h"
#include "ui/controls/PTStyledLabel.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/controls/PTToolbarSegmentedControlCell.h"
#include "ui/theme/PTChevron.h"
#include "ui/theme/PTStyles.h"

#include "GalleryPages.h"
#include "ThemeScope.h"

#include <QAction>
#include <QApplication>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

qreal advance(const QString& text, int pixelSize)
{
    return QFontMetricsF(PTStyles::systemFont(pixelSize)).horizontalAdvance(text);
}

// A menu whose items are checked by index.
QMenu* menuWith(QWidget* owner, const QStringList& titles, std::initializer_list<int> checked)
{
    auto* menu = new QMenu(owner);
    for (const QString& title : titles) {
        QAction* action = menu->addAction(title);
        action->setCheckable(true);
    }
    for (int i : checked)
        menu->actions()[i]->setChecked(true);
    return menu;
}

TEST(SegmentedControlTest, SegmentWidthsFollowLabelsIconsAndMinimum)
{
    const QImage icon = GalleryPages::papirusActionIcon(QStringLiteral("view-grid"));
    ASSERT_FALSE(icon.isNull());
    // The separator as the sublabel's font draws it.
    const QString sep = PTChevron::legible(PTToolbarSegmentedControl::DefaultLabelSeperator, PTStyles::systemFont(11));
    struct Case {
        const char* name;
        QString label;
        QString sublabel;
        bool withIcon;
        bool styled;
        qreal minWidth;
        qreal padding;
        qreal expected;
    };
    const Case cases[] = {
        {"empty", {}, {}, false, true, 30, 10, 30},
        {"label", "Grid", {}, false, true, 30, 10, std::max(30.0, advance("Grid", 12) + 20)},
        {"label sublabel icon", "Grid", "px", true, true, 30, 7,
         advance("Grid", 12) + advance(sep, 11) + advance("px", 12) + 14 + 12 + 6},
        {"minimum wins", "a", {}, false, true, 80, 10, 80},
        {"unstyled counts the icon only", "Grid", {}, true, false, 10, 10, 18},
    };
    for (const Case& c : cases) {
        PTToolbarSegmentedControl control;
        control.setSegmentCount(2);
        control.setSublabeledFromMenus(c.styled);
        control.setMinWidth(c.minWidth);
        control.setLabelPadding(c.padding);
        control.setLabel(c.label, 0);
        control.setSublabel(c.sublabel, 0);
        if (c.withIcon)
            control.setImage(icon, 0);
        EXPECT_NEAR(control.widthForSegment(0), c.expected, 1e-9) << c.name;
        EXPECT_EQ(control.widthForSegment(1), c.minWidth) << c.name;
        EXPECT_EQ(control.recalculateWidth(), std::round(2 + c.expected + c.minWidth + 2)) << c.name;
    }
}

TEST(SegmentedControlTest, SublabelsComeFromTheFixedTextOrTheMenu)
{
    QWidget owner;
    struct Case {
        const char* name;
        QString fixed;
        std::initializer_list<int> checked;
        bool allowsFirst;
        int maxLength;
        QString expected; // the styled label's whole text
    };
    const QString sep = PTChevron::legible(PTToolbarSegmentedControl::DefaultLabelSeperator, PTStyles::systemFont(11));
    const Case cases[] = {
        {"fixed over menu", "px", {1}, false, 100, "Size" + sep + "px"},
        {"empty fixed falls back to the menu", "", {1}, false, 100, "Size" + sep + "Medium"},
        {"first item on gives none", "", {0, 2}, false, 100, "Size"},
        {"first item allowed", "", {0, 2}, true, 100, "Size" + sep + "Small"},
        {"nothing checked", "", {}, true, 100, "Size"},
        {"exactly the maximum is whole", "", {2}, false, 5, "Size" + sep + "Large"},
        {"one over is cut", "", {1}, false, 5, "Size" + sep + "Me..."},
        {"a maximum below 3 is 3", "", {1}, false, 1, "Size" + sep + "..."},
    };
    for (const Case& c : cases) {
        PTToolbarSegmentedControl control;
        control.setSegmentCount(1);
        control.setSublabeledFromMenus(true);
        control.setLabel(QStringLiteral("Size"), 0);
        control.setAllowsFirstMenuItemAsSublabel(c.allowsFirst);
        control.setMaxSublabelLength(c.maxLength);
        control.setMenu(menuWith(&owner, {"Small", "Medium", "Large"}, c.checked), 0);
        control.setSublabel(c.fixed, 0);
        const PTStyledLabel* styled = control.attributedLabelForSegment(0);
        ASSERT_NE(styled, nullptr) << c.name;
        EXPECT_EQ(styled->string(), c.expected) << c.name;
    }

    PTToolbarSegmentedControl plain;
    plain.setSegmentCount(1);
    plain.setLabel(QStringLiteral("Size"), 0);
    plain.setSublabel(QStringLiteral("px"), 0);
    EXPECT_EQ(plain.attributedLabelForSegment(0), nullptr);
    // Read aloud, the name keeps the angle bracket; only what is drawn changes.
    EXPECT_EQ(plain.accessibleName(), "Size" + PTToolbarSegmentedControl::DefaultLabelSeperator + "px");
    // A segment out of range is ignored.
    plain.setLabel(QStringLiteral("Lost"), 3);
    EXPECT_EQ(plain.label(3), QString());
}

TEST(SegmentedControlTest, ALoneSegmentFollowsTheFrame)
{
    const QString wide = QStringLiteral("A label far wider than the control's frame");
    struct Case {
        const char* name;
        bool obey;
        qreal expected;
    };
    const Case cases[] = {
        {"follows the frame", false, 120 - 2},
        {"obeys the minimum", true, std::max(40.0, advance(wide, 12) + 20)},
    };
    for (const Case& c : cases) {
        PTToolbarSegmentedControl control;
        control.resize(120, 20);
        control.show();
        control.setSublabeledFromMenus(true);
        control.setMinWidth(40);
        control.setObeyMinWidthForSingleSegment(c.obey);
        control.setSegmentCount(1);
        control.setLabel(wide, 0);
        EXPECT_NEAR(control.widthForSegment(0), c.expected, 1e-9) << c.name;
    }

    PTToolbarSegmentedControl control;
    control.setMinWidth(44);
    control.resize(200, 20);
    control.show();
    control.setSegmentCount(1);
    EXPECT_EQ(control.minWidth(), 196);
    EXPECT_EQ(control.trackingMode(), PTToolbarSegmentedControl::Momentary);
    control.resize(150, 20);
    EXPECT_EQ(control.widthForSegment(0), 146);
    control.setSegmentCount(2);
    EXPECT_EQ(control.minWidth(), 44);
    EXPECT_EQ(control.trackingMode(), PTToolbarSegmentedControl::SelectOne);
    control.setMinWidth(50);
    control.setSegmentCount(1);
    control.setSegmentCount(2);
    EXPECT_EQ(control.minWidth(), 50);

    // A frame the control sets itself does not shrink the segment again and again.
    PTToolbarSegmentedControl sizing;
    sizing.resize(100, 20);
    sizing.show();
    sizing.setSegmentCount(1);
    sizing.setAutoCalculatesFrame(true);
    // Frame 100: minimum 96, one point per segment and two more.
    EXPECT_EQ(sizing.width(), 99);
    sizing.recalculateWidth();
    EXPECT_EQ(sizing.width(), 99);
}

TEST(SegmentedControlTest, HeightAndAccentStyle)
{
    PTToolbarSegmentedControl control;
    control.setCustomHeight(28);
    EXPECT_EQ(control.height(), 28);
    control.setCustomHeight(0);
    EXPECT_EQ(control.height(), 20);

    ThemeScope theme(PTAppearanceAqua);
    control.setConfirmationStyle(true);
    EXPECT_EQ(control.strokeColor(), PTStyles::defaultControlGradientStrokeColor());
    control.setEnabled(false);
    EXPECT_FALSE(control.confirmationStyle());
    control.setEnabled(true);
    EXPECT_TRUE(control.confirmationStyle());

    PTToolbarSegmentedControl plain;
    plain.setEnabled(false);
    plain.setEnabled(true);
    EXPECT_FALSE(plain.confirmationStyle());
}

// Segments of different widths: the selection tint and the separator sit on the segment itself.
TEST(SegmentedControlTest, TheOwnBezelTintsTheSelectedSegmentWhereItIs)
{
    ThemeScope theme(PTAppearanceAqua);
    PTToolbarSegmentedControl control;
    control.setSegmentCount(2);
    control.setCustomHeight(24);
    control.setMinWidth(100);
    control.setObeyMinWidthForSingleSegment(true);
    control.setAutoCalculatesFrame(true);
    control.setSelectedSegment(1);
    control.setMinWidth(30);
    control.setSublabeledFromMenus(true);
    control.setLabel(QStringLiteral("A label that makes the first segment wide"), 0);
    const QRectF first = control.rectForSegment(0);
    const QRectF second = control.rectForSegment(1);
    ASSERT_GT(first.width(), 2 * second.width());
    const QImage image = control.grab().toImage();
    // The light theme's selected segment is dark enough to carry its white label.
    EXPECT_EQ(image.pixelColor(int(second.x()) + 4, 3).red(), PTStyles::toolbarIconTemplateColor().red());
    // Where segment index x segment width would put the tint: still inside the first segment.
    EXPECT_EQ(image.pixelColor(int(second.width()) + 4, 3).red(), 255);
    const QColor separator = image.pixelColor(int(second.x()) - 1, 12);
    EXPECT_LT(separator.red(), 240);
}

TEST(SegmentedControlTest, KeyEquivalentsMatchKeysAndModifiers)
{
    const auto none = Qt::NoModifier;
    const auto shift = Qt::ShiftModifier;
    const auto ctrl = Qt::ControlModifier;
    struct Case {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        Qt::KeyboardModifiers mask;
        QString equivalent;
        bool matches;
    };
    const Case cases[] = {
        {"printable", Qt::Key_N, ctrl, "\x0e", ctrl, "n", true},
        {"printable ignores Shift", Qt::Key_Slash, ctrl | shift, "/", ctrl, "/", true},
        {"printable without Shift in the mask's Shift", Qt::Key_Slash, ctrl, "/", ctrl | shift, "/", true},
        {"missing Command", Qt::Key_N, none, "n", ctrl, "n", false},
        {"extra Option", Qt::Key_N, ctrl | Qt::AltModifier, "n", ctrl, "n", false},
        {"other key", Qt::Key_M, ctrl, "m", ctrl, "n", false},
        {"return", Qt::Key_Return, none, "\r", none, "\r", true},
        {"return compares Shift", Qt::Key_Return, shift, "\r", none, "\r", false},
        {"escape", Qt::Key_Escape, none, "\x1b", none, "\x1b", true},
        {"escape with Shift in the mask", Qt::Key_Escape, shift, "\x1b", shift, "\x1b", true},
        {"F-key compares Shift", Qt::Key_F5, shift, {}, none, "F5", false},
        {"F-key", Qt::Key_F5, none, {}, none, "F5", true},
        {"empty never matches", Qt::Key_N, none, "n", none, "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PTEventMatchesKeyEquivalent(c.key, c.modifiers, c.text, c.mask, c.equivalent), c.matches) << c.name;

    PTToolbarSegmentedControl control;
    control.setSegmentCount(1);
    control.setKeyEquivalent(QStringLiteral("\r"));
    QSignalSpy actions(&control, &PTToolbarSegmentedControl::action);
    EXPECT_TRUE(control.performKeyEquivalent(Qt::Key_Return, none, QStringLiteral("\r")));
    control.setEnabled(false);
    EXPECT_FALSE(control.performKeyEquivalent(Qt::Key_Return, none, QStringLiteral("\r")));
    control.setEnabled(true);
    control.setSegmentCount(2);
    EXPECT_FALSE(control.performKeyEquivalent(Qt::Key_Return, none, QStringLiteral("\r")));
    EXPECT_EQ(actions.count(), 1);

    // Heard at the window when the focused widget passes the key on.
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* focus = new QWidget;
    focus->setFocusPolicy(Qt::StrongFocus);
    auto* ok = new PTToolbarSegmentedControl;
    ok->setSegmentCount(1);
    ok->setKeyEquivalent(QStringLiteral("\x1b"));
    layout->addWidget(focus);
    layout->addWidget(ok);
    window.show();
    focus->setFocus();
    QSignalSpy okActions(ok, &PTToolbarSegmentedControl::action);
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_EQ(okActions.count(), 1);
    // A hidden control is not there to be clicked.
    ok->hide();
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_EQ(okActions.count(), 1);
}

TEST(SegmentedControlTest, PressesClickOrOpenTheMenu)
{
    QWidget window;
    auto* control = new PTToolbarSegmentedControl(&window);
    control->setSegmentCount(2);
    control->setMinWidth(60);
    QMenu* menu = menuWith(&window, {"One", "Two"}, {});
    control->setMenu(menu, 1);
    control->resize(control->sizeHint());
    window.show();
    QSignalSpy actions(control, &PTToolbarSegmentedControl::action);

    const QRectF second = control->rectForSegment(1);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(int(second.x()) + 5, 5));
    EXPECT_EQ(actions.count(), 1);
    EXPECT_EQ(control->selectedSegment(), 1);
    EXPECT_FALSE(menu->isVisible());

    // The far corner opens the menu at once and sends nothing.
    QTest::mousePress(control, Qt::LeftButton, {}, QPoint(int(second.right()) - 3, 17));
    EXPECT_TRUE(menu->isVisible());
    menu->close();
    QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(int(second.right()) - 3, 17));
    EXPECT_EQ(actions.count(), 1);

    // A segment without a menu has no hot spot.
    const QRectF first = control->rectForSegment(0);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(int(first.right()) - 3, 17));
    EXPECT_EQ(actions.count(), 2);
    EXPECT_EQ(actions.last().at(0).toInt(), 0);

    // A press held past the style's delay opens the menu too, and its release sends nothing.
    const QPoint middle(int(second.x()) + 5, 5);
    QTest::mousePress(control, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 3000));
    menu->close();
    QTest::mouseRelease(control, Qt::LeftButton, {}, middle);
    EXPECT_EQ(actions.count(), 2);
}

TEST(SegmentedControlTest, SegmentLooksFollowSelectionKeyAndHover)
{
    ThemeScope theme(PTAppearanceAqua);
    QWidget window;
    auto* control = new PTToolbarSegmentedControl(&window);
    control->setSegmentCount(2);
    control->setMinWidth(60);
    control->setMenu(menuWith(&window, {"One"}, {}), 1);
    control->setSelectedSegment(0);
    control->resize(control->sizeHint());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::mouseMove(control, control->rectForSegment(1).center().toPoint());
    ASSERT_EQ(control->hoverSegment(), 1);

    QWidget other;
    const QColor grey(0xB2, 0xB2, 0xB2);
    struct Case {
        const char* name;
        std::function<void()> state;
        int segment;
        QColor text;
        qreal iconAlpha;
        bool arrow;
    };
    const Case cases[] = {
        {"selected", [] {}, 0, Qt::white, 1, false},
        {"hovered with a menu", [] {}, 1, QColor(), 1, true},
        {"disabled", [&] { control->setEnabled(false); }, 1, grey, 0.5, true},
        {"disabled accent", [&] { control->setConfirmationStyle(true); control->setEnabled(false); }, 1, grey, 0.5,
         true},
        // A window in the back keeps its labels and icons as they are: only the hover arrow goes.
        {"not key", [&] {
             control->setConfirmationStyle(false);
             other.show();
             QApplication::setActiveWindow(&other);
         }, 1, QColor(), 1,
         false},
        {"selected, not key", [] {}, 0, Qt::white, 1, false},
        {"disabled, not key", [&] { control->setEnabled(false); }, 1, grey, 0.5, false},
    };
    for (const Case& c : cases) {
        c.state();
        const auto look = control->cell().lookForSegment(*control, c.segment);
        EXPECT_EQ(look.textColor, c.text) << c.name;
        EXPECT_EQ(look.iconAlpha, c.iconAlpha) << c.name;
        EXPECT_EQ(look.drawsArrow, c.arrow && control->isKey()) << c.name;
        control->setEnabled(true);
    }
    // An enabled accent control keeps its own label colours out of the key window.
    control->setConfirmationStyle(true);
    EXPECT_FALSE(control->cell().lookForSegment(*control, 1).textColor.isValid());
}

TEST(SegmentedControlTest, IconsAreTintedAndToolbarsGetThePlatformBezel)
{
    ThemeScope theme(PTAppearanceAqua);
    const QImage icon = GalleryPages::papirusActionIcon(QStringLiteral("list-add"));
    PTToolbarSegmentedControl control;
    control.setSegmentCount(1);
    control.setImage(icon, 0);
    const QImage tinted = control.image(0);
    int opaque = 0;
    for (int y = 0; y < tinted.height(); ++y) {
        for (int x = 0; x < tinted.width(); ++x) {
            const QColor pixel = tinted.pixelColor(x, y);
            EXPECT_EQ(pixel.alpha(), icon.pixelColor(x, y).alpha());
            if (pixel.alpha() > 0x80) {
                ++opaque;
                const QColor tint = PTStyles::toolbarIconTemplateColor();
                EXPECT_NEAR(pixel.red(), tint.red(), 2);
                EXPECT_NEAR(pixel.blue(), tint.blue(), 2);
            }
        }
    }
    EXPECT_GT(opaque, 0);

    QToolBar toolbar;
    auto* inBar = new PTToolbarSegmentedControl;
    toolbar.addWidget(inBar);
    EXPECT_TRUE(inBar->isInTitleBar());
    EXPECT_FALSE(control.isInTitleBar());
}

TEST(StyledLabelTest, LongLabelsAreCutInTheMiddleAcrossRuns)
{
    PTStyledLabel label;
    label.append(QStringLiteral("Export everything"), PTStyles::systemFont(12), Qt::black);
    label.append(QStringLiteral(" \u27E9 "), PTStyles::systemFont(11), Qt::gray);
    label.append(QStringLiteral("at every size"), PTStyles::systemFont(12), Qt::gray);
    EXPECT_EQ(label.fittedTo(label.width()).string(), label.string());
    const PTStyledLabel cut = label.fittedTo(label.width() / 2);
    EXPECT_LE(cut.width(), label.width() / 2);
    EXPECT_TRUE(cut.string().startsWith(QStringLiteral("Export")));
    EXPECT_TRUE(cut.string().endsWith(QStringLiteral("size")));
    EXPECT_TRUE(cut.string().contains(QStringLiteral("...")));
    // The tail keeps its run's colour.
    EXPECT_EQ(cut.runs().back().color, QColor(Qt::gray));
    EXPECT_TRUE(label.fittedTo(2).isEmpty());

    // A segment squeezed below nothing (a window narrower than its controls) draws nothing, and returns.
    QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (qreal width : {0.0, -2.0})
        label.draw(painter, 0, 15, width, Qt::black);
    PTStyledLabel().draw(painter, 0, 15, -2, Qt::black);
    painter.end();
    EXPECT_EQ(image.pixelColor(20, 10), QColor(Qt::white));
}

// Cut at the end, a line keeps its start whole and ends in "...".
TEST(StyledLabelTest, CutAtTheEndKeepsTheStart)
{
    PTStyledLabel label;
    label.append(QStringLiteral("Open in"), PTStyles::systemFont(12), Qt::black);
    label.append(QStringLiteral(" \u27E9 "), PTStyles::systemFont(11), Qt::gray);
    label.append(QStringLiteral("Image Viewer (colour depth=q16)"), PTStyles::systemFont(12), Qt::gray);
    const PTStyledLabel cut = label.fittedTo(label.width() * 0.7, Qt::ElideRight);
    EXPECT_LE(cut.width(), label.width() * 0.7);
    EXPECT_TRUE(cut.string().startsWith(QStringLiteral("Open in \u27E9 Image"))) << cut.string().toStdString();
    EXPECT_TRUE(cut.string().endsWith(QStringLiteral("..."))) << cut.string().toStdString();
    EXPECT_EQ(label.fittedTo(label.width(), Qt::ElideRight).string(), label.string());
}

// A segment squeezed below nothing (a negative width) draws nothing, rather than cutting the label forever.
TEST(StyledLabelTest, NoRoomDrawsNothing)
{
    PTStyledLabel label;
    label.append(QStringLiteral("Add"), PTStyles::systemFont(12), Qt::black);
    QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (qreal width : {0.0, -1.0, -30.0})
        label.draw(painter, 2, 15, width, Qt::black);
    painter.end();
    EXPECT_EQ(image.pixelColor(5, 10), QColor(Qt::white));
}

} // namespace
