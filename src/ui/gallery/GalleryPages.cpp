#include "GalleryPages.h"

#include "ui/controls/PTAutoHeightTextField.h"
#include "ui/controls/PTButton.h"
#include "ui/controls/PTClickableTextField.h"
#include "ui/controls/PTSheetButton.h"
#include "ui/controls/PTSmallTextLabel.h"
#include "ui/sheets/PTProgressSheetWindow.h"
#include "ui/sheets/PTSheetTabView.h"
#include "ui/sheets/PTSheetView.h"
#include "ui/sheets/PTSheetViewTitleBackgroundView.h"
#include "ui/sheets/PTSheetViewTitleBarActionControl.h"
#include "ui/sheets/PTSheetViewTitleBarController.h"
#include "ui/theme/PTThemeController.h"
#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTStackView.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPixmap>
#include <QProgressBar>

namespace GalleryPages {

namespace {

constexpr int PageWidth = 440;

// A sheet body holding a stack that sizes it.
PTSheetView* sheetWithStack(PTStackView** stackOut, qreal spacing = 1, const QMarginsF& insets = QMarginsF())
{
    auto* sheet = new PTSheetView;
    sheet->setAccessibleName(QStringLiteral("Gallery page"));
    auto* stack = new PTStackView(sheet);
    stack->resize(PageWidth, 10);
    sheet->resize(PageWidth, 10);
    stack->setAutoresizesSuperview(true);
    stack->setSpacing(spacing);
    stack->setContentInsets(insets);
    *stackOut = stack;
    return sheet;
}

QWidget* progressSheetPage()
{
    // The sheet's window, held as a plain child of the page so that the page owns both it and its controller.
    auto* page = new QWidget;
    page->setAccessibleName(QStringLiteral("Progress sheet"));
    auto* sheet = new PTProgressSheetWindow(QStringLiteral("Exporting Icons"), page);
    sheet->setSubTitle(QStringLiteral("Material, 240 icons"));
    sheet->setMessage(QStringLiteral("Writing PNG files at 1x and 2x"));
    sheet->setProgress(96, 240);
    sheet->setAllowsCancellation(true);
    QWidget* window = sheet->window();
    window->setParent(page, Qt::Widget);
    window->show();
    page->resize(window->size());
    return page;
}

QWidget* titleBandAndTabsPage()
{
    PTStackView* stack = nullptr;
    PTSheetView* page = sheetWithStack(&stack, 1, QMarginsF(0, 0, 0, 20));
    auto* titleBar = new PTSheetViewTitleBarController(page);
    titleBar->setTitle(QStringLiteral("Export Preset"));
    titleBar->setSubTitle(QStringLiteral("Web, six outputs"));
    titleBar->setShowsActionButton(true);
    titleBar->view()->setWantsSeperator(true);
    auto* tabs = new PTSheetTabView;
    tabs->resize(PageWidth, 32);
    for (const char* title : {"PNG", "SVG", "PDF"})
        tabs->addTabWithTitle(QString::fromLatin1(title));
    tabs->setSelectedIndex(1);
    auto* body = new PTAutoHeightTextField(QStringLiteral("Each tab holds the outputs of one format."));
    body->setContentsMargins(20, 0, 20, 0);
    body->resize(PageWidth, body->height());
    stack->setViews({titleBar->view(), tabs, body});
    stack->setCustomSpacing(20, tabs);
    return page;
}

QWidget* stackPage()
{
    PTStackView* stack = nullptr;
    PTSheetView* page = sheetWithStack(&stack, 16, QMarginsF(20, 20, 20, 20));
    auto* separator = new PTPanelSeparator;
    separator->setIsSheet(true);
    stack->setSpacerView(separator);
    std::vector<QWidget*> rows;
    for (const char* text : {"Name", "Tags", "Licence", "Description"}) {
        auto* row = new PTTitleLabel(QString::fromLatin1(text));
        row->resize(100, 20);
        rows.push_back(row);
    }
    auto* badge = new PTSmallTextLabel(QStringLiteral("4 rows"));
    badge->resize(badge->sizeHint());
    stack->setGutterView(badge, PTStackLayout::MaxXGutter, PTStackLayout::Left);
    stack->setGutterInsets(QMarginsF(0, 0, 12, 0));
    stack->setViews(rows);
    return page;
}

QWidget* buttonsPage()
{
    auto* page = new PTSheetView;
    page->setAccessibleName(QStringLiteral("Buttons"));
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(20, 20, 20, 20);
    auto* plain = new PTButton(QStringLiteral("Plain"));
    auto* confirm = new PTButton(QStringLiteral("Confirm"));
    confirm->setConfirmationStyle(true);
    for (PTButton* button : {plain, confirm})
        button->setFixedSize(60, 24);
    row->addWidget(plain);
    row->addWidget(confirm);
    row->addWidget(new PTSheetCloseButton(QStringLiteral("Cancel")));
    row->addWidget(new PTSheetAcceptButton(QStringLiteral("Export")));
    row->addWidget(new PTSheetViewTitleBarActionControl);
    page->resize(PageWidth, 64);
    return page;
}

QWidget* labelsPage()
{
    PTStackView* stack = nullptr;
    PTSheetView* page = sheetWithStack(&stack, 8, QMarginsF(20, 20, 20, 20));
    stack->setAlignment(PTStackLayout::Left);
    auto* title = new PTTitleLabel(QStringLiteral("A title label"));
    auto* small = new PTSmallTextLabel(QStringLiteral("A small clickable label"));
    auto* clickable = new PTClickableTextField(QStringLiteral("A disabled clickable label"));
    clickable->setEnabled(false);
    for (PTTitleLabel* label : {title, static_cast<PTTitleLabel*>(small), static_cast<PTTitleLabel*>(clickable)})
        label->resize(label->sizeHint());
    auto* wrapping = new PTAutoHeightTextField(
        QStringLiteral("An auto-height label wraps its text and grows to fit it at the width it is given."));
    wrapping->resize(240, wrapping->height());
    stack->setViews({title, small, clickable, wrapping});
    return page;
}

} // namespace

std::vector<Page> stillPages()
{
    return {
        {QStringLiteral("progress-sheet"), QStringLiteral("Progress"), progressSheetPage},
        {QStringLiteral("title-band-tabs"), QStringLiteral("Sheet head"), titleBandAndTabsPage},
        {QStringLiteral("stack"), QStringLiteral("Stack"), stackPage},
        {QStringLiteral("buttons"), QStringLiteral("Buttons"), buttonsPage},
        {QStringLiteral("labels"), QStringLiteral("Labels"), labelsPage},
    };
}

QStringList writeScreenshots(const QString& folder)
{
    QDir().mkpath(folder);
    PTThemeController& theme = PTThemeController::defaultController();
    const int previous = theme.appearance();
    QStringList written;
    for (const auto& [appearance, suffix] : {std::pair{int(PTAppearanceAqua), QStringLiteral("light")},
                                             std::pair{int(PTAppearanceDark), QStringLiteral("dark")}}) {
        theme.setAppearance(appearance);
        for (const Page& page : stillPages()) {
            std::unique_ptr<QWidget> widget(page.build());
            const QString file = QDir(folder).filePath(page.name + QLatin1Char('-') + suffix + QStringLiteral(".png"));
            if (widget->grab().save(file))
                written.append(file);
        }
    }
    theme.setAppearance(previous);
    return written;
}

} // namespace GalleryPages
