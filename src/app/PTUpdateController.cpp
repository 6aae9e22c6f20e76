#include "app/PTUpdateController.h"

PTUpdateController& PTUpdateController::sharedController()
{
    static PTUpdateController controller;
    return controller;
}

void PTUpdateController::didFindValidUpdate(const AppcastItem& item)
{
    item_ = item;
    emit updateAppcastItemChanged();
    if (!updateAvailable_) {
        updateAvailable_ = true;
        emit updateAvailableChanged(true);
    }
}
