#pragma once

#include <QString>
#include <QUrl>

// Offers the report a crash left behind, once, at the next launch: send it by mail to the support address (when
// the build has one), show it in the file manager, or discard it. Whatever the answer, the report is not offered
// again; closing the alert keeps it where it is.
class PTIssueReportController {
public:
    enum class Answer { NothingPending, Send, Show, Discard, Dismissed };
    // Reports of a mail longer than this are cut; the mail says where the whole file is.
    static constexpr int MaximumMailReportLength = 6000;

    PTIssueReportController(QString reportsFolder, QString supportAddress);

    // Asks about the newest report not yet offered; older ones pending beside it share its answer. First removes
    // what can never be offered: reports crashed processes left half-written, and whatever lies under a report's
    // name without being a readable report (a link, a pipe, a file too large to be ours).
    Answer offerPendingReport();
    // The mail that sends a report: to the address, the report in its body.
    static QUrl reportMailURL(const QString& supportAddress, const QString& reportPath, const QString& report);

private:
    Answer ask(const QString& report) const;

    QString folder_;
    QString supportAddress_;
};
