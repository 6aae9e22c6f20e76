#include "app/PTAppDefaults.h"

#include "app/PTMenuItemsController.h"
#include "app/preferences/PTPreferencesController.h"
#include "platform/runtime/Defaults.h"

namespace PTAppDefaults {

void registerAll()
{
    PTPreferencesController::registerDefaults();
    pt::Defaults::standard().registerDefaults({
        // The grid's display options, which the View menu toggles.
        {PTMenuItemsController::ShowLabelsKey, true},
        {PTMenuItemsController::ShowGridKey, true},
    });
}

} // namespace PTAppDefaults
