#include "ui/controls/PTAutoHeightTextField.h"
#include "ui/controls/PTButton.h"
#include "ui/controls/PTClickableTextField.h"
#include "ui/controls/PTSheetButton.h"
#include "ui/controls/PTSmallTextLabel.h"
#include "ui/theme/PTStyles.h"

#include "ThemeScope.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(LabelTest, TextColoursFollowTheTheme)
{
    ThemeScope theme(PTAppearanceAqua);
    PTTitleLabel label(QStringLiteral("Name"));
    PTSmallTextLabel small(QStringLiteral("Show all"));
    EXPECT_EQ(label.textColor(), QColor(0x83, 0x83, 0x83));
    EXPECT_EQ(small.textColor(), QColor(0x90, 0x90, 0x90));

    ThemeScope::set(PTAppearanceDark);
    EXPECT_EQ(label.textColor(), PTStyles::defaultDarkModeWhite());
    EXPECT_EQ(small.textColor(), QColor::fromRgbF(1, 1, 1, 0.4f));

    label.setAppearanceDarkColor(Qt::red);
    EXPECT_EQ(label.textColor(), QColor(Qt::red));
}

TEST(LabelTest, ClickableLabelsClickUnlessTheyLetClicksThrough)
{
    QWidget window;
    auto* label = new PTClickableTextField(QStringLiteral("Open"), &window);
    label->resize(60, 20);
    window.show();
    QSignalSpy clicks(label, &PTClickableTextField::clicked);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(label->selectedText().isEmpty());

    label->setIgnoreMouseEvents(true);
    EXPECT_EQ(window.childAt(QPoint(5, 5)), nullptr);

    label->setEnabled(false);
    EXPECT_DOUBLE_EQ(label->opacity(), 0.7);
    label->setEnabled(true);
    EXPECT_DOUBLE_EQ(label->opacity(), 1.0);
}

TEST(LabelTest, AutoHeightLabelsFitTheirTextAtTheirWidth)
{
    PTAutoHeightTextField field(QStringLiteral("Short"));
    field.resize(120, field.height());
    const int oneLine = field.height();
    QSignalSpy frames(&field, &PTAutoHeightTextField::frameChanged);
    field.setText(QStringLiteral("A much longer text that cannot fit on one line of a narrow label at all"));
    EXPECT_GT(field.height(), oneLine);
    EXPECT_EQ(frames.count(), 1);
    // A new height alone does not refit.
    field.resize(120, 5);
    EXPECT_EQ(field.height(), 5);
}

TEST(ButtonTest, ConfirmationStyleRestoresThePaletteStroke)
{
    ThemeScope theme(PTAppearanceAqua);
    PTButton button(QStringLiteral("Apply"));
    button.setStrokeColor(Qt::green);
    button.setConfirmationStyle(true);
    EXPECT_EQ(button.strokeColor(), PTStyles::defaultControlGradientStrokeColor());
    button.setConfirmationStyle(false);
    EXPECT_EQ(button.strokeColor(), PTStyles::defaultControlStrokeColor());
    ThemeScope::set(PTAppearanceDark);
    EXPECT_EQ(button.strokeColor(), PTStyles::defaultControlStrokeColor());
    EXPECT_EQ(button.accessibleName(), QStringLiteral("Apply"));
}

TEST(ButtonTest, SheetButtonsLookTheSameInBothThemesAndKeepTheirTitleInside)
{
    ThemeScope theme(PTAppearanceAqua);
    PTSheetAcceptButton accept(QStringLiteral("Export everything in this set at every size"));
    accept.resize(90, 25);
    const QImage light = accept.grab().toImage();
    ThemeScope::set(PTAppearanceDark);
    EXPECT_EQ(accept.grab().toImage(), light);
    // Truncated at the tail: nothing is drawn in the 10-pixel margins beyond the bezel's stroke.
    const QColor margin = light.pixelColor(5, 12);
    EXPECT_GT(margin.blue(), margin.red());
}

} // namespace
