#include "TestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

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
