#include "ui/controls/ITSwitch.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTStyles.h"

#include "platform/runtime/Defaults.h"

#include "ThemeScope.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A shown 40 x 22 switch.
struct SwitchFixture {
    SwitchFixture()
    {
        control.resize(40, 22);
        control.show();
    }
    ITSwitch control;
    QSignalSpy toggles{&control, &ITSwitch::userToggled};
};

TEST(SwitchTest, AClickFlipsAndSignalsOnce)
{
    SwitchFixture f;
    QTest::mouseClick(&f.control, Qt::LeftButton, {}, QPoint(5, 11));
    EXPECT_TRUE(f.control.isChecked());
    ASSERT_EQ(f.toggles.count(), 1);
    EXPECT_TRUE(f.toggles.first().at(0).toBool());
    f.control.setChecked(false);
    EXPECT_EQ(f.toggles.count(), 1);
}

TEST(SwitchTest, DragsDecideByTheHalfTheyEndIn)
{
    struct Case {
        const char* name;
        bool checked;
        int endX;
        bool expected;
        int userToggles;
    };
    const Case cases[] = {
        {"off, ends left", false, 8, false, 0},
        {"off, ends right", false, 30, true, 1},
        {"on, ends right", true, 35, true, 0},
        {"on, ends left", true, 4, false, 1},
    };
    for (const Case& c : cases) {
        SwitchFixture f;
        f.control.setChecked(c.checked);
        QTest::mousePress(&f.control, Qt::LeftButton, {}, QPoint(5, 11));
        QMouseEvent move(QEvent::MouseMove, QPointF(c.endX, 11), f.control.mapToGlobal(QPointF(c.endX, 11)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.control, &move);
        EXPECT_TRUE(f.control.hasDragged()) << c.name;
        QTest::mouseRelease(&f.control, Qt::LeftButton, {}, QPoint(c.endX, 11));
        EXPECT_EQ(f.control.isChecked(), c.expected) << c.name;
        EXPECT_EQ(f.toggles.count(), c.userToggles) << c.name;
        EXPECT_FALSE(f.control.hasDragged()) << c.name;
    }
}

TEST(SwitchTest, KnobRectanglesOnA40By22Track)
{
    const qreal rest = 38 / 1.6180340051651;
    const qreal pressed = 38 / 1.38;
    struct Case {
        bool checked;
        bool pressed;
        QRectF knob;
    };
    const Case cases[] = {
        {false, false, QRectF(1, 1, rest, 20)},
        {true, false, QRectF(40 - rest - 1, 1, rest, 20)},
        {false, true, QRectF(1, 1, pressed, 20)},
        {true, true, QRectF(40 - pressed - 1, 1, pressed, 20)},
    };
    for (const Case& c : cases) {
        SwitchFixture f;
        f.control.setChecked(c.checked);
        if (c.pressed)
            QTest::mousePress(&f.control, Qt::LeftButton, {}, QPoint(20, 11));
        const QRectF knob = f.control.rectForKnob();
        EXPECT_NEAR(knob.x(), c.knob.x(), 1e-9);
        EXPECT_NEAR(knob.width(), c.knob.width(), 1e-9);
        EXPECT_EQ(knob.height(), 20);
        EXPECT_EQ(knob.y(), 1);
    }
}

TEST(SwitchTest, KeysAndAccessibilityChangeAnEnabledSwitchOnly)
{
    SwitchFixture f;
    f.control.setFocus();
    QTest::keyClick(&f.control, Qt::Key_Space);
    EXPECT_TRUE(f.control.isChecked());
    QTest::keyClick(&f.control, Qt::Key_Right);
    QTest::keyClick(&f.control, Qt::Key_Left);
    EXPECT_FALSE(f.control.isChecked());
    EXPECT_EQ(f.toggles.count(), 2);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&f.control);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::CheckBox);
    // The press is an animated click: it lands a moment later.
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.control.isChecked(); }, 2000));
    EXPECT_EQ(f.toggles.count(), 3);

    f.control.setEnabled(false);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&f.control, &space);
    QTest::mouseClick(&f.control, Qt::LeftButton, {}, QPoint(5, 11));
    QTest::qWait(300);
    EXPECT_TRUE(f.control.isChecked());
    EXPECT_EQ(f.toggles.count(), 3);
    f.control.setChecked(false);
    EXPECT_FALSE(f.control.isChecked());
}

TEST(SwitchTest, BindingWritesOnlyChanges)
{
    pt::Defaults& defaults = pt::Defaults::standard();
    defaults.set(QStringLiteral("ShowsGrid"), true);
    PTSwitchControl control;
    defaults.bindBool(&control, "checked", QStringLiteral("ShowsGrid"));
    EXPECT_TRUE(control.isChecked());
    QSignalSpy writes(&defaults, &pt::Defaults::changed);
    control.setChecked(true);
    EXPECT_EQ(writes.count(), 0);
    control.resize(40, 22);
    control.show();
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(5, 11));
    EXPECT_FALSE(defaults.boolForKey(QStringLiteral("ShowsGrid")));
    EXPECT_EQ(writes.count(), 1);
    defaults.remove(QStringLiteral("ShowsGrid"));
}

TEST(SwitchTest, TheKitSwitchTakesThePaletteColours)
{
    ThemeScope theme(PTAppearanceDark);
    PTSwitchControl control;
    EXPECT_EQ(control.tintColor(), PTStyles::defaultBlue());
    EXPECT_EQ(control.strokeColor(), PTStyles::defaultControlFieldStrokeColor());
    ThemeScope::set(PTAppearanceAqua);
    EXPECT_EQ(control.strokeColor(), PTStyles::defaultControlFieldStrokeColor());
    EXPECT_FALSE(ITSwitch().strokeColor().isValid());
}

} // namespace
