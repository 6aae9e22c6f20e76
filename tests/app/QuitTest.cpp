#include "AppTestLibrary.h"
#include "TestSupport.h"

#include "app/PTAppDelegate.h"
#include "library/PTLibraryController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/store/Predicate.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

using State = PTAppDelegate::QuitState;
using Answer = PTAppDelegate::SaveFailureAnswer;

// Quitting over a save path the test completes by hand, counting what the delegate does to the world.
class QuitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppTestLibrary::shared();
        pt::Defaults::standard().set(PTLibraryController::BackupFrequencyKey, qint64(PTLibraryController::Never));
        willTerminate_ = pt::NotificationCenter::defaultCenter().addObserver(
            PTLibraryController::WillTerminateNotification, nullptr, [this](const pt::Notification&) { ++posts; });
        saveState_ = pt::NotificationCenter::defaultCenter().addObserver(
            PTAppDelegate::RequestSaveStateNotification, nullptr, [this](const pt::Notification&) { ++saveStates; });
        delegate = std::make_unique<PTAppDelegate>(fakePath());
    }

    PTAppDelegate::QuitPath fakePath()
    {
        PTAppDelegate::QuitPath path;
        path.cleanUp = [this] { ++cleanUps; };
        path.save = [this](std::function<void(const pt::Error&)> completion) { saves.push_back(std::move(completion)); };
        path.askAfterFailedSave = [this](const pt::Error&) {
            const Answer answer = answers.front();
            answers.pop_front();
            return answer;
        };
        path.startRelaunch = [this] {
            events << QStringLiteral("relaunch");
            return relaunchAvailable;
        };
        path.askForManualRestart = [this] { events << QStringLiteral("ask to restart"); };
        path.exit = [this](int code) { events << QStringLiteral("exit %1").arg(code); };
        return path;
    }

    // Completes the oldest save still running.
    void completeSave(bool ok)
    {
        ASSERT_FALSE(saves.empty());
        auto completion = std::move(saves.front());
        saves.pop_front();
        completion(ok ? pt::Error() : pt::Error{QStringLiteral("TestDomain"), 1, {}});
    }

    std::unique_ptr<PTAppDelegate> delegate;
    int posts = 0;
    int saveStates = 0;
    int cleanUps = 0;
    std::deque<std::function<void(const pt::Error&)>> saves;
    std::deque<Answer> answers;
    bool relaunchAvailable = true;
    QStringList events;

private:
    pt::ObserverToken willTerminate_;
    pt::ObserverToken saveState_;
};

TEST_F(QuitTest, WithoutHoldsSavesOnceThenExits)
{
    delegate->terminate();
    EXPECT_EQ(delegate->quitState(), State::Saving);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(cleanUps, 1);
    EXPECT_EQ(saveStates, 1);
    ASSERT_EQ(saves.size(), 1U);
    EXPECT_TRUE(events.isEmpty()) << "nothing exits before the final save completes";

    // Requests while saving are ignored rather than starting a second save.
    delegate->terminate();
    delegate->restartApplication();
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(saves.size(), 1U);

    completeSave(true);
    EXPECT_EQ(delegate->quitState(), State::Exiting);
    EXPECT_EQ(events, QStringList{QStringLiteral("exit 0")});
    delegate->terminate();
    EXPECT_EQ(events.size(), 1);
}

TEST_F(QuitTest, AHoldKeepsTheQuitPendingUntilItsRelease)
{
    delegate->saveTerminationState();
    delegate->terminate();
    EXPECT_EQ(delegate->quitState(), State::WillTerminatePosted);
    EXPECT_EQ(cleanUps, 0);
    EXPECT_TRUE(saves.empty());
    delegate->terminate();
    EXPECT_EQ(posts, 1);

    delegate->restoreTerminationState();
    EXPECT_EQ(delegate->quitState(), State::Saving);
    EXPECT_EQ(posts, 1) << "resuming does not announce the quit a second time";
    EXPECT_EQ(cleanUps, 1);
    completeSave(true);
    EXPECT_EQ(events, QStringList{QStringLiteral("exit 0")});
}

TEST_F(QuitTest, AHoldTakenDuringTheAnnouncementIsWaitedFor)
{
    // A backup on quit takes its hold while the will-terminate notification is delivered.
    pt::ObserverToken backup = pt::NotificationCenter::defaultCenter().addObserver(
        PTLibraryController::WillTerminateNotification, nullptr,
        [this](const pt::Notification&) { delegate->saveTerminationState(); });
    delegate->terminate();
    EXPECT_EQ(delegate->quitState(), State::WillTerminatePosted);
    backup.reset();
    delegate->restoreTerminationState();
    EXPECT_EQ(saves.size(), 1U);
}

