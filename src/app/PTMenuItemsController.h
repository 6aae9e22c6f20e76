#pragma once

#include "app/PTAboutPanel.h"
#include "app/PTBuildInfo.h"
#include "platform/ui/CommandHandler.h"

#include <QObject>
#include <QMenuBar>
#include <QPointer>


// The main menu (File, Edit, View, Help) and the application's own commands: grid display toggles and size
// steps, search grouping, new set and group, find, bundle import, the appearance toggle, help, support mail and
// About. Every item is a command of the action router, so items of the grid and inspector reach them when they
// have focus, and this controller answers the rest as the application's handler. One instance; it exists before
// the main window's columns.
class PTMenuItemsController : public QObject, public pt::CommandHandler {
    Q_OBJECT
public:
    static inline const QString ShowLabelsKey = QStringLiteral("PTGridViewOptionsControllerShowLabels");
    static inline const QString ShowGridKey = QStringLiteral("PTGridViewOptionsControllerShowGrid");
    static inline const QString GroupSearchItemsKey = QStringLiteral("PTGridViewOptionsControllerGroupSearchItems");
    static inline const QString GridSizeKey = QStringLiteral("gridViewSize");
    static constexpr int GridSizeStep = 20;
    static constexpr int FineGridSizeStep = 5;
    static constexpr int MinGridSize = 16;
    static constexpr int MaxGridSize = 256;

    // Empty addresses hide the help and support items.
    explicit PTMenuItemsController(QString helpURL = PTBuildInfo::helpURL(),
                                   QString supportEmail = PTBuildInfo::supportEmail(), QObject* parent = nullptr);
    ~PTMenuItemsController() override;
    static PTMenuItemsController* sharedController();

    // Made once; the window shows it.
    QMenuBar* menuBar() const { return menuBar_; }
    // The open About panel, or null.
    PTAboutPanel* aboutPanel() const { return aboutPanel_; }
    // Adds (or with a negative step removes) grid size, 5 points a step with Shift, within 16 to 256.
    static void stepGridSize(int direction, bool fine);

    bool respondsTo(const QString& command) const override;
    bool validate(const QString& command, pt::CommandState& state) override;
    void perform(const QString& command) override;

private:
    void buildMenus();
    static void flip(const QString& key);
    void showAboutWindow();

    // The window owns it once it shows it.
    QPointer<QMenuBar> menuBar_;
    QPointer<PTAboutPanel> aboutPanel_;
    QString helpURL_;
    QString supportEmail_;
};
