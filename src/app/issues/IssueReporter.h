#pragma once

#include <QString>
#include <QStringList>

namespace pt {

// Leaves a report in a folder when the process dies of a fatal signal (SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL),
// of an exception nobody caught (std::terminate) or of a fatal Qt message (both end in abort). The report holds
// the version and build, what ended the process, the last lines logged and a backtrace. Whatever the handler needs
// is prepared when it is installed, and the handler itself only writes; then the signal takes its default course,
// so the process still ends as a crash. The first thread to fail writes the report; any other thread that fails
// meanwhile waits for it, and the process ends once the report is complete.
//
// A report is named "crash-YYYYMMDD-HHMMSS-<pid>.new.txt" (UTC) until the user has been asked about it, and loses
// the ".new" once answered. One being written is hidden (".crash-YYYYMMDD-HHMMSS-<pid>.partial") until it is
// complete.
class IssueReporter {
public:
    struct Build {
        QString version;
        QString buildNumber;
    };

    // $XDG_STATE_HOME/pictern, or ~/.local/state/pictern.
    static QString reportsFolder();
    // Once per process, on the main thread before others start: catches the signals (on a stack of its own, so an
    // overflow is reported too; other threads get theirs from AlternateSignalStack), takes over std::terminate and
    // Qt's message handler, which hands every message on to the handler before it. False, with nothing installed,
    // when the folder cannot be made.
    static bool install(const QString& folder, const Build& build);

    // Reports not yet offered to the user, newest first: regular files only. Anything else under a report's name
    // (a link, a pipe) is removed, never opened.
    static QStringList pendingReports(const QString& folder);
    // Removes the hidden reports that processes no longer running left half-written. One whose process may still
    // run (its number is in use) is kept.
    static void removeAbandonedReports(const QString& folder);
    // Takes the report out of those pending; answers where it is now.
    static QString markAnswered(const QString& path);
};

} // namespace pt
