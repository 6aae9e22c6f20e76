#include "app/welcome/PTStarterSetImport.h"

#include "transfer/PTStarterSetDownloads.h"

#include "ui/sheets/PTAlertController.h"
#include "ui/sheets/PTProgressSheetWindow.h"

const QString PTStarterSetImport::FailureMessage = QStringLiteral("The starter icons could not be downloaded.");

PTStarterSetImport::PTStarterSetImport(QWidget* window, QObject* parent) : QObject(parent), window_(window)
{
    timeout_.setSingleShot(true);
    timeout_.setInterval(DefaultTimeoutMs);
    connect(&timeout_, &QTimer::timeout, this, [this] {
        if (const auto downloads = PTStarterSetDownloads::installed())
            downloads->cancel();
        finish(false);
    });
}

PTStarterSetImport::~PTStarterSetImport()
{
    if (running_) {
        if (const auto downloads = PTStarterSetDownloads::installed())
            downloads->cancel();
    }
    if (sheet_)
        sheet_->endSession();
}

bool PTStarterSetImport::start()
{
    const auto downloads = PTStarterSetDownloads::installed();
    if (running_ || !downloads || !PTStarterSetDownloads::available())
        return false;
    running_ = true;
    sheet_ = std::make_unique<PTProgressSheetWindow>(tr("Setting up your Library"));
    sheet_->setSubTitle(tr("Please wait whilst we perform the initial setup of your Library..."));
    sheet_->setMessage(tr("To get you started, we're downloading and importing a set of icons for you to play "
                          "with."));
    sheet_->setAllowsCancellation(true);
    sheet_->setCancelHandler([this] {
        if (const auto current = PTStarterSetDownloads::installed())
            current->cancel();
        finish(false, true);
    });
    sheet_->setProgress(0, 0);
    sheet_->beginSessionForWindow(window_);
    timeout_.start();
    QPointer<PTStarterSetImport> guard(this);
    downloads->downloadStarterSet(
        PTStarterSetDownloads::starterSetURL(),
        [guard](double fraction) {
            if (guard && guard->sheet_)
                guard->sheet_->setProgress(fraction < 0 ? 0 : qint64(fraction * 1000), fraction < 0 ? 0 : 1000);
        },
        [guard](bool imported) {
            if (guard)
                guard->finish(imported);
        });
    return true;
}

void PTStarterSetImport::finish(bool imported, bool cancelled)
{
    if (!running_)
        return;
    running_ = false;
    timeout_.stop();
    if (sheet_)
        sheet_->endSession();
    // The user who cancelled knows why nothing came.
    if (!imported && !cancelled)
        PTAlertController::run(tr("No Starter Icons"), FailureMessage, false);
    Q_EMIT finished(imported);
}
