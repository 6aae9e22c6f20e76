#include "app/preferences/PTPreferenceLicencesModel.h"
#include "app/preferences/PTPreferencesController.h"
#include "app/preferences/PTPreferencesLicencesViewController.h"

#include "library/controllers/PTLicenceController.h"
#include "library/entities/PTLicence.h"
#include "ui/controls/PTTableView.h"

#include "AppTestLibrary.h"
#include "TestSupport.h"
#include "preferences/PreferencesTestDefaults.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QSet>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The test run's library, holding only the licences each test makes.
class LicencesPaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        usePreferencesTestDefaults(dir);
        removeAllLicences();
    }
    void TearDown() override { removeAllLicences(); }
    static void removeAllLicences()
    {
        PTLicenceController& licences = PTLicenceController::sharedController();
        licences.removeLicences(licences.licences());
    }
    PTLicence* makeLicence(const QString& name, const QString& url = {})
    {
        PTLicence* licence = PTLicenceController::sharedController().createLicenceInContext(nullptr);
        licence->setName(name);
        licence->setUrl(url);
        return licence;
    }
    QStringList names(const PTPreferencesLicencesViewController& pane, int column = 0) const
    {
        QStringList result;
        for (int row = 0; row < pane.model()->rowCount(); ++row)
            result << pane.model()->index(row, column).data().toString();
        return result;
    }
    // The pane on screen with the name of the row being edited.
    QLineEdit* editRow(PTPreferencesLicencesViewController& pane, int row)
    {
        pane.tableView()->edit(pane.model()->index(row, 0));
        QLineEdit* editor = openEditor(pane);
        if (editor)
            editor->selectAll();
        return editor;
    }
    static QLineEdit* openEditor(const PTPreferencesLicencesViewController& pane)
    {
        for (auto* editor : pane.tableView()->findChildren<QLineEdit*>()) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }
    QStringList rowsWithSelection(const PTPreferencesLicencesViewController& pane) const
    {
        QStringList rows;
        for (const QModelIndex& index : pane.tableView()->selectionModel()->selectedRows())
            rows << index.data().toString();
        return rows;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(LicencesPaneTest, SortsByNameOrAddressIgnoringCase)
{
    makeLicence("beta", "https://c.example");
    makeLicence("Alpha", "https://b.example");
    makeLicence("gamma", "https://A.example");
    PTPreferencesLicencesViewController pane;
    EXPECT_EQ(names(pane), QStringList({"Alpha", "beta", "gamma"}));
    pane.tableView()->sortByColumn(PTPreferenceLicencesModel::URLColumn, Qt::AscendingOrder);
    EXPECT_EQ(names(pane), QStringList({"gamma", "Alpha", "beta"}));
    pane.tableView()->sortByColumn(PTPreferenceLicencesModel::NameColumn, Qt::DescendingOrder);
    EXPECT_EQ(names(pane), QStringList({"gamma", "beta", "Alpha"}));
}

TEST_F(LicencesPaneTest, TabKeepsTheOrderAndReturnSortsKeepingTheLicenceSelected)
{
    makeLicence("Alpha");
    makeLicence("Beta");
    makeLicence("Gamma");
    PTPreferencesLicencesViewController pane;
    pane.show();
    QLineEdit* editor = editRow(pane, 0);
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, "Zulu");
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(names(pane), QStringList({"Zulu", "Beta", "Gamma"}));
    ASSERT_TRUE(openEditor(pane)) << "Tab moves on to the next field";
    QTest::keyClick(openEditor(pane), Qt::Key_Escape);

    editor = editRow(pane, 0);
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, "Yankee");
    QTest::keyClick(editor, Qt::Key_Return);
    // Return ends the edit from the event loop.
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !openEditor(pane); }));
    EXPECT_EQ(names(pane), QStringList({"Beta", "Gamma", "Yankee"}));
    EXPECT_EQ(rowsWithSelection(pane), QStringList{"Yankee"});
}

TEST_F(LicencesPaneTest, AnEditGoesToItsLicenceWhenAReloadMovesTheRows)
{
    PTLicence* edited = makeLicence("Beta");
    PTLicence* other = makeLicence("Gamma");
    PTPreferencesLicencesViewController pane;
    pane.show();
    QLineEdit* editor = editRow(pane, 0);
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, "Renamed");

    // Another change arrives while the field is being edited: Gamma now sorts first.
    other->setName("Aardvark");
    PTLicenceController::sharedController().notifyObserversOfDidChange();
    ASSERT_EQ(names(pane), QStringList({"Aardvark", "Beta"}));

    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !openEditor(pane); }));
    EXPECT_EQ(edited->name(), "Renamed");
    EXPECT_EQ(other->name(), "Aardvark");
    EXPECT_EQ(names(pane), QStringList({"Aardvark", "Renamed"}));
}

TEST_F(LicencesPaneTest, RemoveNeedsASelectionAndADoubleClickBelowTheRowsAddsOne)
{
    makeLicence("Alpha");
    PTPreferencesLicencesViewController pane;
    pane.resize(PTPreferencesPane::Width, pane.height());
    pane.show();
    EXPECT_FALSE(pane.removeControl()->isEnabled());

    QWidget* viewport = pane.tableView()->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(20, viewport->height() - 10));
    ASSERT_EQ(pane.model()->rowCount(), 2);
    ASSERT_TRUE(openEditor(pane));
    EXPECT_EQ(rowsWithSelection(pane), QStringList{""}) << "the new licence, without a name yet";
    EXPECT_TRUE(pane.removeControl()->isEnabled());

    QTest::keyClick(openEditor(pane), Qt::Key_Escape);
    pane.removeSelectedLicences();
    EXPECT_EQ(names(pane), QStringList{"Alpha"});
    EXPECT_FALSE(pane.removeControl()->isEnabled());
}

// Names that share a long start stay apart in the name column's width, and each row tells its whole name.
TEST_F(LicencesPaneTest, LongNamesSharingTheirStartStayApart)
{
    const QStringList full = {QStringLiteral("Creative Commons Attribution-NoDerivs"),
                              QStringLiteral("Creative Commons Attribution-NonCommercial-ShareAlike"),
                              QStringLiteral("Creative Commons Attribution-ShareAlike")};
    for (const QString& name : full)
        makeLicence(name);
    PTPreferencesLicencesViewController pane;
    PTTableView* table = pane.tableView();
    const int room = table->columnWidth(PTPreferenceLicencesModel::NameColumn) -
                     2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
    const QFontMetrics metrics(table->font());
    QStringList shown;
    for (int row = 0; row < pane.model()->rowCount(); ++row) {
        const QModelIndex index = pane.model()->index(row, PTPreferenceLicencesModel::NameColumn);
        EXPECT_EQ(index.data(Qt::ToolTipRole).toString(), full.at(row));
        shown << metrics.elidedText(index.data().toString(), table->textElideMode(), room);
    }
    EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()).size(), full.size())
        << shown.join(QStringLiteral(" | ")).toStdString();
}
