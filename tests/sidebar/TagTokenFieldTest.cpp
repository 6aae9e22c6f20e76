#include "TestSupport.h"

#include "../ui/ThemeScope.h"
#include "sidebar/inspector/PTTagPopoverContentView.h"
#include "sidebar/inspector/PTTagTokenField.h"
#include "ui/theme/PTStyles.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The colour the layers give when painted in order over an opaque backdrop.
QColor over(const QColor& backdrop, std::initializer_list<QColor> layers)
{
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(backdrop);
    QPainter painter(&pixel);
    for (const QColor& layer : layers)
        painter.fillRect(0, 0, 1, 1, layer);
    painter.end();
    return pixel.pixelColor(0, 0);
}

bool near(const QColor& a, const QColor& b, int tolerance = 3)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

std::string describe(const QColor& colour)
{
    return colour.name().toStdString();
}

// A window with the tags field below another field that holds the focus first.
class TagTokenFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        other = new QLineEdit(&window);
        other->setGeometry(0, 0, 240, 24);
        field = new PTTagTokenField(&window);
        field->setGeometry(0, 30, 240, 30);
        field->setTokens({"alpha", "beta"});
        window.resize(240, 100);
        window.show();
        QApplication::setActiveWindow(&window);
        other->setFocus();
        QObject::connect(field, &PTTagTokenField::didGetInitialFrame, field,
                         [this](PTTagTokenField* sender, const QRect& frame) {
                             reports.push_back({sender, frame, field->textCursor().position()});
                         });
    }
    int caret() const { return field->textCursor().position(); }
    QImage renderOver(const QColor& backdrop) const
    {
        QImage image(field->size(), QImage::Format_ARGB32);
        image.fill(backdrop);
        field->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }
    void placeCaret(int position)
    {
        QTextCursor cursor = field->textCursor();
        cursor.setPosition(position);
        field->setTextCursor(cursor);
    }

    struct Report {
        PTTagTokenField* field;
        QRect frame;
        int caretThen;
    };
    QWidget window;
    QLineEdit* other = nullptr;
    PTTagTokenField* field = nullptr;
    std::vector<Report> reports;
};

// Moving into the field reports its editing area (inside the margins around the tags) before the caret goes
// after the last tag; typing then adds a tag at the end.
TEST_F(TagTokenFieldTest, MovingInReportsTheEditingAreaThenPutsTheCaretAtTheEnd)
{
    placeCaret(0);
    field->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports[0].field, field);
    EXPECT_EQ(reports[0].frame, QRect(8, 7, 240 - 8 - 7, field->height() - 7 - 3));
    EXPECT_EQ(reports[0].frame, field->editorFrame());
    EXPECT_EQ(reports[0].caretThen, 0) << "the listener hears before the caret moves";
    EXPECT_EQ(caret(), 2);
    QTest::keyClicks(field, "gamma,");
    EXPECT_EQ(field->tokens(), QStringList({"alpha", "beta", "gamma"}));
}

// Coming back to the window, or out of a menu, resumes the editing where it was; a click puts the caret where
// it lands.
TEST_F(TagTokenFieldTest, ReturningResumesAndAClickPlacesTheCaret)
{
    field->setFocus(Qt::TabFocusReason);
    placeCaret(1);
    for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(field, &out);
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(field, &in);
        EXPECT_EQ(caret(), 1) << reason;
    }
    EXPECT_EQ(reports.size(), 1U);

    other->setFocus();
    QTest::mouseClick(field->viewport(), Qt::LeftButton, {}, QPoint(10, field->editorFrame().center().y()));
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(reports.size(), 2U);
    EXPECT_EQ(caret(), 0) << "the click on the first tag's left half puts the caret before it";
}

// While the field is edited, its body takes the focused colours around the tags, and the normal ones once editing
// ends; the editing area grows downwards as tags wrap, keeping its width.
TEST_F(TagTokenFieldTest, ScreenshotsWhileEditingAndAfter)
{
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        const bool dark = appearance == PTAppearanceDark;
        SCOPED_TRACE(dark ? "dark" : "light");
        ThemeScope theme(appearance);
        field->setTokens({"alpha", "beta"});
        other->setFocus();
        field->setFocus(Qt::TabFocusReason);
        const QRect oneLine = field->editorFrame();
        QStringList many;
        for (int i = 0; i < 11; ++i)
            many << QStringLiteral("tag%1").arg(i);
        field->setTokens(many);
        QApplication::processEvents();
        EXPECT_EQ(field->editorFrame().width(), oneLine.width());
        EXPECT_GT(field->editorFrame().height(), oneLine.height() + 10);

        const QColor backdrop = PTStyles::sidebarBackgroundColor();
        const QImage editing = renderOver(backdrop);
        ASSERT_TRUE(pt::test::writeScreenshot(editing, dark ? "tag-token-field-editing-dark"
                                                            : "tag-token-field-editing-light"));
        // Right of the last tag on the last line, and at the edge, the focused body shows, without a stroke.
        const QColor focused = over(backdrop, {PTStyles::defaultControlFieldColor(),
                                               PTStyles::defaultControlFocusedBackgroundColor()});
        const QPoint empty(field->width() - 12, field->height() - 6);
        const QPoint edge(0, field->height() / 2);
        EXPECT_TRUE(near(editing.pixelColor(empty), focused)) << describe(editing.pixelColor(empty));
        EXPECT_TRUE(near(editing.pixelColor(edge), focused)) << describe(editing.pixelColor(edge));
        // The first tag's pill is bluer than the body.
        const QColor pill = editing.pixelColor(10, 7 + 4);
        EXPECT_GT(pill.blue() - pill.red(), focused.blue() - focused.red() + 8) << describe(pill);

        // Once editing ends, the body and its stroke take the normal colours.
        other->setFocus();
        const QImage resting = renderOver(backdrop);
        ASSERT_TRUE(pt::test::writeScreenshot(resting, dark ? "tag-token-field-dark" : "tag-token-field-light"));
        const QColor body = over(backdrop, {PTStyles::defaultControlFieldColor()});
        EXPECT_TRUE(near(resting.pixelColor(empty), body)) << describe(resting.pixelColor(empty));
        const QColor stroke = over(body, {PTStyles::defaultControlFieldStrokeColor()});
        EXPECT_TRUE(near(resting.pixelColor(edge), stroke, 12)) << describe(resting.pixelColor(edge));
        EXPECT_FALSE(near(stroke, body, 12)) << "the stroke stands out from the body";
    }
}

// The body of a tag popover is white with a red hairline just above its middle, whatever the theme.
TEST(TagPopoverContentViewTest, WhiteWithARedLineAcrossTheMiddle)
{
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        const bool dark = appearance == PTAppearanceDark;
        SCOPED_TRACE(dark ? "dark" : "light");
        ThemeScope theme(appearance);
        PTTagPopoverContentView view;
        view.resize(120, 20);
        const QImage image = view.grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(image, dark ? "tag-popover-content-dark" : "tag-popover-content-light"));
        for (int y = 0; y < 20; ++y)
            for (const int x : {0, 60, 119})
                EXPECT_EQ(image.pixelColor(x, y), QColor(y == 9 ? Qt::red : Qt::white)) << x << "," << y;
    }
}

} // namespace
