#pragma once

// The welcome window of a launch, shown modally once the store is ready and before the main window: the
// onboarding on a first launch, else what's new after an update (or whenever forced, as --whats-new does).
namespace PTWelcomeWindows {

enum class Shown { None, Onboarding, WhatsNew };

Shown presentAtLaunch(bool forceWhatsNew, bool runModal = true);

} // namespace PTWelcomeWindows
