#pragma once

#include <memory>

class PTCollection;

// Opens the add-icons sheet on the main window with no files yet and the set (or none) as the target. The
// import subsystem installs it; until then the commands that open it are disabled.
class PTAddIconsPresenter {
public:
    virtual ~PTAddIconsPresenter() = default;
    virtual void presentNewCollection(PTCollection* target) = 0;

    static void install(std::shared_ptr<PTAddIconsPresenter> presenter);
    static std::shared_ptr<PTAddIconsPresenter> installed();
};
