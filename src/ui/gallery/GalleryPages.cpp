#include "GalleryPages.h"

#include "ui/colour/PTColourPickerControl.h"
#include "ui/colour/PTColourPickerController.h"
#include "ui/colour/PTColourWellControl.h"
#include "ui/colour/PTToolbarColorWellControl.h"
#include "ui/controls/PTAutoHeightTextField.h"
#include "ui/controls/PTButton.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSheetAutoExpandingTextField.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/controls/PTSwitchControl.h"
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

#include "svg/PTSVG.h"

#include <QDir>
#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QSaveFile>
#include <QToolBar>

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
    // The finished state: the OK control waits for the user.
    sheet->setAllowsButtonControls(true);
    sheet->setUserInteractiveMode(0);
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

// Segmented controls (labels, sublabels from a menu, icons, the accent style, the style's bezel), switches,
// text fields and a pop-up button, placed at fixed points so that screenshots can be sampled.
QWidget* controlsPage()
{
    auto* page = new PTSheetView;
    page->setAccessibleName(QStringLiteral("Controls"));

    auto* views = new PTSegmentedControl(page);
    views->setSegmentCount(3);
    views->setSublabeledFromMenus(true);
    views->setCustomHeight(24);
    views->setMinWidth(60);
    auto* sizes = new QMenu(views);
    for (const char* size : {"32 px", "64 px", "128 px"})
        sizes->addAction(QString::fromLatin1(size))->setCheckable(true);
    sizes->actions().at(1)->setChecked(true);
    const char* const labels[] = {"Grid", "List", "Tree"};
    const char* const icons[] = {"view-grid", "view-list-details", "view-list-tree"};
    for (int i = 0; i < 3; ++i) {
        views->setLabel(QString::fromLatin1(labels[i]), i);
        views->setImage(papirusActionIcon(QString::fromLatin1(icons[i])), i);
    }
    views->setMenu(sizes, 0);
    views->setSelectedSegment(1);
    views->setAutoCalculatesFrame(true);
    views->setObjectName(QStringLiteral("views"));
    views->move(20, 20);

    auto* accent = new PTSegmentedControl(page);
    accent->setSegmentCount(1);
    accent->setSublabeledFromMenus(true);
    accent->setConfirmationStyle(true);
    accent->setCustomHeight(24);
    accent->setMinWidth(80);
    accent->setObeyMinWidthForSingleSegment(true);
    accent->setAutoCalculatesFrame(true);
    accent->setLabel(QStringLiteral("Export"), 0);
    accent->setObjectName(QStringLiteral("accent"));
    accent->move(20, 60);

    auto* platform = new PTSegmentedControl(page);
    platform->setSegmentCount(2);
    platform->setSublabeledFromMenus(true);
    platform->setImage(papirusActionIcon(QStringLiteral("go-previous")), 0);
    platform->setImage(papirusActionIcon(QStringLiteral("go-next")), 1);
    platform->setLabel(QStringLiteral("Back"), 0);
    platform->setLabel(QStringLiteral("Forward"), 1);
    platform->setAutoCalculatesFrame(true);
    platform->move(140, 62);

    auto* on = new PTSwitchControl(page);
    on->setAccessibleName(QStringLiteral("Show names"));
    on->setObjectName(QStringLiteral("switchOn"));
    on->setChecked(true);
    on->move(20, 100);
    auto* off = new PTSwitchControl(page);
    off->setAccessibleName(QStringLiteral("Show sizes"));
    off->move(80, 100);

    auto* field = new PTSheetTextField(page);
    field->setAccessibleName(QStringLiteral("Name"));
    field->setText(QStringLiteral("Material Design"));
    field->setGeometry(20, 140, 180, 22);
    auto* description = new PTSheetAutoExpandingTextField(page);
    description->setAccessibleName(QStringLiteral("Description"));
    description->resize(180, 20);
    description->move(220, 140);
    description->setPlainText(QStringLiteral("A wrapping field grows with its text and shrinks again when it is cut."));

    auto* menu = new QMenu(page);
    menu->addAction(QStringLiteral("PNG"));
    menu->addMenu(QStringLiteral("PDF"))->addAction(QStringLiteral("Vector"));
    auto* popup = new PTSheetViewPopupButton(page);
    popup->setPopupMenu(menu);
    popup->setObjectName(QStringLiteral("popup"));
    popup->setGeometry(20, 190, 140, 24);

    page->resize(PageWidth, 240);
    return page;
}


