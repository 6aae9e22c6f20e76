// Export tests read the export preferences at their registered defaults, as the application registers them at
// start-up. Library tests point the defaults at a file of their own, which drops what was registered, so the
// defaults are registered again before every test: the tests of one process run in any order.
#include "ui/PTPreferenceKeys.h"

#include <gtest/gtest.h>

namespace {

class RegisterPreferenceDefaults : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& /*test*/) override { PTPreferenceKeys::registerDefaults(); }
};

const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new RegisterPreferenceDefaults);
    return true;
}();

} // namespace
