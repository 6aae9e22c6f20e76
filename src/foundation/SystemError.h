#pragma once

#include "platform/runtime/Error.h"

// An operating-system failure as a pt::Error: the code is the errno value, the text the system's, and the
// path the file it concerns.
pt::Error systemError(const QString& domain, int errorNumber, const QString& path);
