#include "ScenarioTest.h"

#include "app/PTAppController.h"
#include "app/PTToolbarController.h"
#include "browser/views/PTToolbarSearchField.h"

#include <QTest>
#include <QTextEdit>

namespace {

class SearchScenario : public ScenarioTest {
protected:
    // Types the text into the toolbar's search field as the user does, after a click into it.
    void search(const QString& text)
    {
        PTToolbarSearchField* field = app().toolbarController()->searchField();
        QTest::mouseClick(field, Qt::LeftButton);
        ASSERT_TRUE(waitFor([field] { return field->hasFocus(); }));
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    // What the grid shows, sorted.
    QString shown() const
    {
        QStringList names = gridItemNames();
        names.sort();
        return names.join(QLatin1Char(' '));
    }
    bool gridShows(const QString& names) const
    {
        return waitFor([&] { return shown() == names; }, 3000);
    }
};

// With the scope "Current Selection", a search covers the sets selected in the source list and no others.
TEST_F(SearchScenario, ASearchInTheCurrentSelectionCoversTheSelectedSetsOnly)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    importFolder(QStringLiteral("kinds"), QStringLiteral("Kinds"));
    clickSourceListRow(QStringLiteral("Shapes"));
    ASSERT_TRUE(gridShows(QStringLiteral("Circle Square Triangle"))) << shown().toStdString();

    choose(QStringLiteral("Edit"), QStringLiteral("Find in Current Selection"));
    search(QStringLiteral("ar"));
    EXPECT_TRUE(gridShows(QStringLiteral("Square"))) << "found " << shown().toStdString();

    // The other scope, chosen while the search is in force, searches every set again.
    choose(QStringLiteral("Edit"), QStringLiteral("Find in All Sets"));
    EXPECT_TRUE(gridShows(QStringLiteral("Square Star"))) << "found " << shown().toStdString();
}

// A tag just typed in the inspector is found by the next search, with no save in between.
TEST_F(SearchScenario, ATagTypedInTheInspectorIsFoundAtOnce)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    clickGridItem(QStringLiteral("Circle"));
    QTextEdit* tags = nullptr;
    ASSERT_TRUE(waitFor([&tags] {
        tags = qobject_cast<QTextEdit*>(visibleWidget(QStringLiteral("Tags")));
        return tags != nullptr;
    })) << "the inspector shows no tags";
    QTest::mouseClick(tags->viewport(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([tags] { return tags->hasFocus(); }));
    QTest::keyClicks(tags, QStringLiteral("roundish"));

    search(QStringLiteral("roundish"));
    EXPECT_TRUE(gridShows(QStringLiteral("Circle"))) << "found " << shown().toStdString();
}

} // namespace
