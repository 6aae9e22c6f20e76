#include "ScenarioTest.h"

#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewSectionPathCell.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

using SetRenameScenario = ScenarioTest;

// The path the grid's first section header draws: names and separators, without the count.
QString headerText(PTGridView* grid)
{
    auto* header = dynamic_cast<PTGridViewSectionPathCell*>(grid->headerCellForSection(0));
    if (!header)
        return {};
    QStringList runs;
    for (const PTGridViewSectionPathCell::TextLayer& layer : header->textLayers())
        runs << layer.string;
    return runs.join(QLatin1Char(' '));
}

// A set renamed in the source list (F2, a name, Return) shows its new name in the grid's section header at once.
TEST_F(SetRenameScenario, ARenamedSetShowsItsNewNameInTheGridHeader)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    ASSERT_TRUE(waitFor([this] { return headerText(grid()) == QStringLiteral("Shapes"); }))
        << headerText(grid()).toStdString();
    auto* list = sourceList()->findChild<QAbstractItemView*>();
    ASSERT_NE(list, nullptr);
    const QModelIndex row = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("Shapes"),
                                                 1, Qt::MatchRecursive).value(0);
    ASSERT_TRUE(row.isValid()) << "no row for the set";
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
    ASSERT_TRUE(waitFor([list] { return list->hasFocus(); }));

    press(QKeySequence(Qt::Key_F2));
    QLineEdit* field = nullptr;
    ASSERT_TRUE(waitFor([&field] { return (field = qobject_cast<QLineEdit*>(QApplication::focusWidget())); }))
        << "no rename field";
    QTest::keyClicks(field, QStringLiteral("Figures"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(waitFor([this] { return headerText(grid()) == QStringLiteral("Figures"); }, 2000))
        << "the header reads " << headerText(grid()).toStdString();
    EXPECT_TRUE(setHoldsOnDisk(QStringLiteral("Figures"), {"Circle", "Square", "Triangle"}));
}

} // namespace
