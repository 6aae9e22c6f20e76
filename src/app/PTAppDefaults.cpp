#include "app/PTAppDefaults.h"

#include "app/preferences/PTPreferencesController.h"

namespace PTAppDefaults {

void registerAll()
{
    PTPreferencesController::registerDefaults();
}

} // namespace PTAppDefaults
