#include "app/AppStartUp.h"

#include "app/PTAppController.h"
#include "app/PTAppDefaults.h"
#include "app/PTOpenedItemsCoalescer.h"
#include "app/PTSVGParseCheck.h"
#include "app/PTSingleInstance.h"
#include "app/scripting/PTScriptablePlugin.h"
#include "browser/controller/PTGridViewOptionsController.h"
#include "library/PTLibraryController.h"
#include "library/controllers/PTAppDataController.h"
#include "library/store/PTStoreStack.h"
#include "platform/graphics/Jpeg2000ImagePlugin.h"
#include "sidebar/PTSourceListSidebar.h"
#include "sidebar/inspector/PTInspectorSidebar.h"
#include "svg/parse/PTSVGCommand.h"
#include "transfer/TransferSetUp.h"
#include "ui/PTInterfaceKit.h"

namespace AppStartUp {

void registerAll()
{
    pt::Jpeg2000ImagePlugin::registerPlugin();
    PTLibraryController::registerDefaults();
    PTInterfaceKit::registerAll();
    PTSVGCommand::registerAll();
    PTAppDataController::registerAll();
    PTAppDefaults::registerAll();
    PTGridViewOptionsController::registerDefaults();
    PTScriptablePlugin::registerAll();
    PTInterfaceKit::installLibrarySeams();
    TransferSetUp::registerAll();
    PTSVGFileCheck::install(std::make_shared<PTSVGParseCheck>());
    // The inspector first: the source list hands the inspector's questions on to the sidebar installed before it.
    PTInspectorSidebar::install();
    PTSourceListSidebar::install();
}

std::shared_ptr<PTAppDelegate> installDelegate(PTAppDelegate::QuitPath quitPath)
{
    auto delegate = std::make_shared<PTAppDelegate>(std::move(quitPath));
    PTAppDelegate::setShared(delegate.get());
    PTLibraryShell::install(delegate);
    PTStoreStack::setHost(delegate);
    return delegate;
}

bool finishLaunching(PTAppDelegate& delegate, bool offerSwitch, bool showWhatsNew, bool showWelcome)
{
    if (!delegate.applicationDidFinishLaunching(offerSwitch, showWhatsNew, showWelcome))
        return false;
    TransferSetUp::applicationDidFinishLaunching();
    return true;
}

void serveLaterLaunches(PTAppDelegate& delegate, PTSingleInstance& instance)
{
    PTAppDelegate* served = &delegate;
    QObject::connect(&instance, &PTSingleInstance::openRequested, served,
                     [served](const QList<QUrl>& urls) { served->openedItems().open(urls); });
    QObject::connect(&instance, &PTSingleInstance::activateRequested, served, [served] {
        if (PTAppController* controller = served->applicationController())
            controller->bringForward();
    });
}

void tearDown(PTAppDelegate& delegate)
{
    delegate.tearDown();
    PTLibraryShell::install(nullptr);
    PTAppDelegate::setShared(nullptr);
}

} // namespace AppStartUp
