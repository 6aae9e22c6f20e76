#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The import options in force: the one place where the program reads the bit set of accepted file types and
// folder handling. The add-icons sheet pushes a temporary set while it is open, reads the effective set and pops
// it when it closes; the Import/Export preferences show and store the stored set. Every change posts
// ImportOptionsDidChangeNotification. Main thread only.
class PTPersistedImportOptions {
public:
    static const QString ImportOptionsDidChangeNotification; // "PT_PREFERENCES_IMPORT_OPTIONS_DID_CHANGE"
    // Used while nothing is stored: SVG, GIF, TTF, PNG, ICNS, PDF and ICO, folders searched recursively, tags
    // taken from the files.
    static constexpr qint64 DefaultImportOptions = 0x143DC;

    // The last pushed set while one is pushed, else the stored set, else DefaultImportOptions.
    static qint64 persistedImportOptions();
    // With lookInStack false the pushed sets are passed over.
    static qint64 persistedImportOptions(bool lookInStack);
    static void pushPersistedImportOptions(qint64 options);
    // Removes and answers the last pushed set; nothing (and no notification) when none is pushed.
    static std::optional<qint64> popPersistedImportOptions();
    static void tellWorldAboutImportOptionsChanging();
};
