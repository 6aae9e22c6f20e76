#pragma once

#include "platform/runtime/Error.h"

// Failures of the SVG engine: errors in "PTSVGErrorDomain" with no user info.
namespace PTSVGError {

inline const QString Domain = QStringLiteral("PTSVGErrorDomain");

enum Code : qint64 {
    ReadFailed = 0,       // the file could not be read
    XMLRejected = 1,      // the text is not well-formed XML (or is nested or sized beyond the limits)
    BuildFailed = 2,      // building the tree failed (out of memory)
    DrawFailed = 3,       // drawing failed
    NoViewBox = 4,        // no usable view box or size, and not a font
};

inline pt::Error make(Code code)
{
    return pt::Error(Domain, code);
}

} // namespace PTSVGError
