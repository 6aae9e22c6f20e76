#include "ScenarioTest.h"

#include "app/PTWindow.h"
#include "ui/controls/PTToolbarSegmentedControl.h"

#include <QAbstractItemView>
#include <QDBusMessage>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

using AddIconsScenario = ScenarioTest;

QString fixture(const QString& relative)
{
    return pt::test::fixturePath(relative);
}

// The names the open panel lists in the folder it shows.
QStringList listedNames(QFileDialog* panel)
{
    QStringList names;
    auto* view = panel->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (!view)
        return names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    return names;
}

// Answers an open panel as a user who types a path does: the panel is shown the folder, waits until it lists the
// names, then gets the path typed into its file name field and Return.
void typePathWhenListed(QWidget* window, const QString& folder, const QStringList& listed, const QString& path)
{
    auto* panel = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(panel, nullptr) << "no open panel";
    panel->setDirectory(folder);
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] {
        const QStringList names = listedNames(panel);
        return std::all_of(listed.cbegin(), listed.cend(), [&](const QString& name) { return names.contains(name); });
    })) << "the panel lists " << listedNames(panel).join(QStringLiteral(", ")).toStdString();
    auto* field = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    field->setText(path);
    QTest::keyClick(field, Qt::Key_Return);
}

QWidget* browseWell(QWidget* sheet)
{
    for (QWidget* widget : sheet->findChildren<QWidget*>()) {
        if (widget->accessibleName().startsWith(QLatin1String("Browse Icons")) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// Browse Icons... chooses a folder: a user who does not drag from a file manager adds one through the open panel.
TEST_F(AddIconsScenario, BrowseIconsChoosesAFolder)
{
    choose(QStringLiteral("File"), QStringLiteral("New Set…"));
    QWidget* sheet = addIconsSheet();
    ASSERT_NE(sheet, nullptr) << "no add-icons sheet";
    QWidget* well = browseWell(sheet);
    ASSERT_NE(well, nullptr);
    answerNextModal([](QWidget* panel) {
        typePathWhenListed(panel, fixture(QString()), {QStringLiteral("shapes")}, fixture(QStringLiteral("shapes")));
    });
    QTest::mouseClick(well, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return sheetWidget(sheet, QStringLiteral("Import to a New Set")); }))
        << "the well holds nothing after the panel";
    EXPECT_EQ(qobject_cast<QLineEdit*>(sheetWidget(sheet, QStringLiteral("New set name")))->placeholderText(),
              QStringLiteral("Shapes"));
    QTest::mouseClick(sheetWidget(sheet, QStringLiteral("Import to a New Set")), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return gridItemNames().size() == 3; }))
        << "the grid shows " << gridItemNames().join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(setHoldsOnDisk(QStringLiteral("Shapes"), {"Circle", "Square", "Triangle"}));
}

// File > Import Bundle... finds its way through plain folders to a bundle, and takes the typed path of one as
// the bundle, not as a folder to enter.
TEST_F(AddIconsScenario, ImportBundleChoosesABundle)
{
    answerNextModal([](QWidget* panel) {
        auto* dialog = qobject_cast<QFileDialog*>(panel);
        ASSERT_NE(dialog, nullptr) << "no open panel";
        dialog->setDirectory(fixture(QString()));
        EXPECT_TRUE(pt::test::runMainQueueUntil([dialog] { return listedNames(dialog).contains(QStringLiteral("bundles")); }))
            << "the panel lists " << listedNames(dialog).join(QStringLiteral(", ")).toStdString();
        typePathWhenListed(panel, fixture(QStringLiteral("bundles")), {QStringLiteral("Pair.pictern")},
                           fixture(QStringLiteral("bundles/Pair.pictern")));
    });
    choose(QStringLiteral("File"), QStringLiteral("Import Bundle…"));
    ASSERT_TRUE(waitFor([&] { return gridItemNames().size() == 2; }, 20000))
        << "the grid shows " << gridItemNames().join(QStringLiteral(", ")).toStdString();
    QStringList shown = gridItemNames();
    shown.sort();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Circle"), QStringLiteral("Square")}));
    EXPECT_TRUE(setHoldsOnDisk(QStringLiteral("Pair"), {"Circle", "Square"}));
}

