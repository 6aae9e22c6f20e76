#include "BenchWait.h"

#include <QCoreApplication>

void waitUntilDone(const bool& done)
{
    // Without a time limit, WaitForMoreEvents blocks in the event dispatcher until an event arrives; the overload
    // with one drops the flag and spins.
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
