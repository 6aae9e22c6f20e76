#include "BrowserThemeScope.h"
#include "TestSupport.h"
#include "FakeBrowserSeams.h"
#include "LibraryTestSupport.h"

#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTGridViewDataProvider.h"
#include "browser/controller/PTSearchController.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "browser/views/PTEmptyGridView.h"
#include "browser/views/PTToolbarFilterControl.h"
#include "browser/views/PTToolbarSearchField.h"
#include "ui/theme/PTStyles.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

class GridControllerScreenshotTest : public pt::test::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        PTBrowserShell::install(shell);
        PTBrowserSidebar::install(sidebar);
    }
    void TearDown() override
    {
        PTBrowserShell::install(nullptr);
        PTBrowserSidebar::install(nullptr);
        LibraryTest::TearDown();
    }
    std::shared_ptr<FakeBrowserShell> shell = std::make_shared<FakeBrowserShell>();
    std::shared_ptr<FakeBrowserSidebar> sidebar = std::make_shared<FakeBrowserSidebar>();
};

// Two sets of the icon theme's pictures under their headers, with thumbnails drawn.
TEST_F(GridControllerScreenshotTest, SetsWithHeadersAndThumbnails)
{
    const QDir apps(QStringLiteral("/usr/share/icons/Papirus/48x48/apps"));
    QStringList files;
    for (const QFileInfo& info : apps.entryInfoList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name)) {
        if (!info.isSymLink())
            files << info.filePath();
        if (files.size() == 9)
            break;
    }
    ASSERT_EQ(files.size(), 9);
    PTCollection* first = makeSet(QStringLiteral("First"));
    PTCollection* second = makeSet(QStringLiteral("Second"));
    second->setSort(1);
    for (int i = 0; i < 9; ++i)
        makeItem(i < 6 ? first : second, QStringLiteral("icon %1").arg(i), QStringLiteral("i%1.svg").arg(i), files[i]);
    saveAndWait();

    PTGridViewController controller;
    QWidget* container = controller.containerView();
    // Both sets fit without scrolling at the default size, six items to a row.
    const QSize size(700, 360);
    container->resize(size);
    container->show();
    controller.setCollections({first, second}, {first, second}, false);
    PTGridView& grid = *controller.view();
    const auto drawn = [&] {
        int images = 0;
        for (PTGridViewCell* cell : grid.visibleCells()) {
            if (auto* image = dynamic_cast<PTGridViewImageCell*>(cell); image && !image->image().isNull())
                ++images;
        }
        return images == 9;
    };
    ASSERT_TRUE(pt::test::runMainQueueUntil(drawn, 10000));
    pt::test::runMainQueueFor(400); // the load-in glide ends
    const QImage image = container->grab().toImage();
    ASSERT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("grid-controller")));

    const QColor background = PTStyles::gridBackgroundColorForAppearance(static_cast<int>(controller.gridViewAppearance()));
    EXPECT_EQ(image.pixelColor(size.width() - 5, size.height() - 5), background);
    // Each item's picture covers the centre of its picture area.
    for (PTGridViewCell* cell : grid.visibleCells()) {
        auto* item = dynamic_cast<PTGridViewImageCell*>(cell);
        if (!item)
            continue;
        const QRectF area = item->drawingRect().translated(cell->frame().topLeft()).translated(0, -grid.visibleRect().top());
        EXPECT_NE(image.pixelColor(area.center().toPoint()), background) << item->title().toStdString();
    }
    // The second set's header band lies between the two sets' items.
    const QRectF header = grid.geometry().rectForSectionHeader(1).translated(0, -grid.visibleRect().top());
    EXPECT_NE(image.pixelColor(QPoint(250, static_cast<int>(header.bottom()) - 1)), background);
}