// The colour picker in both modes (the second offering the colours of a many-coloured icon), its swatches and
// the wells.
QWidget* colourPage()
{
    auto* page = new QWidget;
    page->setAccessibleName(QStringLiteral("Colour"));
    page->resize(PageWidth + 80, 430);

    auto* single = new PTColourPickerController(QColor(0x54, 0xA5, 0xF0), page);
    single->ensureLoaded();
    single->view()->setParent(page);
    single->view()->setObjectName(QStringLiteral("singlePicker"));
    single->view()->move(10, 10);

    std::vector<QColor> iconColors;
    if (const auto icon = PTSVG::svgWithFile(QStringLiteral("/usr/share/icons/Papirus/48x48/apps/gimp.svg")))
        iconColors = icon.value()->visibleColors();
    std::sort(iconColors.begin(), iconColors.end(), [](const QColor& a, const QColor& b) { return a.rgba() < b.rgba(); });
    auto* replacing = new PTColourPickerController(iconColors.size() < 2 ? QColor(Qt::red) : iconColors[1], page);
    replacing->setMode(1);
    replacing->setReplacementColors(iconColors);
    if (iconColors.size() > 1)
        replacing->setReplacedColors({{iconColors[1], QColor(0xA4, 0x3C, 0xEA)}});
    replacing->ensureLoaded();
    replacing->view()->setParent(page);
    replacing->view()->setObjectName(QStringLiteral("replacingPicker"));
    replacing->view()->move(260, 10);

    auto* label = new PTColourPickerControl(page);
    label->setDrawsLabels(true);
    label->setColorWithoutInformingHandlers(QColor(0xFF, 0x33, 0x4C));
    label->setMinWidth(90);
    label->setAutoCalculatesFrame(true);
    label->move(10, 390);
    auto* well = new PTColourWellControl(page);
    well->setColorWithoutInformingHandlers(QColor(0x7E, 0xD3, 0x21));
    well->setGeometry(120, 390, 44, 24);
    auto* none = new PTColourWellControl(page);
    none->setObjectName(QStringLiteral("noColourWell"));
    none->setGeometry(174, 390, 44, 24);
    auto* toolbar = new QToolBar(page);
    toolbar->addWidget(new PTToolbarColorWellControl);
    toolbar->setGeometry(230, 386, 60, 32);
    return page;
}

} // namespace

QImage papirusActionIcon(const QString& name, int size)
{
    const auto svg = PTSVG::svgWithFile(QStringLiteral("/usr/share/icons/Papirus/16x16/actions/") + name +
                                        QStringLiteral(".svg"));
    return svg ? svg.value()->imageWithSize(QSize(size, size)).copy() : QImage();
}

std::vector<Page> stillPages()
{
    return {
        {QStringLiteral("progress-sheet"), QStringLiteral("Progress"), progressSheetPage},
        {QStringLiteral("title-band-tabs"), QStringLiteral("Sheet head"), titleBandAndTabsPage},
        {QStringLiteral("stack"), QStringLiteral("Stack"), stackPage},
        {QStringLiteral("buttons"), QStringLiteral("Buttons"), buttonsPage},
        {QStringLiteral("labels"), QStringLiteral("Labels"), labelsPage},
        {QStringLiteral("controls"), QStringLiteral("Controls"), controlsPage},
        {QStringLiteral("colour"), QStringLiteral("Colour"), colourPage},
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
            // Written whole or not at all: several test processes write and read these same files at once.
            QSaveFile out(file);
            if (out.open(QIODevice::WriteOnly) && widget->grab().save(&out, "PNG") && out.commit())
                written.append(file);
        }
    }
    theme.setAppearance(previous);
    return written;
}

} // namespace GalleryPages
