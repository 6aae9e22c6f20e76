#include "platform/ui/ModalRunner.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

namespace {

class ModalRunnerTest : public ::testing::Test {
protected:
    void TearDown() override { pt::ModalRunner::setHook({}); }
};

TEST_F(ModalRunnerTest, StopBeforeTheLoopIsKeptForTheNextRun)
{
    QWidget window;
    pt::ModalRunner::stop(7);
    EXPECT_EQ(pt::ModalRunner::run(&window), 7);
    EXPECT_FALSE(pt::ModalRunner::isRunning());
}

TEST_F(ModalRunnerTest, StopFromAWorkerEndsTheRunWithItsCode)
{
    QWidget window;
    std::thread worker;
    pt::ModalRunner::setHook([&](QWidget* shown) {
        EXPECT_EQ(shown, &window);
        EXPECT_EQ(shown->windowModality(), Qt::ApplicationModal);
        worker = std::thread([] { pt::ModalRunner::stop(3); });
    });
    EXPECT_EQ(pt::ModalRunner::run(&window), 3);
    worker.join();
}

TEST_F(ModalRunnerTest, AFinishedDialogEndsItsRunWithItsResult)
{
    QDialog dialog;
    pt::ModalRunner::setHook([](QWidget* shown) { static_cast<QDialog*>(shown)->done(42); });
    EXPECT_EQ(pt::ModalRunner::run(&dialog, Qt::WindowModal), 42);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ModalRunnerTest, StopEndsOnlyTheInnermostRun)
{
    QWidget outer;
    QWidget inner;
    int innerCode = 0;
    pt::ModalRunner::setHook([&](QWidget* shown) {
        if (shown != &outer)
            return;
        innerCode = pt::ModalRunner::run(&inner);
        // The inner run is over; this one goes on until stopped in its turn.
        EXPECT_TRUE(pt::ModalRunner::isRunning());
        pt::ModalRunner::stop(2);
    });
    QTimer::singleShot(50, [] { pt::ModalRunner::stop(1); });
    EXPECT_EQ(pt::ModalRunner::run(&outer), 2);
    EXPECT_EQ(innerCode, 1);
}

TEST_F(ModalRunnerTest, AWindowLeftShownAfterItsRunLeavesTheModalStackWhenHidden)
{
    auto window = std::make_unique<QWidget>();
    pt::ModalRunner::stop(0);
    pt::ModalRunner::run(window.get());
    EXPECT_TRUE(window->isVisible());
    window->hide();
    window.reset();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ModalRunnerTest, ARunPastTheDeadlineFailsInsteadOfHanging)
{
    QWidget window;
    pt::ModalRunner::setDeadline(50);
    EXPECT_EQ(pt::ModalRunner::run(&window), pt::ModalRunner::TimedOut);
    pt::ModalRunner::setDeadline(10000);
}

} // namespace
