#include "ScenarioTest.h"

#include "app/PTAppDelegate.h"
#include "browser/grid/PTGridView.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"

#include <QAction>
#include <QRegularExpression>
#include <QTest>

#include <sqlite3.h>

namespace {

using SaveScenario = ScenarioTest;

// The names of the sets as the store file on disk holds them, read through a connection of its own, in order.
QStringList setNamesOnDisk()
{
    const QString path = PTAppDelegate::shared()->storePath();
    sqlite3* db = nullptr;
    QStringList names;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT name FROM PTCollection ORDER BY name", -1, &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW)
                names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return names;
}

// File > Save (Ctrl+S) writes the library's unsaved changes to disk at once.
TEST_F(SaveScenario, SaveWritesUnsavedChangesToTheStore)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    const QStringList before = setNamesOnDisk();
    ASSERT_TRUE(before.contains(QStringLiteral("Shapes"))) << before.join(QStringLiteral(", ")).toStdString();
    QAction* save = menuItem(QStringLiteral("File"), QStringLiteral("Save"));
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(save->shortcut(), QKeySequence(QKeySequence::Save));

    // A change the library has not saved yet.
    PTCollection* set = nullptr;
    for (PTCollection* candidate : PTCollectionController::sharedController().collections())
        set = candidate->name() == QStringLiteral("Shapes") ? candidate : set;
    ASSERT_NE(set, nullptr);
    set->setName(QStringLiteral("Outlines"));
    QTest::qWait(300);
    ASSERT_EQ(setNamesOnDisk(), before) << "saved before it was asked to";
    choose(QStringLiteral("File"), QStringLiteral("Save"));
    QStringList expected = before;
    expected.replaceInStrings(QRegularExpression(QStringLiteral("^Shapes$")), QStringLiteral("Outlines"));
    expected.sort();
    EXPECT_TRUE(waitFor([expected] { return setNamesOnDisk() == expected; }))
        << setNamesOnDisk().join(QStringLiteral(", ")).toStdString();
}

} // namespace
