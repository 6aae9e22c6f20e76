#pragma once

#include <QString>

#include <memory>

// What the library asks of the SVG engine when it checks item files: whether a file parses as an SVG document.
// The engine sits above the library, so the application installs the check at start-up; until then an SVG file
// passes when it can be opened for reading.
class PTSVGFileCheck {
public:
    virtual ~PTSVGFileCheck() = default;
    // Whether the file parses into a document. Called on worker threads, several at once.
    virtual bool isValidSVGFile(const QString& path) const = 0;

    static void install(std::shared_ptr<const PTSVGFileCheck> check);
    static std::shared_ptr<const PTSVGFileCheck> installed();
    // The installed check, or the fallback above.
    static bool check(const QString& path);
};