// The browser as a window shows it: the filter and the search field with its count badge over the results.
TEST_F(GridControllerScreenshotTest, BrowsingWithASearchBadge)
{
    PTCollection* set = makeSet(QStringLiteral("Arrows"));
    for (const char* name : {"go-next", "go-previous", "go-up", "go-down", "go-home"})
        makeItem(set, QString::fromLatin1(name), QString::fromLatin1(name) + QStringLiteral(".svg"), pt::test::themeIcon(QString::fromLatin1(name)));
    saveAndWait();

    QWidget window;
    window.setAccessibleName(QStringLiteral("Browsing window"));
    auto* filter = new PTToolbarFilterControl(&window);
    auto* field = new PTToolbarSearchField(&window);
    field->setFixedWidth(200);
    auto controller = std::make_unique<PTGridViewController>();
    PTSearchController search(field, controller.get());
    auto* bar = new QHBoxLayout;
    bar->addWidget(filter);
    bar->addWidget(field);
    bar->addStretch();
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(controller->containerView(), 1);
    window.resize(500, 300);
    window.show();
    controller->setCollections({set}, {set}, false);
    field->setText(QStringLiteral("go-"));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return field->badgeTitle() == QStringLiteral("5"); }));
    const auto drawn = [&] {
        int images = 0;
        for (PTGridViewCell* cell : controller->view()->visibleCells()) {
            if (auto* image = dynamic_cast<PTGridViewImageCell*>(cell); image && !image->image().isNull())
                ++images;
        }
        return images == 5;
    };
    ASSERT_TRUE(pt::test::runMainQueueUntil(drawn, 10000));
    pt::test::runMainQueueFor(400);
    const QImage image = window.grab().toImage();
    ASSERT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("browsing-search")));

    EXPECT_EQ(controller->dataProvider().pathComponentsForSection(0), (QStringList{"Search", "Go-"}));
    // The badge is drawn in its rectangle at the field's right end, in the accent colour.
    const QRect badgeRect = field->cancelButtonRect().translated(field->geometry().topLeft());
    bool accent = false;
    for (int x = badgeRect.left(); x <= badgeRect.right() && !accent; ++x) {
        const QColor c = image.pixelColor(x, badgeRect.center().y());
        accent = c.blue() > c.red() + 60;
    }
    EXPECT_TRUE(accent);
    // The grid under the bar shows the results' thumbnails.
    const QPoint gridOrigin = controller->containerView()->mapTo(&window, QPoint(0, 0));
    const QColor background = PTStyles::gridBackgroundColorForAppearance(static_cast<int>(controller->gridViewAppearance()));
    EXPECT_EQ(image.pixelColor(gridOrigin.x() + 490, gridOrigin.y() + 240), background);
    controller.reset();
}

// An empty set offers only what this build can do: without an address of free icons there is no browse button,
// in either theme, and the row holds the add button alone.
TEST_F(GridControllerScreenshotTest, AnEmptySetOffersOnlyWhatTheBuildCanDo)
{
    PTCollection* set = makeSet(QStringLiteral("Empty"));
    saveAndWait();
    PTGridViewController controller;
    QWidget* container = controller.containerView();
    container->resize(560, 320);
    container->show();
    controller.setCollections({set}, {set}, false);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return controller.emptyView() && controller.emptyView()->isVisible(); }));
    PTEmptyGridView* empty = controller.emptyView();
    const bool hasAddress = !PTGridViewController::freebiesAddress().isEmpty();
    for (int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        BrowserThemeScope theme(appearance);
        QApplication::processEvents();
        const QImage image = container->grab().toImage();
        const QString name = appearance == PTAppearanceDark ? QStringLiteral("empty-set-offer-dark")
                                                            : QStringLiteral("empty-set-offer-light");
        ASSERT_TRUE(pt::test::writeScreenshot(image, name));
        QPushButton* add = nullptr;
        QStringList shown;
        for (QPushButton* button : empty->findChildren<QPushButton*>()) {
            if (button->isVisible())
                shown << button->accessibleName();
            if (button->accessibleName() == QStringLiteral("Add Icons..."))
                add = button;
        }
        ASSERT_NE(add, nullptr);
        EXPECT_TRUE(add->isEnabled());
        EXPECT_EQ(shown.contains(QStringLiteral("Browse Free Icons")), hasAddress) << name.toStdString();
        if (hasAddress)
            continue;
        // Along the button row, only the add button differs from the grid's background.
        const QColor background = PTStyles::gridBackgroundColor();
        const QRect button = QRect(add->mapTo(container, QPoint(0, 0)), add->size());
        int foreign = 0;
        for (int x = 0; x < image.width(); ++x) {
            if (x < button.left() - 2 || x > button.right() + 2)
                foreign += image.pixelColor(x, button.center().y()) != background;
        }
        EXPECT_EQ(foreign, 0) << name.toStdString();
        EXPECT_NE(image.pixelColor(button.left() + 6, button.center().y()), background) << name.toStdString();
    }
}

} // namespace
