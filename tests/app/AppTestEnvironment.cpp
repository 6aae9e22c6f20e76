// The application's registries and a library of its own in a temporary folder, current for the whole run, as
// start-up makes them.
#include "AppTestLibrary.h"

#include "app/PTAppDefaults.h"
#include "library/PTLibraryController.h"
#include "platform/ui/AnimationTiming.h"
#include "platform/ui/ModalRunner.h"
#include "svg/parse/PTSVGCommand.h"
#include "ui/PTInterfaceKit.h"

#include <gtest/gtest.h>

namespace {

class AppTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        PTLibraryController::registerDefaults();
        PTInterfaceKit::registerAll();
        PTSVGCommand::registerAll();
        PTAppDefaults::registerAll();
        pt::AnimationTiming::setScale(0);
        pt::ModalRunner::setDeadline(10000);
        AppTestLibrary::shared();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new AppTestEnvironment);

} // namespace
