#pragma once

#include "app/PTAboutPanel.h"
#include "app/PTBuildInfo.h"
#include "platform/ui/CommandHandler.h"

#include <QObject>
#include <QMenuBar>
#include <QPointer>


// The main menu (File, Edit, View, Help) and the application's own commands: grid display toggles and size
// steps, search grouping, new set and group, find, bundle import, saving the library, the appearance toggle, help,
// support mail and About. Every item is a command of the action router, so items of the grid and inspector reach
// them when they have focus, and this controller answers the rest as the application's handler; the Edit menu's
// copy, delete, rename and select all only the focused grid or source list answers. One instance; it exists
// before the main window's columns.
class PTMenuItemsController : public QObject, public pt::CommandHandler {
    Q_OBJECT
public:
    static inline const QString ShowLabelsKey = QStringLiteral("PTGridViewOptionsControllerShowLabels");
    static inline const QString ShowGridKey = QStringLiteral("PTGridViewOptionsControllerShowGrid");
    static inline const QString GroupSearchItemsKey = QStringLiteral("PTGridViewOptionsControllerGroupSearchItems");

    // Empty addresses hide the help and support items.
    explicit PTMenuItemsController(QString helpURL = PTBuildInfo::helpURL(),
                                   QString supportEmail = PTBuildInfo::supportEmail(), QObject* parent = nullptr);
    ~PTMenuItemsController() override;
    static PTMenuItemsController* sharedController();

    // Made once; the window shows it.
    QMenuBar* menuBar() const { return menuBar_; }
    // The open About panel, or null.
    PTAboutPanel* aboutPanel() const { return aboutPanel_; }
    // The View menu's items the grid controller drives itself.
    QAction* darkModeMenuItem() const { return darkModeMenuItem_; }
    QAction* gridViewHoverLabelsMenuItem() const { return hoverLabelsMenuItem_; }
    // The View menu's items that hide and show the side columns; disabled until the inspector takes them over.
    QAction* inspectorMenuItem() const { return inspectorMenuItem_; }
    QAction* collectionsMenuItem() const { return collectionsMenuItem_; }
    // Puts the action in the Edit menu right after "Find".
    void addActionAfterFind(QAction* action);

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
    QMenu* editMenu_ = nullptr;
    QAction* findMenuItem_ = nullptr;
    QAction* darkModeMenuItem_ = nullptr;
    QAction* hoverLabelsMenuItem_ = nullptr;
    QAction* inspectorMenuItem_ = nullptr;
    QAction* collectionsMenuItem_ = nullptr;
    QString helpURL_;
    QString supportEmail_;
};
