#pragma once

#include "library/upkeep/PTLibraryShell.h"

#include <QStringList>

class QFileDialog;

// Open and save panels over QFileDialog. Folders with a package extension (a library) are chosen as one item:
// opening one picks it instead of entering it.
class PTFilePanel {
public:
    // The chosen path; empty when cancelled.
    static QString runSave(const PTLibraryShell::PanelRequest& request);
    // The chosen paths; empty when cancelled.
    static QStringList runOpen(const PTLibraryShell::PanelRequest& request, bool multiple);

    // The dialog as the panels run it, for those who drive it themselves.
    static void configure(QFileDialog& dialog, const PTLibraryShell::PanelRequest& request, QStringList* chosenPackage);
};
