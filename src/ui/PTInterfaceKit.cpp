#include "ui/PTInterfaceKit.h"

#include "ui/sheets/PTAlertConfirmation.h"
#include "ui/theme/PTThemeController.h"

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
