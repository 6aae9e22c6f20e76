#include "TestSupport.h"

#include "sidebar/inspector/PTSideBarTokenField.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

const QString Token = QString(QChar(QChar::ObjectReplacementCharacter));

void leave(QWidget* field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

} // namespace

// Commas and leaving the field turn typed text into tokens; the value is the tokens, with any text still being
// typed read as tokens too; only user edits are announced.
TEST(TokenFieldTest, CommasAndLeavingMakeTokens)
{
    PTSideBarTokenField field;
    field.resize(240, 30);
    EXPECT_FALSE(field.accessibleName().isEmpty());
    QSignalSpy changed(&field, &PTSideBarTokenField::tokensChanged);

    QTest::keyClicks(&field, QStringLiteral("a,b,"));
    EXPECT_EQ(field.tokens(), (QStringList{"a", "b"}));
    EXPECT_EQ(field.toPlainText(), Token + Token) << "both parts are tokens, the commas are gone";

    QTest::keyClicks(&field, QStringLiteral(" c d "));
    EXPECT_EQ(field.tokens(), (QStringList{"a", "b", "c d"})) << "typed text counts before it is a token";
    leave(&field);
    EXPECT_EQ(field.toPlainText(), Token + Token + Token);
    EXPECT_EQ(field.tokens(), (QStringList{"a", "b", "c d"}));

    QTest::keyClicks(&field, QStringLiteral(",, ,"));
    EXPECT_EQ(field.tokens(), (QStringList{"a", "b", "c d"})) << "empty parts make no tokens";
    EXPECT_GE(changed.count(), 3);

    changed.clear();
    field.setTokens({"x", " ", "y"});
    EXPECT_EQ(field.tokens(), (QStringList{"x", "y"}));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(field.document()->isUndoAvailable());
}

// The caret moves between tokens: pasting "x, y" there inserts two tokens in place, undo takes them out again,
// and copying writes the tokens as text.
TEST(TokenFieldTest, PasteBetweenTokensUndoAndCopy)
{
    PTSideBarTokenField field;
    field.resize(240, 30);
    field.setTokens({"a", "b"});
    QTextCursor caret = field.textCursor();
    caret.setPosition(1);
    field.setTextCursor(caret);

    QApplication::clipboard()->setText(QStringLiteral("x, y"));
    field.paste();
    EXPECT_EQ(field.tokens(), (QStringList{"a", "x", "y", "b"}));
    EXPECT_EQ(field.toPlainText(), Token + Token + Token + Token);

    QTest::keyClicks(&field, QStringLiteral("z"));
    EXPECT_EQ(field.tokens(), (QStringList{"a", "x", "y", "z", "b"})) << "typing goes where the caret is";

    field.undo();
    field.undo();
    EXPECT_EQ(field.tokens(), (QStringList{"a", "b"}));

    field.selectAll();
    field.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a, b"));
}

// The field is as tall as its tokens at its width: more tokens or a narrower column make it taller, and
// clearing brings it back to one line.
TEST(TokenFieldTest, HeightFollowsTokensAndWidth)
{
    QWidget column;
    auto* layout = new QVBoxLayout(&column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* field = new PTSideBarTokenField(&column);
    layout->addWidget(field);
    layout->addStretch();
    column.resize(240, 400);
    column.show();
    QApplication::processEvents();
    const int oneLine = field->height();
    EXPECT_GT(oneLine, 16);
    EXPECT_LT(oneLine, 40);

    QStringList many;
    for (int i = 0; i < 20; ++i)
        many << QStringLiteral("tag%1").arg(i);
    field->setTokens(many);
    QApplication::processEvents();
    const int wide = field->height();
    EXPECT_GT(wide, 2 * oneLine - 10);
    EXPECT_EQ(wide, field->heightForWidth(240));

    column.resize(120, 400);
    QApplication::processEvents();
    EXPECT_GT(field->height(), wide);

    field->setTokens({});
    QApplication::processEvents();
    EXPECT_EQ(field->height(), oneLine);
}

// The stroke and text colours come back from the palette whenever the appearance changes, whatever was set.
TEST(TokenFieldTest, AppearanceRestoresThemeColours)
{
    PTThemeController& theme = PTThemeController::defaultController();
    const int before = theme.appearance();
    PTSideBarTokenField field;
    for (const int appearance : {PTAppearanceDark, PTAppearanceAqua}) {
        field.setStrokeColor(Qt::red);
        theme.setAppearance(appearance == PTAppearanceDark ? PTAppearanceAqua : PTAppearanceDark);
        theme.setAppearance(appearance);
        EXPECT_EQ(field.strokeColor(), PTStyles::defaultControlFieldStrokeColor()) << appearance;
        EXPECT_EQ(field.palette().color(QPalette::Active, QPalette::Text), PTStyles::defaultControlTextColor());
    }
    EXPECT_NE(PTStyles::defaultControlTextColor(), QColor(Qt::red));
    theme.setAppearance(before);
}
