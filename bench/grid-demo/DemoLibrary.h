#pragma once

#include <QString>
#include <QTemporaryDir>

class PTCollection;

// A library of its own in a temporary folder, made current with its store stack, for the browsing window and
// the grid controller's benchmark.
class DemoLibrary {
public:
    DemoLibrary();
    ~DemoLibrary();
    DemoLibrary(const DemoLibrary&) = delete;
    DemoLibrary& operator=(const DemoLibrary&) = delete;

    PTCollection* addSet(const QString& name);
    // Copies up to `limit` SVG files (links skipped) of the folder into the set as items; answers how many.
    int addFolder(PTCollection* set, const QString& folder, int limit);
    // Runs the save path and waits for it.
    void save();

private:
    QTemporaryDir dir_;
};
