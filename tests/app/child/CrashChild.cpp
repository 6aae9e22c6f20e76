// A process of its own that installs the crash reporter, logs numbered lines and then
// dies as asked, for tests of the reports it leaves.
// Usage: crash_child <segv-raise|segv-write|abort|terminate|qfatal|bus|fpe|ill|overflow|pool-overflow|two-threads>
#include "app/issues/IssueReporter.h"
#include "platform/runtime/DispatchQueue.h"

#include <QByteArray>
#include <QDebug>
#include <QFile>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

// Outside any anonymous namespace: the backtrace names exported functions only.
volatile int crashChildDepthLimit = 1 << 30;

int crashChildRecurse(int depth)
{
    if (depth >= crashChildDepthLimit)
        return 0;
    volatile char frame[1024];
    frame[0] = char(depth);
    // Used after the call, so the call cannot become a loop.
    frame[1] = char(crashChildRecurse(depth + 1));
    return frame[0] + frame[1];
}

void crashChildWrite()
{
    volatile int* volatile target = nullptr;
    *target = 1;
}

// True once the reports folder holds a report, finished or still being written.
bool crashChildSeesReport(const QByteArray& folder)
{
    DIR* directory = opendir(folder.constData());
    if (!directory)
        return false;
    bool seen = false;
    while (const dirent* entry = readdir(directory)) {
        if (std::strncmp(entry->d_name, "crash-", 6) == 0 || std::strncmp(entry->d_name, ".crash-", 7) == 0)
            seen = true;
    }
    closedir(directory);
    return seen;
}

[[noreturn]] void crashChildWaitForever()
{
    for (;;)
        pause();
}

void crashChildDie(const QByteArray& mode)
{
    if (mode == "segv-raise") {
        std::raise(SIGSEGV);
    } else if (mode == "segv-write") {
        crashChildWrite();
    } else if (mode == "abort") {
        std::abort();
    } else if (mode == "terminate") {
        throw std::runtime_error("the child gives up");
    } else if (mode == "qfatal") {
        qFatal("the child cannot go on");
    } else if (mode == "bus") {
        std::raise(SIGBUS);
    } else if (mode == "fpe") {
        std::raise(SIGFPE);
    } else if (mode == "ill") {
        std::raise(SIGILL);
    } else if (mode == "overflow") {
        crashChildRecurse(0);
    } else if (mode == "pool-overflow") {
        // Where untrusted files are decoded.
        pt::DispatchQueue::global().async([] { crashChildRecurse(0); });
        crashChildWaitForever();
    } else if (mode == "two-threads") {
        // The second thread faults while the first one's report is being written.
        const QByteArray folder = QFile::encodeName(pt::IssueReporter::reportsFolder());
        std::thread second([folder] {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!crashChildSeesReport(folder) && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::yield();
            crashChildWrite();
        });
        std::thread first(crashChildWrite);
        first.join();
        second.join();
    }
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    // The tests want the signal, not a core file in the build folder.
    const rlimit noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (!pt::IssueReporter::install(pt::IssueReporter::reportsFolder(), {QStringLiteral("9.8.7"), QStringLiteral("654")}))
        return 3;
    // More lines than the reporter keeps: the first ones must have made room for the last.
    for (int line = 1; line <= 100; ++line)
        qInfo("child line %d", line);
    crashChildDie(argv[1]);
    return 0;
}
