#include "GalleryWindow.h"

#include "GalleryPages.h"

#include "ui/controls/PTSheetButton.h"
#include "ui/controls/PTTitleLabel.h"
#include "ui/sheets/PTAlertController.h"
#include "ui/sheets/PTProgressSheetWindow.h"
#include "ui/sheets/PTSheetTabView.h"
#include "ui/sheets/PTSheetView.h"
#include "ui/theme/PTThemeController.h"
#include "ui/views/PTPageControllerView.h"
#include "ui/views/PTPanel.h"
#include "ui/views/PTPopover.h"
#include "ui/views/PTSheet.h"

#include "platform/ui/ActionRouter.h"
#include "platform/ui/SheetHost.h"

#include <QAction>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

const QString GalleryWindow::ToggleThemeCommand = QStringLiteral("toggleTheme:");

GalleryWindow::GalleryWindow()
{
    setWindowTitle(QStringLiteral("Pictern interface kit"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);

    auto* toggle = new QPushButton;
    toggle->setAccessibleName(QStringLiteral("Toggle theme"));
    auto* action = new QAction(QStringLiteral("Toggle theme"), this);
    action->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    addAction(action);
    pt::ActionRouter::shared().pushWindowHandler(this, this);
    pt::ActionRouter::shared().bind(action, ToggleThemeCommand);
    connect(toggle, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, toggle, [toggle, action] { toggle->setText(action->text()); });
    toggle->setText(action->text());
    layout->addWidget(toggle, 0, Qt::AlignRight);

    tabs_ = new PTSheetTabView;
    tabs_->setFixedHeight(32);
    pages_ = new PTPageControllerView;
    std::vector<QWidget*> pages;
    for (const GalleryPages::Page& page : GalleryPages::stillPages()) {
        tabs_->addTabWithTitle(page.title);
        pages.push_back(page.build());
    }
    tabs_->addTabWithTitle(QStringLiteral("Windows"));
    pages.push_back(windowsPage());
    pages_->setPages(pages);
    tabs_->setSelectedIndex(0);
    connect(tabs_, &PTSheetTabView::didSelectIndex, pages_, &PTPageControllerView::setSelectedIndex);
    layout->addWidget(tabs_);
    layout->addWidget(pages_, 1);
    resize(520, 420);
}

bool GalleryWindow::respondsTo(const QString& command) const
{
    return command == ToggleThemeCommand;
}

bool GalleryWindow::validate(const QString& command, pt::CommandState& state)
{
    Q_UNUSED(command);
    state.title = PTThemeIsAppearance(PTAppearanceDark) ? QStringLiteral("Light theme") : QStringLiteral("Dark theme");
    return true;
}

void GalleryWindow::perform(const QString& command)
{
    Q_UNUSED(command);
    PTThemeController& theme = PTThemeController::defaultController();
    theme.setAppearance(theme.appearance() == PTAppearanceDark ? PTAppearanceAqua : PTAppearanceDark);
    pt::ActionRouter::shared().invalidate();
}

QWidget* GalleryWindow::windowsPage()
{
    auto* page = new PTSheetView;
    page->setAccessibleName(QStringLiteral("Windows"));
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(20, 20, 20, 20);
    auto addButton = [column](const QString& title, auto slot) {
        auto* button = new PTSheetCloseButton(title);
        QObject::connect(button, &QPushButton::clicked, slot);
        column->addWidget(button, 0, Qt::AlignLeft);
        return button;
    };
    addButton(QStringLiteral("Run a task under a progress sheet"), [this] { runTask(); });
    addButton(QStringLiteral("Ask a suppressible question"), [this] { askQuestion(); });
    addButton(QStringLiteral("Show a sheet"), [this] {
        auto* sheet = new PTSheet;
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        auto* body = new PTSheetView(sheet);
        body->resize(320, 120);
        sheet->resize(body->size());
        auto* close = new PTSheetAcceptButton(QStringLiteral("Close"), body);
        close->setGeometry(220, 80, 80, 25);
        connect(close, &QPushButton::clicked, sheet, [sheet] {
            pt::SheetHost::end(sheet, 1);
            sheet->close();
        });
        pt::SheetHost::begin(this, sheet);
    });
    addButton(QStringLiteral("Show a panel"), [] {
        auto* panel = new PTPanel;
        panel->setAttribute(Qt::WA_DeleteOnClose);
        panel->setWindowTitle(QStringLiteral("Panel"));
        auto* label = new PTTitleLabel(QStringLiteral("Drag the background to move the panel."), panel);
        label->move(20, 20);
        panel->resize(300, 80);
        panel->show();
    });
    QPushButton* popoverButton = addButton(QStringLiteral("Show a popover"), [] {});
    connect(popoverButton, &QPushButton::clicked, this, [popoverButton] {
        auto* popover = new PTPopover;
        popover->setAttribute(Qt::WA_DeleteOnClose);
        popover->setContentWidget(new PTTitleLabel(QStringLiteral("  A popover under its button  ")));
        popover->showRelativeTo(popoverButton->rect(), popoverButton, Qt::BottomEdge);
    });
    column->addStretch();
    return page;
}

void GalleryWindow::runTask()
{
    PTProgressSheetWindow sheet(QStringLiteral("Counting"));
    sheet.setFloatingMode(true);
    sheet.setSubTitle(QStringLiteral("A worker counts to 200"));
    sheet.runModal([&sheet](const PTProgressSheet::Completion& done) {
        for (int i = 1; i <= 200; ++i) {
            sheet.setProgress(i, 200);
            sheet.setMessage(QStringLiteral("%1 of 200").arg(i));
            QThread::msleep(10);
        }
        done(0, true);
    });
}

void GalleryWindow::askQuestion()
{
    PTAlertController::presentAlertWithTitle(QStringLiteral("Delete the set?"),
                                             QStringLiteral("Its icons go to no other set."),
                                             QStringLiteral("PTGalleryDeleteSuppressionKey"), [](bool) {});
}
