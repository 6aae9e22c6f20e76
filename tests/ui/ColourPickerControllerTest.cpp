#include "ui/colour/HSBComponents.h"
#include "ui/colour/PTColourPickerController.h"
#include "ui/colour/PTColourPickerHexFormatter.h"
#include "ui/colour/PTColourPickerNumberFormatter.h"
#include "ui/colour/PTSaturationAndBrightnessView.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/controls/PTSheetViewPopupButton.h"

#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Report {
    QColor color;
    QColor original;
};

// A loaded picker that records what it reports.
struct PickerFixture {
    explicit PickerFixture(const QColor& initial, int mode = 0, std::vector<QColor> originals = {},
                           PTColourPickerController::ReplacedColors replaced = {})
        : picker(initial)
    {
        picker.setMode(mode);
        picker.setReplacementColors(originals);
        picker.setReplacedColors(replaced);
        picker.setColorDidChangeHandler(
            [this](const QColor& color, const QColor& original) { reports.push_back({color, original}); });
        picker.ensureLoaded();
    }
    QList<QAction*> items() const { return picker.colorDropdownControl()->menu()->actions(); }
    void finishEditing(PTSheetTextField* field, const QString& text)
    {
        field->setText(text);
        emit field->editingFinished();
    }
    PTColourPickerController picker;
    std::vector<Report> reports;
};

TEST(ColourPickerControllerTest, DropDownListsOriginalsAndPreselectsTheLastMatchSilently)
{
    PickerFixture empty(Qt::red, 1);
    ASSERT_EQ(empty.items().size(), 2);
    EXPECT_EQ(empty.items()[0]->text(), "All Colors");
    EXPECT_TRUE(empty.items()[1]->isSeparator());

    // Green is an original itself and also red's recorded replacement: the later item wins and shows green.
    const QColor green(0, 255, 0), red(255, 0, 0);
    PickerFixture f(green, 1, {green, red}, {{red, green}});
    ASSERT_EQ(f.items().size(), 4);
    EXPECT_EQ(f.items()[2]->text(), "Green (#00FF00)");
    EXPECT_EQ(f.picker.currentReplacementColor(), red);
    EXPECT_EQ(f.picker.color(), green);
    EXPECT_TRUE(f.reports.empty());

    f.picker.colorDropdownControl()->selectItem(f.items()[0]);
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0].color, green);
    EXPECT_FALSE(f.reports[0].original.isValid());
    f.picker.colorDropdownControl()->selectItem(f.items()[2]);
    EXPECT_EQ(f.picker.color(), green);
    EXPECT_EQ(f.reports.back().original, green);
}

TEST(ColourPickerControllerTest, PickingForAnOriginalRecordsAndRetitlesIt)
{
    const QColor red(255, 0, 0), blue(0, 0, 255);
    PickerFixture f(blue, 1, {red, blue});
    ASSERT_EQ(f.picker.currentReplacementColor(), blue);
    PTSaturationAndBrightnessView* square = f.picker.saturationAndBrightnessView();
    QTest::mousePress(square, Qt::LeftButton, {}, QPoint(square->width() / 2, 0));
    ASSERT_EQ(f.reports.size(), 1u);
    const QColor picked = f.reports[0].color;
    EXPECT_NE(picked, blue);
    EXPECT_EQ(f.reports[0].original, blue);
    ASSERT_EQ(f.picker.replacedColors().size(), 1u);
    EXPECT_EQ(f.picker.replacedColors()[0].first, blue);
    EXPECT_EQ(f.picker.replacedColors()[0].second, picked);
    EXPECT_EQ(f.items()[3]->text(), PTColourPickerController::menuItemNameForColor(picked));
    EXPECT_EQ(f.items()[2]->text(), "Red (#FF0000)");

    // Pressing where the colour already is reports nothing more.
    QTest::mousePress(square, Qt::LeftButton, {}, QPoint(square->width() / 2, 0));
    EXPECT_EQ(f.reports.size(), 1u);
}

TEST(ColourPickerControllerTest, FieldsSetTheColourOnlyWhenChanged)
{
    PickerFixture f(QColor(255, 0, 0, 128));
    EXPECT_EQ(f.picker.hexField()->text(), "#FF0000");
    EXPECT_EQ(f.picker.aField()->text(), "50");
    emit f.picker.hexField()->editingFinished();
    emit f.picker.rField()->editingFinished();
    EXPECT_TRUE(f.reports.empty());

    f.finishEditing(f.picker.hexField(), "#abc");
    EXPECT_EQ(f.picker.hexField()->text(), "#AABBCC");
    EXPECT_EQ(f.picker.rField()->text(), "170");
    EXPECT_EQ(f.picker.aField()->text(), "50");
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(HSBComponents::HEXString(f.reports[0].color), "AABBCC");
    EXPECT_NEAR(f.reports[0].color.alphaF(), 128 / 255.0, 1e-3);

    f.finishEditing(f.picker.gField(), "0");
    EXPECT_EQ(f.picker.hexField()->text(), "#AA00CC");
    ASSERT_EQ(f.reports.size(), 2u);

    f.finishEditing(f.picker.hexField(), "#zz");
    EXPECT_EQ(f.picker.hexField()->text(), "#000000");
}

TEST(ColourPickerControllerTest, FormattersRefuseAndClamp)
{
    struct Case {
        const char* input;
        int max;
        bool hex;
        QValidator::State state;
        const char* result;
    };
    const Case cases[] = {
        {"300", 255, false, QValidator::Acceptable, "255"},
        {"150", 100, false, QValidator::Acceptable, "100"},
        {"", 255, false, QValidator::Acceptable, ""},
        {"1234", 255, false, QValidator::Invalid, "1234"},
        {"x", 255, false, QValidator::Invalid, "x"},
        {"-1", 255, false, QValidator::Invalid, "-1"},
        {"ff", 0, true, QValidator::Acceptable, "FF"},
        {"#ff00ff", 0, true, QValidator::Acceptable, "#FF00FF"},
        {"#ff00ff0", 0, true, QValidator::Invalid, "#ff00ff0"},
        {"ff00ff0", 0, true, QValidator::Invalid, "ff00ff0"},
        {"#fg", 0, true, QValidator::Invalid, "#fg"},
    };
    PTColourPickerHexFormatter hex;
    for (const Case& c : cases) {
        PTColourPickerNumberFormatter number(c.max);
        QString text = c.input;
        int pos = int(text.size());
        const QValidator& formatter = c.hex ? static_cast<const QValidator&>(hex) : number;
        EXPECT_EQ(formatter.validate(text, pos), c.state) << c.input;
        EXPECT_EQ(text, c.result) << c.input;
    }
}

TEST(ColourPickerControllerTest, ColourImagesSplitAlongTheDiagonal)
{
    const QImage both = PTColourPickerController::imageForColor(Qt::red, Qt::blue, 16);
    EXPECT_EQ(QColor(both.pixel(4, 4)), QColor(Qt::red));
    EXPECT_EQ(QColor(both.pixel(12, 12)), QColor(Qt::blue));
    const QImage none = PTColourPickerController::imageForColor(QColor(), QColor(), 16);
    EXPECT_GT(qRed(none.pixel(8, 8)), 200);
    EXPECT_LT(qGreen(none.pixel(8, 8)), 80);
    EXPECT_EQ(QColor(none.pixel(4, 4)), QColor(Qt::white));
}

} // namespace
