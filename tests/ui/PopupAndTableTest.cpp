#include "ui/controls/PTMenuItem.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/controls/PTTableView.h"

#include "GalleryPages.h"

#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(PopupButtonTest, TheTitleFollowsTheIconAndStaysOffTheArrow)
{
    QMenu menu;
    QAction* plain = menu.addAction(QStringLiteral("A very long title that cannot fit in the button at all"));
    QMenu* sub = menu.addMenu(QStringLiteral("More"));
    QAction* withIcon =
        sub->addAction(QIcon(QPixmap::fromImage(GalleryPages::papirusActionIcon(QStringLiteral("document-save"), 16))),
                       QStringLiteral("PNG"));
    PTSheetViewPopupButton button;
    button.resize(120, 24);
    button.setPopupMenu(&menu);
    EXPECT_EQ(button.selectedItem(), plain);

    QRectF title = button.titleRect();
    EXPECT_EQ(title.x(), 10);
    EXPECT_LE(title.right(), 120 - 19);

    // An item of a submenu is chosen like any other.
    withIcon->trigger();
    EXPECT_EQ(button.selectedItem(), withIcon);
    EXPECT_EQ(button.accessibleName(), QStringLiteral("PNG"));
    title = button.titleRect();
    EXPECT_EQ(title.x(), 16 + 10);
    EXPECT_LE(title.right(), 120 - 19);

    button.resize(30, 24);
    EXPECT_GE(button.titleRect().width(), 0);
}

TEST(MenuItemTest, HandlersAreReplacedAndCleared)
{
    PTMenuItem item(QStringLiteral("Rename"));
    int first = 0;
    int second = 0;
    item.setCallHandler([&] { ++first; });
    item.setCallHandler([&] { ++second; });
    item.trigger();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    item.setCallHandler({});
    item.trigger();
    EXPECT_EQ(second, 1);
}

TEST(TableViewTest, DoubleClicksBelowTheRowsSignalAndOnARowDoNothing)
{
    QStandardItemModel model(2, 1);
    model.setItem(0, 0, new QStandardItem(QStringLiteral("Material")));
    model.setItem(1, 0, new QStandardItem(QStringLiteral("Papirus")));
    PTTableView table;
    table.setModel(&model);
    table.setEditTriggers(QAbstractItemView::DoubleClicked);
    table.resize(200, 200);
    table.show();
    QSignalSpy empty(&table, &PTTableView::doubleClickedEmptySpace);
    QSignalSpy rows(&table, &QAbstractItemView::doubleClicked);

    const QPoint onRow = table.visualRect(model.index(0, 0)).center();
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, onRow);
    EXPECT_EQ(empty.count(), 0);
    EXPECT_EQ(rows.count(), 0);
    EXPECT_EQ(table.findChild<QLineEdit*>(), nullptr);

    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, QPoint(20, 180));
    EXPECT_EQ(empty.count(), 1);
}

} // namespace
