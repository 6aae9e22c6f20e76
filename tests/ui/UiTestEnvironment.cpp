// Interface tests see every animation at its end state at once, and a modal run that nobody ends fails the test
// instead of hanging it.
#include "ui/PTInterfaceKit.h"

#include "platform/ui/AnimationTiming.h"
#include "platform/ui/ModalRunner.h"

#include <gtest/gtest.h>

namespace {

class UiTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        PTInterfaceKit::registerAll();
        pt::AnimationTiming::setScale(0);
        pt::ModalRunner::setDeadline(10000);
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new UiTestEnvironment);

} // namespace
