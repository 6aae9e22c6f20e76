#include "ui/PTInterfaceKit.h"

#include "ui/PTAlertConfirmation.h"
#include "ui/PTThemeController.h"

namespace PTInterfaceKit {

void registerAll()
{
    PTThemeController::registerDefaults();
}

void installLibrarySeams()
{
    PTConfirmation::install(std::make_shared<PTAlertConfirmation>());
}

} // namespace PTInterfaceKit
