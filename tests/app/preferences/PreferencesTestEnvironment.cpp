// Preference tests start from the application's registered defaults, with every animation at its end at once
// and a modal run that nobody ends failing the test instead of hanging it.
#include "app/preferences/PTPreferencesController.h"

#include "ui/PTInterfaceKit.h"

#include "platform/ui/AnimationTiming.h"
#include "platform/ui/ModalRunner.h"

#include <gtest/gtest.h>

namespace {

class PreferencesTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        PTInterfaceKit::registerAll();
        PTPreferencesController::registerDefaults();
        pt::AnimationTiming::setScale(0);
        pt::ModalRunner::setDeadline(10000);
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new PreferencesTestEnvironment);

} // namespace
