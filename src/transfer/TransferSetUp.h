#pragma once

// What the application shell needs of import, export and downloads, set up once at start-up.
namespace TransferSetUp {

// Registers the file-open operations (bundles, downloads, preferences, presets, icons, libraries) and installs
// the seams: validation of dropped and opened files, the import behind replacing an item's file, the sink of opened
// items, the add-icons sheet and the starter set's download; registers the copy formats and installs what the icon
// browser transfers through.
void registerAll();
// Tidies what imports cut short by the end of the last run left in the library, and lets the file-open handler
// start on what has been opened so far, shortly after.
void applicationDidFinishLaunching();

} // namespace TransferSetUp
