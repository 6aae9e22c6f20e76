#pragma once

#include "app/PTAddIconsPresenter.h"

// The add-icons sheet as the shell, its menus and scripts open it: on the main window, the sheet kept until it
// has finished.
class PTAddIconsSheetPresenter : public PTAddIconsPresenter {
public:
    void presentNewCollection(PTCollection* target) override;
    void presentImport(const QList<QUrl>& files, PTCollection* preselected, const QString& requestingApplication,
                       Finished finished) override;
};
