// Licences, first-run data and item tags on a real library.
#include "LibraryTestSupport.h"

#include "TestSupport.h"
#include "library/controllers/PTAppDataController.h"
#include "library/entities/PTLicence.h"
#include "library/controllers/PTLicenceController.h"
#include "library/controllers/PTTagController.h"
#include "platform/runtime/Defaults.h"

#include <QFile>

#include <sys/xattr.h>

using pt::test::LibraryTest;
using pt::test::NotificationRecorder;

namespace {

class LicenceTest : public LibraryTest {};
class TagTest : public LibraryTest {};

QStringList licenceNames()
{
    QStringList names;
    for (PTLicence* licence : PTLicenceController::sharedController().licences())
        names << licence->name();
    names.sort();
    return names;
}

} // namespace

TEST_F(LicenceTest, FirstRunSeedsTheLicencesOncePerUser)
{
    PTAppDataController::registerAll();
    EXPECT_EQ(PTAppDataController::registeredCount(), 2);
    EXPECT_TRUE(PTAppDataController::check());
    EXPECT_EQ(PTAppDataController::registeredCount(), 0);
    const QStringList names = licenceNames();
    ASSERT_EQ(names.size(), 9);
    EXPECT_TRUE(names.contains("MIT"));
    EXPECT_TRUE(names.contains("Creative Commons Attribution-NonCommercial-NoDerivs"));
    for (PTLicence* licence : PTLicenceController::sharedController().licences()) {
        EXPECT_FALSE(licence->objectID().isTemporary());
        EXPECT_TRUE(licence->validatedURL().isValid()) << licence->url().toStdString();
        EXPECT_TRUE(licence->text().isNull());
    }
    EXPECT_TRUE(pt::Defaults::standard().boolForKey("PTAppDataMITLicence"));
    EXPECT_TRUE(pt::Defaults::standard().boolForKey("PTAppDataInitialLicences"));

    // Once per process: a second check has nothing left to run.
    EXPECT_FALSE(PTAppDataController::check());
    saveAndWait();

    // The next launch adds nothing; forgetting one provider's record runs that provider alone again.
    PTAppDataController::registerAll();
    EXPECT_FALSE(PTAppDataController::check());
    pt::Defaults::standard().remove("PTAppDataInitialLicences");
    PTAppDataController::registerAll();
    EXPECT_TRUE(PTAppDataController::check());
    EXPECT_EQ(licenceNames().size(), 17);
    EXPECT_EQ(licenceNames().count("MIT"), 1);
}

TEST_F(LicenceTest, CreateFindAndRemove)
{
    PTLicenceController& controller = PTLicenceController::sharedController();
    EXPECT_TRUE(controller.licences().isEmpty());
    PTLicence* used = controller.createLicenceInContext(nullptr);
    used->setName("Used");
    PTLicence* unused = controller.createLicenceInContext(nullptr);
    unused->setName("Unused");
    EXPECT_EQ(controller.licences().size(), 2);
    EXPECT_EQ(controller.entity()->name(), QStringLiteral("PTLicence"));

    EXPECT_EQ(controller.licenceForObjectURLString(used->objectID().uriString()), used);
    EXPECT_EQ(controller.licenceForObjectURLString("not a uri"), nullptr);

    PTCollection* set = makeSet("Set");
    set->setLicence(used);
    PTItem* item = PTItem::insert(context());
    item->setLicence(used);
    saveAndWait();

    NotificationRecorder recorder({PTLicenceController::LicencesDidChangeNotification});
    // Not in use: no question.
    controller.removeLicencesWithAlert({unused});
    EXPECT_TRUE(confirmation->asked.isEmpty());
    EXPECT_EQ(licenceNames(), QStringList{"Used"});

    // In use: Cancel (even with the box ticked) keeps it and stores no suppression.
    confirmation->answer = {false, true};
    controller.removeLicencesWithAlert({used});
    EXPECT_EQ(confirmation->asked.size(), 1);
    EXPECT_TRUE(confirmation->asked.first().startsWith("Are you sure?|Are you sure you want to delete this Licence?\n"));
    EXPECT_EQ(item->licence(), used);
    EXPECT_FALSE(pt::Defaults::standard().boolForKey(PTLicenceController::DeleteSuppressKey));

    confirmation->answer = {true, true};
    controller.removeLicencesWithAlert({used});
    EXPECT_EQ(item->licence(), nullptr);
    EXPECT_EQ(set->licence(), nullptr);
    EXPECT_TRUE(used->isDeleted());
    EXPECT_TRUE(controller.licences().isEmpty());
    EXPECT_TRUE(pt::Defaults::standard().boolForKey(PTLicenceController::DeleteSuppressKey));
    ASSERT_EQ(recorder.posted.size(), 2);
    EXPECT_EQ(recorder.posted.first().object, &controller);
    saveAndWait();
}

