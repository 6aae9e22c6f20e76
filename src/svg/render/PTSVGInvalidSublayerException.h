#pragma once

#include <stdexcept>
#include <string>

// Raised when something other than an SVG layer is added to an SVG layer. The document turns it into a drawing
// error; it never leaves the SVG engine.
class PTSVGInvalidSublayerException : public std::logic_error {
public:
    static constexpr const char* Name = "PTSVGInvalidSublayerException";
    explicit PTSVGInvalidSublayerException(const std::string& className)
        : std::logic_error("The layer must be an instance of PTSVGLayer, " + className + " given.")
    {
    }
};
