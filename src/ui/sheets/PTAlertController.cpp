#include "ui/sheets/PTAlertController.h"

#include "platform/runtime/Defaults.h"
#include "platform/ui/ModalRunner.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

void PTAlertController::presentAlertWithTitle(const QString& title, const QString& text, bool hasCancelButton,
                                              const QString& suppressionButtonKey, const Completion& completion)
{
    pt::Defaults& defaults = pt::Defaults::standard();
    if (defaults.boolForKey(suppressionButtonKey)) {
        completion(true);
        return;
    }
    const Answer answer = run(title, text, hasCancelButton);
    if (answer.confirmed && answer.suppress)
        defaults.set(suppressionButtonKey, true);
    completion(answer.confirmed);
}

void PTAlertController::presentAlertWithTitle(const QString& title, const QString& text,
                                              const QString& suppressionButtonKey, const Completion& completion)
{
    presentAlertWithTitle(title, text, true, suppressionButtonKey, completion);
}

PTAlertController::Answer PTAlertController::run(const QString& title, const QString& text, bool hasCancelButton)
{
    QMessageBox box;
    box.setAccessibleName(title);
    box.setIcon(QMessageBox::Warning);
    box.setText(title);
    box.setInformativeText(text);
    // Alerts quote names and versions from files and feeds, never markup. The box sets no format on its
    // informative text, so its labels are told directly.
    for (QLabel* label : box.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    auto* suppression = new QCheckBox(QCoreApplication::translate("PTAlertController", "Do not show this message again"));
    suppression->setAccessibleName(suppression->text());
    box.setCheckBox(suppression);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    ok->setAccessibleName(ok->text());
    box.setDefaultButton(ok);
    if (hasCancelButton)
        box.addButton(QMessageBox::Cancel)->setAccessibleName(QCoreApplication::translate("PTAlertController", "Cancel"));
    pt::ModalRunner::run(&box, Qt::ApplicationModal);
    return Answer{box.clickedButton() == ok, suppression->isChecked()};
}
