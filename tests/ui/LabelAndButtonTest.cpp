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

TEST(ButtonTest, APlainButtonDrawsItsBezelOnly)
{
    PTButton button(QStringLiteral("Add"));
    button.resize(60, 24);
    const QImage bare = button.grab().toImage();
    button.setText(QStringLiteral("Add"));
    button.setIcon(QIcon(QPixmap(16, 16)));
    EXPECT_EQ(button.grab().toImage(), bare);
}

TEST(ButtonTest, PressedSheetButtons)
{
    PTSheetCloseButton close(QStringLiteral("Cancel"));
    close.resize(90, 25);
    EXPECT_EQ(close.grab().toImage().pixelColor(4, 12), QColor(Qt::white));
    close.setDown(true);
    EXPECT_EQ(close.grab().toImage().pixelColor(4, 12), QColor(0xFB, 0xFC, 0xFC));

    // The accept button keeps its gradient when pressed but drops its shadow below the bezel.
    PTSheetAcceptButton accept(QStringLiteral("OK"));
    accept.resize(90, 25);
    QImage image = accept.grab().toImage();
    const QColor shadowed = image.pixelColor(45, 24);
    const QColor gradient = image.pixelColor(4, 12);
    accept.setDown(true);
    image = accept.grab().toImage();
    EXPECT_EQ(image.pixelColor(4, 12), gradient);
    const QColor background = accept.palette().color(QPalette::Window);
    EXPECT_NE(shadowed, background);
    EXPECT_EQ(image.pixelColor(45, 24), background);
}

} // namespace
