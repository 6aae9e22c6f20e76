#pragma once

#include <QTemporaryDir>

// Points the process's settings at a new file in the folder and registers the application's defaults again, as
// start-up does, with the test run's library still the stored one: a fresh profile for one test.
void usePreferencesTestDefaults(const QTemporaryDir& dir);
