#pragma once

#include <QString>

// What the build was configured with (CMake options of the same names).
namespace PTBuildInfo {

// PROJECT_VERSION, "2.1.0" style.
QString version();
// PICTERN_BUILD_NUMBER.
QString buildNumber();
// PICTERN_DISTRIBUTION: who packaged this build; empty for our own.
QString distribution();
// PICTERN_HELP_URL and PICTERN_SUPPORT_EMAIL; empty hides their menu items.
QString helpURL();
QString supportEmail();
// PICTERN_LIBRARY_HELP_URL: the page on keeping a library in a synced folder; empty hides the Library
// preferences' help button.
QString libraryHelpURL();

} // namespace PTBuildInfo
