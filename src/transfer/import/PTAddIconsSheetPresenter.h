#pragma once

#include "transfer/import/PTAddIconsPresenter.h"

// The add-icons sheet as the shell, its menus, scripts and files opened from outside open it: on the main window,
// the sheet kept until it has finished. There is one such sheet at a time: a request made while it is open, by
// the application it names (or none, as it names none), adds its files to it; any other request is presented when
// it has gone, in turn. Every request's handler is told how the sheet it went into finished.
class PTAddIconsSheetPresenter : public PTAddIconsPresenter {
public:
    void presentNewCollection(PTCollection* target) override;
    void presentImport(const QList<QUrl>& files, PTCollection* preselected, const QString& requestingApplication,
                       Finished finished) override;
};
