#pragma once

#include <QString>

#include <functional>

// Tidies, at launch, what imports that never ended left in the library, from their journals: the files they
// copied into set folders that no item names (never a file a journal does not name), then the sets and groups
// they made that hold nothing. What they stored with its set stays where it is. The user is told once, by an
// alert, that an import was interrupted and what was kept.
class PTInterruptedImports {
public:
    static inline const QString AlertMessage = QStringLiteral("An import was interrupted.");
    static inline const QString AlertMessageForSeveral = QStringLiteral("%1 imports were interrupted.");
    static inline const QString KeptMessage = QStringLiteral("%1 in %2 were kept.");
    static inline const QString KeptOneMessage = QStringLiteral("%1 in %2 was kept.");
    static inline const QString NothingKeptMessage = QStringLiteral("No icons were kept.");

    // Reads the current library's journals now, so that imports started later are not touched, and tidies on
    // a worker; `done` runs on the main queue when all is over (at once when there is nothing to tidy). Main
    // thread, with the library's store open.
    static void tidy(std::function<void()> done = nullptr);
};
