#pragma once

#include <QList>
#include <QUrl>

// Shows files in the desktop's file manager.
class PTWorkspaceController {
public:
    static inline const QString OpenInFinderWarningKey = QStringLiteral("PTWorkspaceOpenInFinderWarningKey");

    // Warns first (until the user ticks the box), then reveals the files.
    static void showFileURLsInFinder(const QList<QUrl>& urls);
    // Asks the file manager to select the files (org.freedesktop.FileManager1.ShowItems); with nobody serving
    // that, opens each distinct parent folder instead.
    static void showFileURLsInFinderWithoutWarning(const QList<QUrl>& urls);
};
