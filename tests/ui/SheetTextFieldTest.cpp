#include "ui/controls/PTSheetAutoExpandingTextField.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/theme/PTStyles.h"

#include "ThemeScope.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SheetTextFieldTest, CornersFollowTheirRadii)
{
    ThemeScope theme(PTAppearanceDark);
    PTSheetTextField field;
    field.resize(120, 22);
    field.setBorderRadius(0);
    const QColor fill = PTStyles::defaultControlFieldColor();
    // Inside the stroke, one pixel in from the corner.
    EXPECT_EQ(field.grab().toImage().pixelColor(1, 1), fill);
    field.setTopLeftBorderRadius(6);
    const QImage image = field.grab().toImage();
    EXPECT_NE(image.pixelColor(1, 1), fill);
    EXPECT_EQ(image.pixelColor(118, 1), fill);
    EXPECT_EQ(image.pixelColor(1, 19), fill);
}

TEST(SheetTextFieldTest, ADisabledFieldRefusesFocusAndTheThemeResetsItsColours)
{
    ThemeScope theme(PTAppearanceAqua);
    QWidget window;
    auto* field = new PTSheetTextField(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    field->setEnabled(false);
    field->setFocus();
    EXPECT_FALSE(field->hasFocus());
    field->setEnabled(true);
    field->setFocus();
    EXPECT_TRUE(field->hasFocus());

    field->setStrokeColor(Qt::red);
    ThemeScope::set(PTAppearanceDark);
    EXPECT_EQ(field->strokeColor(), PTStyles::defaultControlFieldStrokeColor());
    EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Text), PTStyles::defaultControlTextColor());
}

TEST(SheetTextFieldTest, TheExpandingFieldFitsItsText)
{
    QWidget window;
    auto* field = new PTSheetAutoExpandingTextField(&window);
    field->resize(140, 10);
    window.show();
    const int lineHeight = int(std::ceil(QFontMetricsF(PTStyles::systemFont(12)).lineSpacing()));
    // One line, the five points above the text and seven below.
    const int oneLine = field->height();
    EXPECT_NEAR(oneLine, lineHeight + 5 + 7, 1);

    QSignalSpy frames(field, &PTSheetAutoExpandingTextField::frameChanged);
    field->setPlainText(QStringLiteral("A description long enough to wrap over several lines of a narrow field"));
    const int grown = field->height();
    EXPECT_GT(grown, oneLine + 2 * lineHeight - 2);
    EXPECT_EQ(frames.count(), 1);
    EXPECT_FALSE(field->verticalScrollBar()->isVisible());

    field->resize(140, 200);
    EXPECT_EQ(field->height(), 200);
    field->resize(400, 200);
    EXPECT_LT(field->height(), grown);

    field->resize(140, 200);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->toPlainText(), QString());
    EXPECT_EQ(field->height(), oneLine);
}

} // namespace
