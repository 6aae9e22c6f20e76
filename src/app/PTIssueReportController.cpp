#include "app/PTIssueReportController.h"

#include "app/PTUpdateController.h"
#include "app/PTWorkspaceController.h"
#include "app/issues/IssueReporter.h"
#include "foundation/RegularFile.h"
#include "platform/runtime/Logging.h"
#include "platform/ui/ModalRunner.h"
#include "ui/PTMainWindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PTIssueReportController", text);
}

// A report is a few kilobytes; a larger file is not one of ours.
constexpr qint64 MaximumReportSize = 256 * 1024;

} // namespace

PTIssueReportController::PTIssueReportController(QString reportsFolder, QString supportAddress)
    : folder_(std::move(reportsFolder)), supportAddress_(supportAddress.trimmed())
{
}

PTIssueReportController::Answer PTIssueReportController::offerPendingReport()
{
    pt::IssueReporter::removeAbandonedReports(folder_);
    QStringList pending = pt::IssueReporter::pendingReports(folder_);
    // Opened as listed: a regular file of ours, neither followed through a link nor waited on like a pipe. What
    // cannot be read so is not a report, and would otherwise be met at every launch.
    QString report;
    while (!pending.isEmpty()) {
        const pt::Result<QByteArray> read =
            regularFile::read(pending.first(), MaximumReportSize, regularFile::Links::Refuse);
        if (read) {
            report = QString::fromUtf8(*read);
            break;
        }
        qCWarning(lcApp).noquote() << "Removed a crash report that cannot be read:" << read.error().toString();
        QFile::remove(pending.takeFirst());
    }
    if (pending.isEmpty())
        return Answer::NothingPending;
    const Answer answer = ask(report);
    if (answer == Answer::Discard) {
        for (const QString& path : pending)
            QFile::remove(path);
        return answer;
    }
    QString newest;
    for (const QString& path : pending) {
        const QString answered = pt::IssueReporter::markAnswered(path);
        if (newest.isEmpty())
            newest = answered;
    }
    if (answer == Answer::Show)
        PTWorkspaceController::showFileURLsInFinderWithoutWarning({QUrl::fromLocalFile(newest)});
    else if (answer == Answer::Send)
        QDesktopServices::openUrl(reportMailURL(supportAddress_, newest, report));
    return answer;
}

PTIssueReportController::Answer PTIssueReportController::ask(const QString& report) const
{
    QMessageBox box(PTMainWindow());
    const QString title = tr("Pictern quit unexpectedly");
    box.setAccessibleName(title);
    box.setIcon(QMessageBox::Warning);
    box.setText(title);
    box.setInformativeText(
        tr("A report was saved on this computer. It holds the version of Pictern, where the problem happened and "
           "the last messages Pictern logged. Nothing has been sent."));
    box.setDetailedText(report);
    QPushButton* send = nullptr;
    if (!supportAddress_.isEmpty())
        send = box.addButton(tr("Send Report..."), QMessageBox::AcceptRole);
    QPushButton* show = box.addButton(tr("Show Report"), QMessageBox::ActionRole);
    QPushButton* discard = box.addButton(tr("Discard"), QMessageBox::DestructiveRole);
    for (QPushButton* button : {send, show, discard}) {
        if (button)
            button->setAccessibleName(button->text());
    }
    box.setDefaultButton(send ? send : show);
    pt::ModalRunner::run(&box, Qt::ApplicationModal);
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == send)
        return Answer::Send;
    if (clicked == show)
        return Answer::Show;
    if (clicked == discard)
        return Answer::Discard;
    return Answer::Dismissed;
}

QUrl PTIssueReportController::reportMailURL(const QString& supportAddress, const QString& reportPath,
                                            const QString& report)
{
    QString body = tr("Pictern quit unexpectedly. The report follows; the whole file is %1.").arg(reportPath);
    body += QStringLiteral("\n\n");
    body += report.left(MaximumMailReportLength);
    if (report.size() > MaximumMailReportLength)
        body += QStringLiteral("\n[...]");
    return PTUpdateController::mailURL(supportAddress, QStringLiteral("Pictern Crash Report"), body);
}