// Icons dropped on the grid, or handed over by a second `pictern PATH`, are offered to the set in view.
TEST_F(AddIconsScenario, IconsFromOutsideAreOfferedToTheSetInView)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    const struct {
        const char* way;
        std::function<void(const QStringList&)> hand;
    } ways[] = {{"dropped on the grid", [this](const QStringList& paths) { dropOnGrid(paths); }},
                {"opened from outside", [this](const QStringList& paths) { openFromOutside(paths); }}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        const qsizetype before = gridItemNames().size();
        way.hand({fixture(QStringLiteral("arrows"))});
        QWidget* sheet = addIconsSheet();
        ASSERT_NE(sheet, nullptr) << "no add-icons sheet";
        EXPECT_NE(sheetWidget(sheet, QStringLiteral("Shapes")), nullptr) << "the set in view is not the target";
        EXPECT_EQ(sheetWidget(sheet, QStringLiteral("New set name")), nullptr);
        QWidget* add = sheetWidget(sheet, QStringLiteral("Import to an Existing Set"));
        ASSERT_NE(add, nullptr) << "no button to import into the set";
        QTest::mouseClick(add, Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return gridItemNames().size() == before + 2; }))
            << "the grid shows " << gridItemNames().join(QStringLiteral(", ")).toStdString();
        EXPECT_TRUE(gridItemNames().contains(QStringLiteral("Left")));
        ASSERT_TRUE(waitForSheetToGo(sheet));
        window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    }
    // Each way added its own copies, under file names of their own.
    EXPECT_TRUE(setHoldsOnDisk(QStringLiteral("Shapes"),
                                        {"Circle", "Square", "Triangle", "Left", "Right", "Left", "Right"}));
}

// Two applications ask over the bus: each gets a sheet of its own that names it, counts its files and offers to
// import them, with a Cancel that works.
TEST_F(AddIconsScenario, SheetsAskedForByOtherApplicationsNameTheirCaller)
{
    const auto import = [](const QStringList& files, const QString& application) {
        const QDBusMessage reply = scriptedImport(files, application);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    };
    import({fixture(QStringLiteral("shapes/circle.svg")), fixture(QStringLiteral("shapes/square.svg"))},
           QStringLiteral("AppOne"));
    import({fixture(QStringLiteral("arrows/left.svg"))}, QStringLiteral("AppTwo"));

    const auto information = [](QWidget* sheet) {
        auto* label = qobject_cast<QLabel*>(sheetWidget(sheet, QStringLiteral("Information")));
        return label ? label->text() : QString();
    };
    QWidget* first = addIconsSheet();
    ASSERT_NE(first, nullptr) << "no add-icons sheet";
    EXPECT_EQ(information(first), QStringLiteral("You have selected 2 icons to be imported from AppOne."));
    EXPECT_EQ(qobject_cast<QLineEdit*>(sheetWidget(first, QStringLiteral("New set name")))->placeholderText(),
              QStringLiteral("Import From AppOne"));
    QWidget* add = sheetWidget(first, QStringLiteral("Import to a New Set"));
    ASSERT_NE(add, nullptr) << "the main button does not import the files";
    QTest::mouseClick(add, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return gridItemNames().size() == 2; }))
        << "the grid shows " << gridItemNames().join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(setHoldsOnDisk(QStringLiteral("Import From AppOne"), {"Circle", "Square"}));

    ASSERT_TRUE(waitForSheetToGo(first));
    QWidget* second = addIconsSheet();
    ASSERT_NE(second, nullptr) << "no sheet of its own for the second application";
    EXPECT_EQ(information(second), QStringLiteral("You have selected 1 icon to be imported from AppTwo."));
    auto* cancel = qobject_cast<PTToolbarSegmentedControl*>(sheetWidget(second, QStringLiteral("Cancel")));
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isEnabled() && cancel->isKey()) << "Cancel looks disabled";
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(waitFor([] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->accessibleName() == QLatin1String("Import Icons"))
                return false;
        }
        return true;
    })) << "Cancel left the sheet up";
}

// Return in the sheet presses its import button, also once files were chosen in the open panel.
TEST_F(AddIconsScenario, ReturnImports)
{
    choose(QStringLiteral("File"), QStringLiteral("New Set…"));
    QWidget* sheet = addIconsSheet();
    ASSERT_NE(sheet, nullptr) << "no add-icons sheet";
    answerNextModal([](QWidget* panel) {
        typePathWhenListed(panel, fixture(QString()), {QStringLiteral("shapes")}, fixture(QStringLiteral("shapes")));
    });
    QTest::mouseClick(browseWell(sheet), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return sheetWidget(sheet, QStringLiteral("Import to a New Set")); }));
    auto* name = qobject_cast<QLineEdit*>(sheetWidget(sheet, QStringLiteral("New set name")));
    ASSERT_NE(name, nullptr);
    // The keys come back to the sheet when the panel closes.
    ASSERT_TRUE(waitFor([sheet] { return QApplication::activeWindow() == sheet; }));
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClicks(name, QStringLiteral("Typed"));
    press(Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return gridItemNames().size() == 3; }))
        << "the grid shows " << gridItemNames().join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(setHoldsOnDisk(QStringLiteral("Typed"), {"Circle", "Square", "Triangle"}));
}

} // namespace
