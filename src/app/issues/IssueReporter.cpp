#include "app/issues/IssueReporter.h"

#include "app/issues/RecentLogLines.h"
#include "app/issues/SignalSafeWrite.h"
#include "platform/runtime/AlternateSignalStack.h"
#include "platform/runtime/Logging.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTime>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace pt {

namespace {

const QString PendingSuffix = QStringLiteral(".new.txt");

struct FatalSignal {
    int number;
    const char* name;
};
constexpr FatalSignal FatalSignals[] = {
    {SIGSEGV, "SIGSEGV"}, {SIGABRT, "SIGABRT"}, {SIGBUS, "SIGBUS"}, {SIGFPE, "SIGFPE"}, {SIGILL, "SIGILL"}};
constexpr int MaximumFrames = 64;

// Everything the signal handler reads lives here, filled before any signal can arrive.
char folder[PATH_MAX];
char header[512];
char reason[512];
std::atomic<bool> reasonTaken{false};
std::atomic<bool> hasReason{false};
std::atomic<bool> installed{false};
// The thread writing the report, 0 until one does.
std::atomic<pid_t> reportingThread{0};
RecentLogLines recentLines;
QtMessageHandler previousMessageHandler = nullptr;
std::terminate_handler previousTerminate = nullptr;

void noteReason(const QByteArray& text)
{
    // The first failure's reason; a second thread failing meanwhile must not write over it.
    if (reasonTaken.exchange(true))
        return;
    signalSafe::Buffer(reason, sizeof reason).append(text.constData(), std::size_t(text.size()));
    hasReason.store(true, std::memory_order_release);
}

void appendLine(const QByteArray& line)
{
    recentLines.append(line.constData(), std::size_t(line.size()));
}

void writeReport(int number, const char* name)
{
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    const auto pid = std::uint64_t(getpid());
    char partial[PATH_MAX + 64];
    char complete[PATH_MAX + 64];
    signalSafe::Buffer(partial, sizeof partial).append(folder).append("/.crash-").appendTime(now.tv_sec, true)
        .append("-").appendNumber(pid).append(".partial");
    signalSafe::Buffer(complete, sizeof complete).append(folder).append("/crash-").appendTime(now.tv_sec, true)
        .append("-").appendNumber(pid).append(".new.txt");
    const int fd = ::open(partial, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;

    signalSafe::write(fd, header);
    signalSafe::write(fd, "Signal: ");
    signalSafe::write(fd, name);
    signalSafe::write(fd, " (");
    signalSafe::writeNumber(fd, std::uint64_t(number));
    signalSafe::write(fd, ")\n");
    if (hasReason.load(std::memory_order_acquire)) {
        signalSafe::write(fd, "Reason: ");
        signalSafe::write(fd, reason);
        signalSafe::write(fd, "\n");
    }
    char time[32];
    signalSafe::write(fd, "Time: ");
    signalSafe::write(fd, signalSafe::Buffer(time, sizeof time).appendTime(now.tv_sec, false).data());
    signalSafe::write(fd, " UTC\nProcess: ");
    signalSafe::writeNumber(fd, pid);
    signalSafe::write(fd, "\n\nRecent log lines:\n");
    recentLines.writeTo(fd);
    signalSafe::write(fd, "\nBacktrace:\n");
    void* frames[MaximumFrames];
    backtrace_symbols_fd(frames, backtrace(frames, MaximumFrames), fd);
    ::fsync(fd);
    ::close(fd);
    ::rename(partial, complete);
}

// Puts the default action back for every fatal signal and raises this one again.
void endWithSignal(int number)
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const FatalSignal& fatal : FatalSignals)
        sigaction(fatal.number, &action, nullptr);
    // Blocked until the handler returns, then delivered with the default action. A fault that came from an
    // instruction happens again on return, and kills the same way.
    ::raise(number);
}

void onFatalSignal(int number, siginfo_t*, void*)
{
    const pid_t self = gettid();
    pid_t reporter = 0;
    if (reportingThread.compare_exchange_strong(reporter, self)) {
        const char* name = "signal";
        for (const FatalSignal& fatal : FatalSignals) {
            if (fatal.number == number)
                name = fatal.name;
        }
        writeReport(number, name);
        endWithSignal(number);
        return;
    }
    // A fault inside the writing itself: the process ends as it would have without us.
    if (reporter == self) {
        endWithSignal(number);
        return;
    }
    // Another thread is writing its report and ends the process when it is complete. Returning would let this
    // thread's fault kill the process before then, so it waits here for the end.
    for (;;)
        ::pause();
}

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static const char Kinds[] = {'D', 'W', 'C', 'F', 'I'};
    const char kind = type >= 0 && std::size_t(type) < sizeof Kinds ? Kinds[type] : '?';
    QByteArray line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
    line += ' ';
    line += kind;
    line += ' ';
    line += context.category ? context.category : "default";
    line += ": ";
    line += message.toUtf8().replace('\n', ' ');
    appendLine(line);
    if (type == QtFatalMsg)
        noteReason("Fatal message: " + message.toUtf8());
    if (previousMessageHandler)
        previousMessageHandler(type, context, message);
}

