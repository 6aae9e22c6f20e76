// relaunch <application> <pid>: waits until the process ends, then starts the application in its place. The
// application starts it just before it exits, so that a restart never finds the old instance still running.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

void waitForExit(pid_t pid)
{
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        pollfd entry = {pidfd, POLLIN, 0};
        while (::poll(&entry, 1, -1) < 0 && errno == EINTR) {
        }
        ::close(pidfd);
        return;
    }
    if (errno == ESRCH)
        return;
    // Kernels without pidfd_open: poll the process's existence.
    while (::kill(pid, 0) == 0 || errno == EPERM)
        ::usleep(50 * 1000);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: relaunch <application> <pid>\n");
        return 2;
    }
    const char* pidText = argv[2];
    const char* end = pidText + std::strlen(pidText);
    long pid = 0;
    const auto [rest, error] = std::from_chars(pidText, end, pid);
    if (error != std::errc() || rest != end || pid <= 0) {
        std::fprintf(stderr, "relaunch: not a process id: %s\n", pidText);
        return 2;
    }
    waitForExit(static_cast<pid_t>(pid));
    char* const arguments[] = {argv[1], nullptr};
    ::execv(argv[1], arguments);
    std::fprintf(stderr, "relaunch: cannot start %s: %s\n", argv[1], std::strerror(errno));
    return 1;
}
