// Pictern's entry point: one instance per session, the registries and seams, then the launch from the event loop.
#include "app/AppStartUp.h"
#include "app/PTAppController.h"
#include "app/PTAppDelegate.h"
#include "app/PTBuildInfo.h"
#include "app/PTGridColumn.h"
#include "app/PTOpenedItemsCoalescer.h"
#include "app/PTSingleInstance.h"
#include "app/issues/IssueReporter.h"
#include "app/scripting/PTScriptingAdaptor.h"
#include "ui/PTApplicationIcon.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>
#include <QTimer>

#include <clocale>

namespace {

// Set by the start-up benchmark: report the first painted grid on stdout and quit.
const char* const ReportFirstPaintVariable = "PICTERN_REPORT_FIRST_PAINT";

} // namespace

int main(int argc, char** argv)
{
    // First of all, so that a crash while starting up leaves a report too.
    pt::IssueReporter::install(pt::IssueReporter::reportsFolder(),
                               {PTBuildInfo::version(), PTBuildInfo::buildNumber()});
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictern"));
    QApplication::setApplicationVersion(PTBuildInfo::version());
    QGuiApplication::setDesktopFileName(QStringLiteral("com.pictern.Pictern"));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // Qt sets the C locale from the environment; numbers must never follow it.
    std::setlocale(LC_NUMERIC, "C");

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Pictern icon library"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption switchLibrary(QStringLiteral("switch-library"),
                                           QStringLiteral("Offer to open another library before starting."));
    const QCommandLineOption whatsNew(QStringLiteral("whats-new"), QStringLiteral("Show what is new in this version."));
    parser.addOption(switchLibrary);
    parser.addOption(whatsNew);
    parser.addPositionalArgument(QStringLiteral("items"), QStringLiteral("Files or pictern: URLs to open."), QStringLiteral("[items...]"));
    parser.process(app);
    const QStringList items = parser.positionalArguments();
    const QString workingDirectory = QDir::currentPath();

    PTSingleInstance instance(QDBusConnection::sessionBus());
    // Scripts are served beside org.freedesktop.Application, and answer "not ready" until the launch is done.
    auto* scripting = new PTScriptingAdaptor(&instance, QDBusConnection::sessionBus());
    if (!instance.registerPrimary() && QDBusConnection::sessionBus().isConnected() &&
        PTSingleInstance::forward(QDBusConnection::sessionBus(), items, workingDirectory,
                                  PTSingleInstance::launchActivationToken())) {
        return 0;
    }

    AppStartUp::registerAll();

    const std::shared_ptr<PTAppDelegate> delegate = AppStartUp::installDelegate();
    delegate->watchTerminationSignals();
    QObject::connect(&app, &QGuiApplication::commitDataRequest, delegate.get(), [&delegate] { delegate->terminate(); });
    AppStartUp::serveLaterLaunches(*delegate, instance);

    // Option held at launch asks for another library, Shift for what is new; only X11 tells us what is held.
    const Qt::KeyboardModifiers heldAtLaunch = QGuiApplication::queryKeyboardModifiers();
    const bool offerSwitch = parser.isSet(switchLibrary) || heldAtLaunch.testFlag(Qt::AltModifier);
    const bool showWhatsNew = parser.isSet(whatsNew) || heldAtLaunch.testFlag(Qt::ShiftModifier);
    const bool reportFirstPaint = qEnvironmentVariableIsSet(ReportFirstPaintVariable);
    QTimer::singleShot(0, delegate.get(), [&] {
        if (!AppStartUp::finishLaunching(*delegate, offerSwitch, showWhatsNew, !reportFirstPaint)) {
            QCoreApplication::exit(1);
            return;
        }
        scripting->setReady(true);
        PTAppController* controller = delegate->applicationController();
        if (reportFirstPaint && controller) {
            QObject::connect(controller->gridColumn(), &PTGridColumn::firstPaint, delegate.get(), [&delegate] {
                QTextStream(stdout) << "first-paint" << Qt::endl;
                delegate->forceNextAvailableTermination(true);
                delegate->terminate();
            });
        }
        // Drawn after the window is up: the first paint does not wait for the icon.
        QTimer::singleShot(0, [] { QApplication::setWindowIcon(PTApplicationIcon::icon()); });
        // Files named at launch wait for the main window, as later ones do.
        delegate->openedItems().openArguments(items, workingDirectory);
    });
    const int code = QApplication::exec();
    AppStartUp::tearDown(*delegate);
    return code;
}
