#include "ui/sheets/PTAlertConfirmation.h"

#include "ui/sheets/PTAlertController.h"

PTConfirmation::Answer PTAlertConfirmation::ask(const QString& title, const QString& text)
{
    const PTAlertController::Answer answer = PTAlertController::run(title, text, true);
    return Answer{answer.confirmed, answer.suppress};
}
