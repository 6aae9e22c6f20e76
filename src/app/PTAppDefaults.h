#pragma once

// The application's own settings with their registered values: what the preferences edit and the notification
// centre, the grid options, the dragging manager and the exporter read.
namespace PTAppDefaults {

// Once, at start-up and in test main.
void registerAll();

} // namespace PTAppDefaults
