#pragma once

#include <QString>

#include <memory>

// A progress sheet on the main window while the library does long work (removing a set or items). The interface
// kit installs its sheet at start-up; with none installed the work runs without one.
class PTProgressSheet {
public:
    virtual ~PTProgressSheet() = default;
    virtual void setTitle(const QString& title) = 0;
    // Closes the sheet.
    virtual void endSession() = 0;
};

class PTProgressPresenter {
public:
    virtual ~PTProgressPresenter() = default;
    // Opens a sheet with the title.
    virtual std::shared_ptr<PTProgressSheet> present(const QString& title) = 0;

    static void install(std::shared_ptr<PTProgressPresenter> presenter);
    // Opens a sheet through the installed presenter; null when none is installed.
    static std::shared_ptr<PTProgressSheet> presentSheet(const QString& title);
};
