#include "app/issues/IssueReporter.h"

#include "app/issues/RecentLogLines.h"
#include "app/issues/SignalSafeWrite.h"
#include "platform/runtime/Logging.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTime>

#include <algorithm>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <execinfo.h>
#include <fcntl.h>
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
std::atomic<bool> hasReason{false};
std::atomic<bool> installed{false};
std::atomic<bool> reporting{false};
RecentLogLines recentLines;
alignas(16) char alternateStack[64 * 1024];
QtMessageHandler previousMessageHandler = nullptr;
std::terminate_handler previousTerminate = nullptr;

void noteReason(const QByteArray& text)
{
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

void onFatalSignal(int number, siginfo_t*, void*)
{
    // SA_RESETHAND put the default action back already: a fault inside the writing, or a second thread
    // crashing meanwhile, ends the process as it would have without us.
    if (!reporting.exchange(true)) {
        const char* name = "signal";
        for (const FatalSignal& fatal : FatalSignals) {
            if (fatal.number == number)
                name = fatal.name;
        }
        writeReport(number, name);
    }
    // Blocked until the handler returns, then delivered with the default action. A fault that came from an
    // instruction happens again on return, and kills the same way.
    ::raise(number);
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

    stack_t stack = {};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action = {};
    action.sa_sigaction = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    for (const FatalSignal& fatal : FatalSignals)
        sigaction(fatal.number, &action, nullptr);

    previousTerminate = std::set_terminate(onTerminate);
    previousMessageHandler = qInstallMessageHandler(onMessage);
    return true;
}

QStringList IssueReporter::pendingReports(const QString& reports)
{
    QStringList names = QDir(reports).entryList({QStringLiteral("crash-*") + PendingSuffix}, QDir::Files, QDir::Name);
    std::reverse(names.begin(), names.end());
    QStringList paths;
    for (const QString& name : names)
        paths.append(QDir(reports).filePath(name));
    return paths;
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
