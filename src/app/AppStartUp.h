#pragma once

#include "app/PTAppDelegate.h"

#include <memory>

class PTSingleInstance;

// Pictern's start-up between the application object and the event loop, as main() runs it and the scenario tests
// run it again: they must start the very application users get.
namespace AppStartUp {

// Fills every registry and installs the seams; once per process.
void registerAll();
// The delegate made current: the shared one, the library's shell and the store's host.
std::shared_ptr<PTAppDelegate> installDelegate(PTAppDelegate::QuitPath quitPath = PTAppDelegate::defaultQuitPath());
// The launch from the event loop: library, store and main window, then what transfer starts once they are up.
// Answers false when the application must end.
bool finishLaunching(PTAppDelegate& delegate, bool offerSwitch, bool showWhatsNew, bool showWelcome);
// Later launches are served by this one: the files they name open here, and a launch without files brings the
// application forward.
void serveLaterLaunches(PTAppDelegate& delegate, PTSingleInstance& instance);
// After the event loop: the main window closed for good and the seams let go of the delegate.
void tearDown(PTAppDelegate& delegate);

} // namespace AppStartUp
