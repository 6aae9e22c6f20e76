#include "ScenarioTest.h"

#include "app/PTWindow.h"
#include "platform/ui/SheetHost.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWindow>

#include <functional>

namespace {

using ImportFocusScenario = ScenarioTest;

// The add-icons sheet on screen, as it came up: neither activated nor waited on past its showing.
QWidget* shownSheet()
{
    QWidget* sheet = nullptr;
    pt::test::runMainQueueUntil([&sheet] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->accessibleName() == QLatin1String("Import Icons"))
                sheet = window;
        }
        return sheet != nullptr;
    });
    return sheet;
}

QString activeName()
{
    QWidget* active = QApplication::activeWindow();
    return active ? active->accessibleName() : QStringLiteral("another application");
}

// Another application's window is open, and had the keys when the import was asked for. However the icons come
// (dropped, opened with `pictern FILE`, asked for over the bus), the sheet takes the keys, and once it has imported
// the main window keeps them; a sheet queued behind it comes up with the keys too, and Escape closes it.
TEST_F(ImportFocusScenario, TheMainWindowKeepsTheKeysAfterEachImport)
{
    QWindow elsewhere;
    elsewhere.resize(100, 100);
    elsewhere.show();
    const struct {
        const char* way;
        std::function<void(const QStringList&)> hand;
    } ways[] = {
        {"dropped on the grid", [this](const QStringList& paths) { dropOnGrid(paths); }},
        {"opened from outside", [this](const QStringList& paths) { openFromOutside(paths); }},
        {"asked for over the bus",
         [](const QStringList& paths) {
             EXPECT_EQ(scriptedImport(paths, QStringLiteral("Elsewhere")).type(), QDBusMessage::ReplyMessage);
         }},
    };
    int round = 0;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        elsewhere.requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
        way.hand({pt::test::fixturePath(QStringLiteral("shapes"))});
        QWidget* sheet = shownSheet();
        ASSERT_NE(sheet, nullptr) << "no add-icons sheet";
        ASSERT_TRUE(waitFor([sheet] { return QApplication::activeWindow() == sheet; }))
            << "the sheet came up without the keys; they are with " << activeName().toStdString();
        confirmAddIconsSheet(QStringLiteral("Shapes %1").arg(++round));
        ASSERT_TRUE(waitFor([this] {
            return !pt::SheetHost::attachedSheet(window()) && QGuiApplication::modalWindow() == nullptr;
        })) << "the import's sheets stay";
        EXPECT_TRUE(waitFor([this] { return QApplication::activeWindow() == window(); }, 2000))
            << "after the import the keys are with " << activeName().toStdString();
    }

    // Two applications ask at once: the second one's sheet waits for the first to end, then comes up with the
    // keys, and Escape reaches it.
    elsewhere.requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    scriptedImport({pt::test::fixturePath(QStringLiteral("glyphs"))}, QStringLiteral("AppOne"));
    scriptedImport({pt::test::fixturePath(QStringLiteral("arrows"))}, QStringLiteral("AppTwo"));
    // Held from before Escape: a sheet that goes may be deleted while the key is delivered.
    const QPointer<QWidget> first = shownSheet();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(waitFor([first] { return QApplication::activeWindow() == first; }))
        << "the first sheet lost the keys to " << activeName().toStdString();
    press(Qt::Key_Escape);
    ASSERT_TRUE(waitFor([first] { return !first || !first->isVisible(); })) << "Escape left the first sheet up";
    const QPointer<QWidget> second = shownSheet();
    ASSERT_NE(second, nullptr) << "the queued sheet never came up";
    EXPECT_TRUE(waitFor([second] { return QApplication::activeWindow() == second; }, 2000))
        << "the queued sheet came up without the keys; they are with " << activeName().toStdString();
    press(Qt::Key_Escape);
    EXPECT_TRUE(waitFor([second] { return !second || !second->isVisible(); })) << "Escape does not reach the queued sheet";
    EXPECT_TRUE(waitFor([this] { return QApplication::activeWindow() == window(); }, 2000))
        << "after the sheets the keys are with " << activeName().toStdString();
}

} // namespace
