#pragma once

#include "platform/ui/CommandHandler.h"

#include "ui/views/PTAppearanceWindow.h"

class PTPageControllerView;
class PTSheetTabView;

// The interface kit's gallery: a tab per group of widgets, a theme toggle, and windows to open (a sheet, a
// panel, a popover, a task under a progress sheet, a suppressible question).
class GalleryWindow : public PTAppearanceWindow, public pt::CommandHandler {
    Q_OBJECT
public:
    static const QString ToggleThemeCommand;

    GalleryWindow();

    bool respondsTo(const QString& command) const override;
    bool validate(const QString& command, pt::CommandState& state) override;
    void perform(const QString& command) override;

private:
    QWidget* windowsPage();
    void runTask();
    void askQuestion();

    PTSheetTabView* tabs_ = nullptr;
    PTPageControllerView* pages_ = nullptr;
};
