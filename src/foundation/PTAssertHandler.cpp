#include "foundation/PTAssertHandler.h"

#include "platform/runtime/Logging.h"

#include <QDebug>
#include <QObject>

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<QtMessageHandler> previousHandler{nullptr};
std::atomic<bool> installed{false};

QString functionText(const char* function, const char* file, int line)
{
    return QStringLiteral("PTAssertHandler Failure: Function (%1) in %2#%3")
        .arg(QString::fromUtf8(function ? function : "?"), QString::fromUtf8(file ? file : "?"))
        .arg(line);
}

void hook(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QtMessageHandler previous = previousHandler.load();
    if (type == QtFatalMsg) {
        QMessageLogContext where(context.file, context.line, context.function, lcFoundation().categoryName());
        previous(QtCriticalMsg, where, functionText(context.function, context.file, context.line));
    }
    previous(type, context, message);
}

void stopInDebugBuilds()
{
#ifndef QT_NO_DEBUG
    std::abort();
#endif
}

} // namespace

void PTAssertHandler::install()
{
    if (installed.exchange(true))
        return;
    previousHandler = qInstallMessageHandler(hook);
}

void PTAssertHandler::uninstall()
{
    if (!installed.exchange(false))
        return;
    qInstallMessageHandler(previousHandler.load());
}

void PTAssertHandler::handleFailureInMethod(const char* method, const QObject* object, const char* file, int line)
{
    QString objectText;
    QDebug(&objectText).nospace() << object;
    qCCritical(lcFoundation).noquote() << QStringLiteral("PTAssertHandler Failure: Method %1 for object %2 in %3#%4")
                                              .arg(QString::fromUtf8(method ? method : "?"), objectText,
                                                   QString::fromUtf8(file ? file : "?"))
                                              .arg(line);
    stopInDebugBuilds();
}

void PTAssertHandler::handleFailureInFunction(const char* function, const char* file, int line)
{
    qCCritical(lcFoundation).noquote() << functionText(function, file, line);
    stopInDebugBuilds();
}
