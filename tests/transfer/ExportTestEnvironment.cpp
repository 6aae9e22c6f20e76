// Export tests read the export preferences at their registered defaults, as the application registers them at
// start-up.
#include "app/preferences/PTPreferencesController.h"

#include <gtest/gtest.h>

namespace {

class ExportTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override { PTPreferencesController::registerDefaults(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ExportTestEnvironment);

} // namespace
