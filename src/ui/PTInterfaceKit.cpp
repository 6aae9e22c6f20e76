#include "ui/PTInterfaceKit.h"

#include "ui/PTThemeController.h"

namespace PTInterfaceKit {

void registerAll()
{
    PTThemeController::registerDefaults();
}

} // namespace PTInterfaceKit
