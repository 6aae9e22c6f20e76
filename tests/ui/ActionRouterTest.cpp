#include "platform/ui/ActionRouter.h"

#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A handler that records what it was asked.
class RecordingHandler : public pt::CommandHandler {
public:
    RecordingHandler(QString name, QStringList commands, QStringList* log)
        : name_(std::move(name)), commands_(std::move(commands)), log_(log)
    {
    }
    bool respondsTo(const QString& command) const override { return commands_.contains(command); }
    bool validate(const QString& command, pt::CommandState& state) override
    {
        log_->append(name_ + QStringLiteral(" validates ") + command);
        state.title = name_;
        return enabled;
    }
    void perform(const QString& command) override { log_->append(name_ + QStringLiteral(" performs ") + command); }

    bool enabled = true;

private:
    QString name_;
    QStringList commands_;
    QStringList* log_;
};

// A panel that handles commands itself, as views that derive from the handler do.
class HandlerPanel : public QWidget, public RecordingHandler {
public:
    HandlerPanel(QStringList commands, QStringList* log) : RecordingHandler(QStringLiteral("panel"), commands, log) {}
};

class ActionRouterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        panel = new HandlerPanel({QStringLiteral("copy:")}, &log);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(panel);
        field = new QLineEdit(panel);
        window.show();
        QApplication::setActiveWindow(&window);
        field->setFocus();
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return QApplication::focusWidget() == field; }));
        router.pushWindowHandler(&window, &windowHandler);
        router.setApplicationHandler(&appHandler);
    }
    void TearDown() override
    {
        router.removeWindowHandler(&window, &windowHandler);
        router.setApplicationHandler(nullptr);
    }

    pt::ActionRouter& router = pt::ActionRouter::shared();
    QStringList log;
    QWidget window;
    HandlerPanel* panel = nullptr;
    QLineEdit* field = nullptr;
    RecordingHandler windowHandler{QStringLiteral("window"), {QStringLiteral("copy:"), QStringLiteral("save:")}, &log};
    RecordingHandler appHandler{QStringLiteral("app"),
                                {QStringLiteral("copy:"), QStringLiteral("save:"), QStringLiteral("quit:")}, &log};
};

TEST_F(ActionRouterTest, TheFirstHandlerAlongTheChainAnswers)
{
    struct Case {
        const char* command;
        pt::CommandHandler* expected;
    };
    const Case cases[] = {
        {"copy:", panel}, {"save:", &windowHandler}, {"quit:", &appHandler}, {"paste:", nullptr}};
    for (const Case& c : cases)
        EXPECT_EQ(router.target(QString::fromLatin1(c.command)), c.expected) << c.command;

    EXPECT_TRUE(router.perform(QStringLiteral("save:")));
    EXPECT_EQ(log, QStringList({QStringLiteral("window validates save:"), QStringLiteral("window performs save:")}));
    EXPECT_FALSE(router.validate(QStringLiteral("paste:")).enabled);
    EXPECT_FALSE(router.perform(QStringLiteral("paste:")));
}

TEST_F(ActionRouterTest, AFalseValidationStopsThere)
{
    windowHandler.enabled = false;
    EXPECT_FALSE(router.validate(QStringLiteral("save:")).enabled);
    EXPECT_FALSE(router.perform(QStringLiteral("save:")));
    EXPECT_FALSE(log.join(QLatin1Char('\n')).contains(QStringLiteral("app")));
    EXPECT_FALSE(log.join(QLatin1Char('\n')).contains(QStringLiteral("performs")));
}

TEST_F(ActionRouterTest, BoundActionsFollowFocusAndMenus)
{
    QAction action;
    router.bind(&action, QStringLiteral("copy:"));
    EXPECT_EQ(action.text(), QStringLiteral("panel"));

    // Focus leaves the panel: the window's handler answers now.
    auto* outside = new QLineEdit(&window);
    window.layout()->addWidget(outside);
    outside->setFocus();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return action.text() == QStringLiteral("window"); }));

    windowHandler.enabled = false;
    EXPECT_TRUE(action.isEnabled());
    QMenu menu;
    menu.addAction(&action);
    menu.popup(QPoint(0, 0));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !action.isEnabled(); }));
    menu.close();

    // Another window comes to the front: the actions follow its chain.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return action.text() == QStringLiteral("app"); }));
    QApplication::setActiveWindow(&window);
    outside->setFocus();

    windowHandler.enabled = true;
    router.invalidate();
    EXPECT_TRUE(action.isEnabled());
    action.trigger();
    EXPECT_TRUE(log.contains(QStringLiteral("window performs copy:")));
}

// A command that became possible without a focus change (a selection made in a view) answers its key at once.
TEST_F(ActionRouterTest, AShortcutSeesWhatChangedSinceTheLastRefresh)
{
    panel->enabled = false;
    QAction action;
    action.setShortcut(QKeySequence(Qt::Key_F5));
    window.addAction(&action);
    router.bind(&action, QStringLiteral("copy:"));
    ASSERT_FALSE(action.isEnabled());

    panel->enabled = true;
    QTest::keyClick(field, Qt::Key_F5);
    EXPECT_TRUE(log.contains(QStringLiteral("panel performs copy:"))) << log.join(QLatin1Char('\n')).toStdString();
}

} // namespace