[[noreturn]] void onTerminate()
{
    QByteArray text = "std::terminate without an exception";
    if (const std::exception_ptr exception = std::current_exception()) {
        try {
            std::rethrow_exception(exception);
        } catch (const std::exception& error) {
            text = QByteArray("Unhandled exception: ") + error.what();
        } catch (...) {
            text = "Unhandled exception of an unknown type";
        }
    }
    noteReason(text);
    appendLine(text);
    if (previousTerminate)
        previousTerminate();
    std::abort();
}

} // namespace

QString IssueReporter::reportsFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is ignored, as the desktop's other programs ignore it.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(state).filePath(QStringLiteral("pictern"));
}

bool IssueReporter::install(const QString& reports, const Build& build)
{
    if (installed.load())
        return false;
    const QByteArray path = QFile::encodeName(QDir(reports).absolutePath());
    if (!QDir().mkpath(reports) || std::size_t(path.size()) >= sizeof folder) {
        qCWarning(lcApp).noquote() << "Crash reports are off: no folder at" << reports;
        return false;
    }
    installed = true;
    signalSafe::Buffer(folder, sizeof folder).append(path.constData());
    const QByteArray lines = "Pictern crash report\nVersion: " + build.version.toUtf8() + " (build " +
                             build.buildNumber.toUtf8() + ")\n";
    signalSafe::Buffer(header, sizeof header).append(lines.constData(), std::size_t(lines.size()));

    // The first backtrace loads the unwinder (libgcc), which must not happen inside a handler.
    void* frame = nullptr;
    backtrace(&frame, 1);

    AlternateSignalStack::ensureForCurrentThread();
    struct sigaction action = {};
    action.sa_sigaction = onFatalSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESETHAND: a second thread failing while the report is written must find the handler still there.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    for (const FatalSignal& fatal : FatalSignals)
        sigaction(fatal.number, &action, nullptr);

    previousTerminate = std::set_terminate(onTerminate);
    previousMessageHandler = qInstallMessageHandler(onMessage);
    return true;
}

QStringList IssueReporter::pendingReports(const QString& reports)
{
    // System too, for pipes and dangling links: whatever bears a report's name is either a report or removed.
    const QFileInfoList entries = QDir(reports).entryInfoList({QStringLiteral("crash-*") + PendingSuffix},
                                                              QDir::Files | QDir::System, QDir::Name | QDir::Reversed);
    QStringList paths;
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || !entry.isFile()) {
            qCWarning(lcApp).noquote() << "Removed what is not a crash report:" << entry.filePath();
            QFile::remove(entry.filePath());
            continue;
        }
        paths.append(entry.filePath());
    }
    return paths;
}

void IssueReporter::removeAbandonedReports(const QString& reports)
{
    static const QRegularExpression Partial(QStringLiteral("^\\.crash-\\d{8}-\\d{6}-(\\d{1,9})\\.partial$"));
    const QDir folder(reports);
    for (const QString& name : folder.entryList({QStringLiteral(".crash-*.partial")},
                                                QDir::Files | QDir::System | QDir::Hidden)) {
        const QRegularExpressionMatch match = Partial.match(name);
        if (!match.hasMatch())
            continue;
        // Only a process that is surely gone: EPERM means one of another user runs under that number.
        if (::kill(pid_t(match.captured(1).toInt()), 0) == 0 || errno != ESRCH)
            continue;
        QFile::remove(folder.filePath(name));
    }
}

QString IssueReporter::markAnswered(const QString& path)
{
    if (!path.endsWith(PendingSuffix))
        return path;
    const QString answered = path.chopped(PendingSuffix.size()) + QStringLiteral(".txt");
    if (!QFile::rename(path, answered)) {
        qCWarning(lcApp).noquote() << "Could not put away the crash report" << path;
        return path;
    }
    return answered;
}

} // namespace pt