TEST_F(QuitTest, ReleasingWithoutAPendingQuitDoesNothing)
{
    delegate->saveTerminationState();
    delegate->saveTerminationState();
    delegate->restoreTerminationState();
    delegate->restoreTerminationState();
    delegate->restoreTerminationState();
    EXPECT_EQ(delegate->preventTerminationCount(), 0);
    EXPECT_EQ(delegate->quitState(), State::Running);
    EXPECT_EQ(posts, 0);
    EXPECT_TRUE(saves.empty());
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(QuitTest, AFailedFinalSaveAsksWhatToDo)
{
    struct Case {
        const char* name;
        std::vector<Answer> answers;
        int saves;
        State state;
        QStringList events;
    };
    const Case cases[] = {
        {"retry, then it saves", {Answer::Retry}, 2, State::Exiting, {QStringLiteral("exit 0")}},
        {"quit without saving", {Answer::QuitWithoutSaving}, 1, State::Exiting, {QStringLiteral("exit 0")}},
        {"cancel keeps running", {Answer::Cancel}, 1, State::Running, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        delegate = std::make_unique<PTAppDelegate>(fakePath());
        saves.clear();
        events.clear();
        answers.assign(c.answers.begin(), c.answers.end());
        delegate->terminate();
        completeSave(false);
        int made = 1;
        while (!saves.empty()) {
            ++made;
            completeSave(true);
        }
        EXPECT_EQ(made, c.saves);
        EXPECT_EQ(delegate->quitState(), c.state);
        EXPECT_EQ(events, c.events);
    }
    // After a cancel the user can quit again, and the quit is announced again.
    const int before = posts;
    delegate->terminate();
    EXPECT_EQ(posts, before + 1);
    completeSave(true);
    EXPECT_EQ(events, QStringList{QStringLiteral("exit 0")});
}

TEST_F(QuitTest, AForcedQuitNeitherAnnouncesNorSaves)
{
    delegate->forceNextAvailableTermination(true);
    delegate->terminate();
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(cleanUps, 0);
    EXPECT_TRUE(saves.empty());
    EXPECT_EQ(events, QStringList{QStringLiteral("exit 0")});
}

TEST_F(QuitTest, RestartStartsTheToolOnlyOnceTheExitIsCertain)
{
    delegate->restartApplication();
    EXPECT_TRUE(delegate->restartPending());
    EXPECT_TRUE(events.isEmpty());
    answers = {Answer::Cancel};
    completeSave(false);
    EXPECT_FALSE(delegate->restartPending()) << "a cancelled quit cancels the restart with it";

    delegate->terminate();
    completeSave(true);
    EXPECT_EQ(events, QStringList{QStringLiteral("exit 0")}) << "a later plain quit does not restart";

    delegate = std::make_unique<PTAppDelegate>(fakePath());
    events.clear();
    delegate->restartApplication();
    completeSave(true);
    EXPECT_EQ(events, (QStringList{QStringLiteral("relaunch"), QStringLiteral("exit 0")}));

    delegate = std::make_unique<PTAppDelegate>(fakePath());
    events.clear();
    relaunchAvailable = false;
    delegate->restartApplication();
    completeSave(true);
    EXPECT_EQ(events, (QStringList{QStringLiteral("relaunch"), QStringLiteral("ask to restart"), QStringLiteral("exit 0")}));
}

// The real clean-up: items that belong to no set are deleted before the final save, the others stay.
TEST_F(QuitTest, CleanUpDeletesItemsWithoutASet)
{
    AppTestLibrary& library = AppTestLibrary::shared();
    library.addSet(QStringLiteral("Kept"), {QStringLiteral("kept")});
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    PTItem* orphan = PTItem::insert(*context);
    orphan->setName(QStringLiteral("orphan"));

    PTAppDelegate::QuitPath path = fakePath();
    path.cleanUp = PTAppDelegate::defaultQuitPath().cleanUp;
    path.save = PTAppDelegate::defaultQuitPath().save;
    delegate = std::make_unique<PTAppDelegate>(path);
    delegate->terminate();
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return !events.isEmpty(); }));
    EXPECT_EQ(events, QStringList{QStringLiteral("exit 0")});

    const auto names = [context](const QString& format) {
        const auto fetched = context->fetch({PTItem::EntityName, *pt::store::Predicate::parse(format)});
        QStringList list;
        for (pt::store::ManagedObject* object : *fetched)
            list << PTItem::from(object)->name();
        return list;
    };
    EXPECT_TRUE(names(QStringLiteral("collection=nil")).isEmpty());
    EXPECT_TRUE(names(QStringLiteral("collection!=nil")).contains(QStringLiteral("kept")));
}

} // namespace
