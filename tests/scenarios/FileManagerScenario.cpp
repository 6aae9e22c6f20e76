#include "FakeDesktopServices.h"
#include "ScenarioTest.h"

#include "app/PTWorkspaceController.h"
#include "browser/grid/PTGridView.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "platform/runtime/Defaults.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace {

const QString WarningTitle = QStringLiteral("Showing files in the file manager");
const QString ShowInFileManager = QStringLiteral("Show in File Manager");

// The desktop the reveal reaches is the scenario's own: a file manager on the test bus that records what it is
// asked to show, and a URL opener that catches folders opened in its place (there should be none).
class FileManagerScenario : public ScenarioTest {
protected:
    void SetUp() override
    {
        ScenarioTest::SetUp();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        pt::Defaults::standard().remove(PTWorkspaceController::OpenInFinderWarningKey);
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        ScenarioTest::TearDown();
    }
    // Chooses "Show in File Manager" in the grid's menu for the item.
    void showItemInFileManager(const QString& name)
    {
        QMenu* menu = contextMenu(grid()->viewport(), gridItemPoint(name));
        ASSERT_NE(menu, nullptr) << "no menu on " << name.toStdString();
        QAction* item = itemShownAs(menu, ShowInFileManager);
        ASSERT_NE(item, nullptr) << "no " << ShowInFileManager.toStdString();
        clickMenuItem(item);
    }
    // Chooses "Show in File Manager" in the sets list's menu for the set. The list runs its menu until it closes,
    // so the item is chosen from within, once the menu shows.
    void showSetInFileManager(const QString& title)
    {
        const QModelIndex row = sourceListRow(title);
        ASSERT_TRUE(row.isValid());
        QAbstractItemView* list = sourceListView();
        bool chosen = false;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&poll, &chosen] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            poll.stop();
            if (QAction* item = itemShownAs(menu, ShowInFileManager)) {
                chosen = true;
                clickMenuItem(item);
            } else {
                menu->close();
            }
        });
        poll.start();
        const QPoint at = list->visualRect(row).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
        EXPECT_TRUE(chosen) << "no " << ShowInFileManager.toStdString() << " on " << title.toStdString();
    }
    // Answers the warning with OK, ticking "do not show again" first when asked to.
    void answerWarning(bool suppress)
    {
        answerNextModal([suppress](QWidget* alert) {
            EXPECT_EQ(alert->accessibleName(), WarningTitle);
            if (suppress) {
                auto* box = alert->findChild<QCheckBox*>();
                ASSERT_NE(box, nullptr) << "no \"do not show again\"";
                box->setChecked(true);
            }
            clickButton(alert, QStringLiteral("OK"));
        });
    }
    bool waitForShown(qsizetype count)
    {
        return waitFor([this, count] { return fileManager.shown.size() == count; });
    }

    FakeFileManager fileManager{QStringLiteral("scenario-file-manager")};
    UrlCatcher opened;
};

// Both the icons' and the sets' "Show in File Manager" warn that files changed there are lost to the library,
// until the user ticks "do not show again"; each time the file manager is asked to select what was chosen.
TEST_F(FileManagerScenario, RevealWarnsUntilToldNotTo)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Outlines"));
    PTItem* circle = gridItem(QStringLiteral("Circle"));
    ASSERT_NE(circle, nullptr);
    const QString circleFile = circle->fileURL().toString(QUrl::FullyEncoded);
    const QString setFolder =
        QUrl::fromLocalFile(circle->collection()->formattedDirectory()).toString(QUrl::FullyEncoded);

    // The sets list warns; OK alone keeps the warning for next time.
    answerWarning(false);
    showSetInFileManager(QStringLiteral("Outlines"));
    ASSERT_TRUE(waitForShown(1)) << "the file manager was not asked";
    EXPECT_EQ(modals, QStringList{WarningTitle});
    EXPECT_EQ(fileManager.shown.last(), QStringList{setFolder});

    // The grid warns as well; this time the user ticks "do not show again".
    answerWarning(true);
    showItemInFileManager(QStringLiteral("Circle"));
    ASSERT_TRUE(waitForShown(2)) << "the file manager was not asked";
    EXPECT_EQ(modals, (QStringList{WarningTitle, WarningTitle}));
    EXPECT_EQ(fileManager.shown.last(), QStringList{circleFile});

    // From then on neither asks again.
    showItemInFileManager(QStringLiteral("Circle"));
    ASSERT_TRUE(waitForShown(3));
    showSetInFileManager(QStringLiteral("Outlines"));
    ASSERT_TRUE(waitForShown(4));
    EXPECT_EQ(modals.size(), 2) << modals.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(fileManager.shown.mid(2), (QList<QStringList>{{circleFile}, {setFolder}}));
    EXPECT_TRUE(pt::Defaults::standard().boolForKey(PTWorkspaceController::OpenInFinderWarningKey));
    QTest::qWait(100);
    EXPECT_TRUE(opened.urls.isEmpty()) << "folders were opened in place of the file manager";
}

} // namespace
