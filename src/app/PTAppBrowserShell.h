#pragma once

#include "browser/PTBrowserShell.h"

// The icon browser's view of the shell: the main window, the toolbar's filter, colour and size control, the main
// menu's grid items, and the file manager behind its warning.
class PTAppBrowserShell : public PTBrowserShell {
public:
    QWidget* mainWindow() override;
    qint64 selectedType() override;
    PTLicence* selectedLicence() override;
    void clearSelectedType() override;
    QColor iconColor() override;
    void recalculateGridViewOptionsWidth() override;
    QAction* darkModeMenuItem() override;
    QAction* gridViewHoverLabelsMenuItem() override;
    void addActionAfterFind(QAction* action) override;
    void presentPreferences(const QString& identifier) override;
    void showFileURLsInFinder(const QList<QUrl>& urls) override;
};
