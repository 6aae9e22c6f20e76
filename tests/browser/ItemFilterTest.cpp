#include "LibraryTestSupport.h"
#include "TestSupport.h"

#include "browser/controller/ItemFilter.h"
#include "browser/views/PTToolbarFilterControl.h"
#include "library/controllers/PTLicenceController.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTCDAdditions.h"
#include "platform/runtime/Defaults.h"

#include <QMenu>

namespace {

using itemFilter::itemIsViewableInCurrentFilter;

class ItemFilterTest : public pt::test::LibraryTest {
protected:
    PTItem* item(qint64 type, const QString& unicode = {})
    {
        PTItem* made = PTItem::insert(context());
        made->setType(type);
        made->setUnicode(unicode);
        return made;
    }
    PTLicence* licence(const QString& name)
    {
        PTLicence* made = PTLicenceController::sharedController().createLicenceInContext(nullptr);
        made->setName(name);
        return made;
    }
    static QAction* entry(QMenu* menu, const QString& title)
    {
        for (QAction* action : menu->actions()) {
            if (action->text().trimmed() == title)
                return action;
        }
        ADD_FAILURE() << title.toStdString();
        return nullptr;
    }
};

// Which of SVG, PNG, GIF, PDF, ICNS, WEBP, ICO and a PNG glyph each tag lets through.
TEST_F(ItemFilterTest, TypeTagsAgainstItemTypesAndGlyphs)
{
    const QVector<PTItem*> items{item(PTItem::SVG), item(PTItem::PNG),  item(PTItem::GIF), item(PTItem::PDF),
                                 item(PTItem::ICNS), item(PTItem::WEBP), item(PTItem::ICO),
                                 item(PTItem::PNG, QStringLiteral("f101"))};
    const struct {
        qint64 tag;
        const char* passes;
    } cases[] = {
        {itemFilter::AllTypes, "11111111"}, {itemFilter::Vector, "10010000"}, {itemFilter::SVG, "10000000"},
        {itemFilter::PDF, "00010000"},      {itemFilter::Font, "00000001"},   {itemFilter::Bitmap, "01100101"},
        {itemFilter::GIF, "00100000"},      {itemFilter::PNG, "01000001"},    {itemFilter::WEBP, "00000100"},
        {itemFilter::ICNS, "00001000"},     {itemFilter::ICO, "00000010"},    {12345, "11111111"},
    };
    for (const auto& row : cases) {
        QString got;
        for (PTItem* made : items)
            got += itemIsViewableInCurrentFilter(*made, row.tag, nullptr) ? QLatin1Char('1') : QLatin1Char('0');
        EXPECT_EQ(got, QString::fromLatin1(row.passes)) << row.tag;
    }
}

// An item without a licence of its own is judged by its set's; one with its own by that alone; a licence with
// the same name is another licence.
TEST_F(ItemFilterTest, LicenceIsInheritedFromTheSetAndComparedByIdentity)
{
    PTLicence* mit = licence(QStringLiteral("MIT"));
    PTLicence* twin = licence(QStringLiteral("MIT"));
    PTCollection* set = makeSet(QStringLiteral("S"));
    set->setLicence(mit);
    PTItem* inherits = item(PTItem::SVG);
    inherits->setCollection(set);
    PTItem* own = item(PTItem::SVG);
    own->setCollection(set);
    own->setLicence(twin);
    PTItem* none = item(PTItem::SVG);

    EXPECT_TRUE(itemIsViewableInCurrentFilter(*inherits, itemFilter::AllTypes, mit));
    EXPECT_FALSE(itemIsViewableInCurrentFilter(*own, itemFilter::AllTypes, mit));
    EXPECT_TRUE(itemIsViewableInCurrentFilter(*own, itemFilter::AllTypes, twin));
    EXPECT_FALSE(itemIsViewableInCurrentFilter(*none, itemFilter::AllTypes, mit));
    EXPECT_FALSE(itemIsViewableInCurrentFilter(*inherits, itemFilter::PDF, mit));
}

TEST_F(ItemFilterTest, ControlStoresChoicesAndReportsEachChangeOnce)
{
    PTLicence* mit = licence(QStringLiteral("MIT"));
    licence(QStringLiteral("  "));
    licence(QStringLiteral("apache"));
    saveAndWait();
    PTToolbarFilterControl control;
    int changes = 0;
    control.setChangeHandler([&] { ++changes; });
    EXPECT_EQ(control.type(), itemFilter::AllTypes);
    EXPECT_EQ(control.license(), nullptr);
    EXPECT_FALSE(control.hasActiveFilter());
    EXPECT_EQ(control.selectedSegment(), -1);
    QStringList titles;
    for (QAction* action : control.licenceMenu()->actions())
        titles << (action->isSeparator() ? QStringLiteral("---") : action->text());
    EXPECT_EQ(titles, (QStringList{"All", "---", "apache", "MIT", "---", "Manage Licenses..."}));

    entry(control.typeMenu(), QStringLiteral("Bitmap"))->trigger();
    entry(control.licenceMenu(), QStringLiteral("MIT"))->trigger();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(control.type(), itemFilter::Bitmap);
    EXPECT_EQ(control.license(), mit);
    EXPECT_EQ(control.selectedSegment(), 0);
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTToolbarFilterControl::TypeSelectionKey), itemFilter::Bitmap);
    EXPECT_EQ(pt::Defaults::standard().stringForKey(PTToolbarFilterControl::LicenceSelectionKey),
              PTCDAdditions::persistentURLString(mit));

    // A new control reads both back.
    PTToolbarFilterControl again;
    EXPECT_EQ(again.type(), itemFilter::Bitmap);
    EXPECT_EQ(again.license(), mit);

    control.clear();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return changes == 4; }));
    EXPECT_FALSE(control.hasActiveFilter());
    EXPECT_EQ(control.selectedSegment(), -1);
    EXPECT_FALSE(pt::Defaults::standard().objectForKey(PTToolbarFilterControl::LicenceSelectionKey).isValid());
}

// Deleting the chosen licence falls back to "All" with one change and forgets the stored choice; so does a
// stored licence that no longer names one.
TEST_F(ItemFilterTest, DeletedLicenceFallsBackToAllWithOneChange)
{
    PTLicence* mit = licence(QStringLiteral("MIT"));
    saveAndWait();
    PTToolbarFilterControl control;
    int changes = 0;
    control.setChangeHandler([&] { ++changes; });
    entry(control.licenceMenu(), QStringLiteral("MIT"))->trigger();
    ASSERT_EQ(changes, 1);

    PTLicenceController::sharedController().removeLicences({mit});
    saveAndWait();
    PTLicenceController::sharedController().notifyObserversOfDidChange();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(control.license(), nullptr);
    EXPECT_FALSE(pt::Defaults::standard().objectForKey(PTToolbarFilterControl::LicenceSelectionKey).isValid());

    pt::Defaults::standard().set(PTToolbarFilterControl::LicenceSelectionKey, QStringLiteral("x-ptstore://nowhere/PTLicence/p9"));
    PTToolbarFilterControl stale;
    EXPECT_EQ(stale.license(), nullptr);
    EXPECT_FALSE(stale.hasActiveFilter());
}

} // namespace
