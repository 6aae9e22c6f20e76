#pragma once

#include "library/ImportTyping.h"
#include "library/upkeep/PTImportValidation.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;
namespace pt::store {
class ManagedObject;
}

// Dropped and opened files as the import sees them: which of them it takes, and running an import of them
// under a progress sheet that lists the files it could not read afterwards.
class PTPasteBoard : public PTImportValidation {
public:
    static inline const QString ImportingTitle = QStringLiteral("Importing, please wait...");
    static inline const QString ImportCompleteTitle = QStringLiteral("Import Complete");
    // How long the progress sheet shows "Import Complete".
    static constexpr double CompleteLingerSeconds = 1.0;

    // Folders that are not packages (whatever the options), and existing files the options accept.
    QStringList validateURLStrings(const QStringList& paths, PTImportOptions options) const override;
    // URLs stay as they are, paths become file URLs.
    static QList<QUrl> urlsForPathStrings(const QStringList& paths);
    // Imports into the set or group under a progress sheet on the window; files that are no images are listed
    // in the issues sheet, which holds the rest back until it is closed. The completion runs at the very end.
    static void importIcons(const QList<QUrl>& urls, PTImportOptions options, pt::store::ManagedObject* target,
                            QWidget* window, std::function<void()> completion);
    // Lets the set and group lists and the grid see what changed.
    static void purgeAndNotify();
};