TEST_F(TagTest, ApplyAndRemoveTags)
{
    PTItem* item = PTItem::insert(context());
    PTTagController::applyTagsStringArray({"Arrow", "arrow", "x", "ÀRROW", "42", "Left"}, {item}, false);
    EXPECT_EQ(item->tagComponents(), (QSet<QString>{"Arrow", "Left"}));

    PTTagController::applyTagsStringArray({"up", "Up"}, {item}, false);
    EXPECT_EQ(item->tagComponents(), (QSet<QString>{"Arrow", "Left", "up"}));
    PTTagController::applyTagsStringArray({"down", "d"}, {item}, true);
    EXPECT_EQ(item->tagsString(), QStringLiteral("down"));

    item->setTagsString("arrow,Left");
    PTTagController::removeTagsStringsArray({}, {item});
    EXPECT_EQ(item->tagsString(), QStringLiteral("arrow,Left"));
    PTTagController::removeTagsStringsArray({"ARROW"}, {item});
    EXPECT_EQ(item->tagsString(), QStringLiteral("Left"));

    // Two items at once, each keeping its own tags.
    PTItem* other = PTItem::insert(context());
    other->setTagsString("Right");
    PTTagController::applyTagsStringArray({"shared"}, {item, other}, false);
    EXPECT_EQ(item->tagComponents(), (QSet<QString>{"Left", "shared"}));
    EXPECT_EQ(other->tagComponents(), (QSet<QString>{"Right", "shared"}));
}

TEST_F(TagTest, TagsFromNamesAndFiles)
{
    PTItem* item = PTItem::insert(context());
    item->setName("arrow_left-24 px Ünder");
    item->setTagsString("Kept");
    PTTagController::autoApplyTagsToItem(item);
    EXPECT_EQ(item->tagComponents(), (QSet<QString>{"Kept", "arrow", "left", "px", "Ünder"}));
    EXPECT_EQ(PTTagController::parseNameForItem(item), (QStringList{"arrow_left-24", "px", "under"}));

    const QString path = dir.filePath("tagged.svg");
    ASSERT_TRUE(QFile::copy(pt::test::themeIcon(), path));
    PTItem* tagged = PTItem::insert(context());
    PTTagController::applyTagsFromResourceValue(tagged, path);
    EXPECT_TRUE(tagged->tagsString().isNull());
    const QByteArray tags = "Red,Blue Sky,,x";
    if (::setxattr(QFile::encodeName(path).constData(), PTTagController::FileTagsAttribute, tags.constData(),
                   tags.size(), 0)
        != 0)
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
    EXPECT_EQ(PTTagController::fileTags(path), (QStringList{"Red", "Blue Sky", "x"}));
    PTTagController::applyTagsFromResourceValue(tagged, path);
    EXPECT_EQ(tagged->tagComponents(), (QSet<QString>{"Red", "Blue Sky"}));
    EXPECT_TRUE(PTTagController::fileTags(dir.filePath("missing.svg")).isEmpty());
}
