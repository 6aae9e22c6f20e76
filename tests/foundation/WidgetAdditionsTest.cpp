#include "foundation/MenuAdditions.h"
#include "foundation/ScreenAdditions.h"
#include "foundation/ViewAdditions.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

TEST(ViewAdditionsTest, FirstResponderNeedsFocusInTheActiveWindow)
{
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    second->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->hasFocus(); }));
    EXPECT_TRUE(viewAdditions::isFirstResponder(second));
    EXPECT_FALSE(viewAdditions::isFirstResponder(first));
    EXPECT_FALSE(viewAdditions::isFirstResponder(&window));

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(viewAdditions::isFirstResponder(second)) << "its window is no longer active";

    QLineEdit hidden;
    EXPECT_FALSE(viewAdditions::isFirstResponder(&hidden));
    EXPECT_FALSE(viewAdditions::isFirstResponder(nullptr));
}

TEST(MenuAdditionsTest, PerformsOnlyItsOwnItems)
{
    QMenu menu;
    QAction* own = menu.addAction(QStringLiteral("PNG"));
    QMenu other;
    QAction* foreign = other.addAction(QStringLiteral("JPG"));
    QSignalSpy ownSpy(own, &QAction::triggered);
    QSignalSpy foreignSpy(foreign, &QAction::triggered);

    menuAdditions::performActionForItem(&menu, own);
    menuAdditions::performActionForItem(&menu, foreign);
    menuAdditions::performActionForItem(&menu, nullptr);
    EXPECT_EQ(ownSpy.count(), 1);
    EXPECT_EQ(foreignSpy.count(), 0);
}

TEST(ScreenAdditionsTest, ScalesComeFromTheScreens)
{
    QScreen* primary = screenAdditions::primaryScreen();
    ASSERT_NE(primary, nullptr);
    EXPECT_EQ(primary, QGuiApplication::primaryScreen());
    EXPECT_EQ(screenAdditions::scale(primary), primary->devicePixelRatio());
    EXPECT_EQ(screenAdditions::scale(nullptr), 1.0);
    EXPECT_GE(screenAdditions::scale(), 1.0);
}
