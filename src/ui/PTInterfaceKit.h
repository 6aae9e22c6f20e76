#pragma once

// Start-up of the interface kit.
namespace PTInterfaceKit {

// Registers the kit's default values; once, at start-up and in test main.
void registerAll();
// Installs the kit's implementations of the seams the library declares (the confirmation alert).
void installLibrarySeams();

} // namespace PTInterfaceKit
