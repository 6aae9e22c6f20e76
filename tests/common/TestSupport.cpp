#include "TestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <cerrno>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pt::test {

bool writeImageWhole(const QImage& image, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && image.save(&out, "PNG") && out.commit();
}

bool runMainQueueUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
        // Tests wait outside any event loop, where deleteLater() would otherwise wait for the process's end.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::usleep(200);
    }
    return true;
}

void runMainQueueFor(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
        // Tests wait outside any event loop, where deleteLater() would otherwise wait for the process's end.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::usleep(200);
    }
}

int runInBoundedChild(qint64 extraBytes, unsigned seconds, const std::function<int()>& body)
{
    // The limit counts from what the process has mapped already: the libraries, the threads' stacks and heaps.
    qint64 pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = rlim_t(pages * ::sysconf(_SC_PAGESIZE) + extraBytes);
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        const rlimit bound{limit, limit};
        if (::setrlimit(RLIMIT_AS, &bound) != 0)
            ::_exit(126);
        ::alarm(seconds);
        int result = 125;
        try {
            result = body();
        } catch (...) {
        }
        // No exit handlers or stream flushes: they belong to the test executable.
        ::_exit(result);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

} // namespace pt::test

void PrintTo(const QString& value, std::ostream* os)
{
    *os << '"' << value.toStdString() << '"';
}

void PrintTo(const QVariant& value, std::ostream* os)
{
    QString text;
    QDebug(&text) << value;
    *os << text.toStdString();
}

void PrintTo(const QVariantMap& value, std::ostream* os)
{
    PrintTo(QVariant(value), os);
}
