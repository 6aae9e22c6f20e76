#include "BrowserScreenshot.h"
#include "BrowserThemeScope.h"
#include "FakeBrowserSeams.h"
#include "IconFileFixtures.h"
#include "LibraryTestSupport.h"
#include "TestSupport.h"

#include "browser/grid/PTGridViewImageCell.h"
#include "browser/quicklook/PTQuickLook.h"
#include "browser/quicklook/PTQuickLookImageView.h"
#include "browser/quicklook/PTQuickLookPanelView.h"
#include "browser/quicklook/PTQuickLookProtocol.h"
#include "foundation/PDF.h"
#include "platform/runtime/Defaults.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/colour/PTColourWellControl.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QApplication>
#include <QBuffer>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QTest>

namespace {

// Shows one item; logs the keys it is offered with where the panel was at the time.
class QuickLookSource : public PTQuickLookProtocol {
public:
    PTItem* item = nullptr;
    bool takesKeys = false;
    QStringList log;
    PTItem* itemForQuickLook(PTQuickLook&) override { return item; }
    bool quickLookHandleEvent(PTQuickLook& quickLook, QKeyEvent* event) override
    {
        const QPoint at = quickLook.panel()->frameGeometry().center();
        log << QStringLiteral("key %1 at %2,%3").arg(event->key()).arg(at.x()).arg(at.y());
        return takesKeys;
    }
    void quickLookWillClose(PTQuickLook&) override { log << QStringLiteral("will close"); }
    void quickLookDidClose(PTQuickLook&) override { log << QStringLiteral("did close"); }
};

class QuickLookTest : public pt::test::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        set = makeSet(QStringLiteral("Set"));
        PTBrowserTransfer::install(transfer);
        PTBrowserSidebar::install(sidebar);
    }
    void TearDown() override
    {
        quickLook.reset();
        PTBrowserTransfer::install(nullptr);
        PTBrowserSidebar::install(nullptr);
        LibraryTest::TearDown();
    }
    // An item of the type whose file is the image written as PNG, the image as a PDF page, or the bytes given.
    PTItem* fileItem(const QString& name, qint64 type, const QByteArray& bytes)
    {
        const QString source = dir.filePath(name + QStringLiteral(".source"));
        QFile file(source);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        PTItem* made = makeItem(set, name, name, source);
        made->setType(type);
        return made;
    }
    static QByteArray png(int side)
    {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(QColor(200, 30, 30));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }
    PTQuickLook& open(PTItem* item)
    {
        source.item = item;
        quickLook = std::make_unique<PTQuickLook>();
        quickLook->setDelegate(&source);
        quickLook->show();
        return *quickLook;
    }
    QSizeF shownSize() const { return quickLook->panelView()->imageView()->image().deviceIndependentSize(); }

    PTCollection* set = nullptr;
    QuickLookSource source;
    std::shared_ptr<FakeBrowserTransfer> transfer = std::make_shared<FakeBrowserTransfer>();
    std::shared_ptr<FakeBrowserSidebar> sidebar = std::make_shared<FakeBrowserSidebar>();
    std::unique_ptr<PTQuickLook> quickLook;
};

// An icon file is previewed from its picture nearest the previewed size, never from one too large to decode.
TEST_F(QuickLookTest, IconFilesArePreviewedFromTheirNearestPicture)
{
    using namespace iconFixtures;
    PTItem* ico = fileItem(QStringLiteral("Hiding"), PTItem::ICO, icoHidingAHugePicture());
    PTItem* icns = fileItem(QStringLiteral("Pair"), PTItem::ICNS,
                            icnsFile({{"icp4", 16, Qt::red}, {"icp5", 32, Qt::green}}));
    const struct {
        PTItem* item;
        int sizeIndex;
        QColor centre;
    } cases[] = {{ico, 0, Qt::red}, {ico, 6, Qt::green}, {icns, 0, Qt::red}, {icns, 6, Qt::green}};
    for (const auto& c : cases) {
        const int pixels = PTQuickLook::Sizes[size_t(c.sizeIndex)];
        SCOPED_TRACE(c.item->name().toStdString() + " at " + std::to_string(pixels));
        PTQuickLook& ql = open(c.item);
        ql.setCurrentSizeIndex(c.sizeIndex);
        const QImage preview = ql.panelView()->imageView()->image();
        EXPECT_EQ(preview.deviceIndependentSize(), QSizeF(pixels, pixels));
        EXPECT_EQ(preview.pixelColor(preview.width() / 2, preview.height() / 2).name(QColor::HexArgb),
                  c.centre.name(QColor::HexArgb));
    }
}

TEST_F(QuickLookTest, FirstUseShowsTheLargestSizeAndStepsStopAtBothEnds)
{
    PTQuickLook& ql = open(makeItem(set, QStringLiteral("Next"), QStringLiteral("next.svg")));
    pt::Defaults& defaults = pt::Defaults::standard();
    EXPECT_EQ(defaults.integerForKey(PTQuickLook::PreviewSizeKey), 9);
    EXPECT_EQ(ql.panelView()->sizeLabel()->text(), QStringLiteral("512 x 512"));
    EXPECT_EQ(shownSize(), QSizeF(512, 512));
    EXPECT_EQ(ql.panelView()->titleField()->text(), QStringLiteral("Next - SVG"));
    EXPECT_EQ(ql.panel()->windowTitle(), QStringLiteral("Next"));
    ASSERT_NE(sidebar->openIn, nullptr);
    EXPECT_EQ(sidebar->openIn->files, QList<QUrl>{source.item->fileURL()});

    ql.increaseSize();
    EXPECT_EQ(ql.currentSizeIndex(), 9);
    ql.panelView()->sizeSlider()->setValue(0);
    EXPECT_EQ(ql.panelView()->sizeLabel()->text(), QStringLiteral("16 x 16"));
    EXPECT_EQ(shownSize(), QSizeF(16, 16));
    ql.decreaseSize();
    EXPECT_EQ(ql.currentSizeIndex(), 0);
    ql.increaseSize();
    EXPECT_EQ(ql.panelView()->sizeSlider()->value(), 1);
    EXPECT_EQ(defaults.integerForKey(PTQuickLook::PreviewSizeKey), 1);
    // A new controller starts where the last one stopped; a stored index out of range is brought back in.
    EXPECT_EQ(PTQuickLook().currentSizeIndex(), 1);
    defaults.set(PTQuickLook::PreviewSizeKey, 42);
    EXPECT_EQ(PTQuickLook().currentSizeIndex(), 9);
    defaults.set(PTQuickLook::PreviewSizeKey, QStringLiteral("-3"));
    EXPECT_EQ(PTQuickLook().currentSizeIndex(), 0);
}

// On a screen of scale 2 with pixel mode on, bitmaps and PDF pages cover the size in screen pixels (half as many
// points); SVG documents keep the size in points. Small bitmaps are fitted up to it.
TEST_F(QuickLookTest, PixelModeOnADenseScreenHalvesBitmapsAndPages)
{
    QImage page(100, 50, QImage::Format_ARGB32);
    page.fill(Qt::blue);
    struct Case {
        const char* name;
        qint64 type;
        QByteArray bytes;
        QSizeF points;
        bool renderRow;
    };
    const Case cases[] = {
        {"big.png", PTItem::PNG, png(512), {256, 256}, true},
        {"small.png", PTItem::PNG, png(16), {256, 256}, true},
        {"page.pdf", PTItem::PDF, PDF::PDFData(page), {256, 128}, false},
        {"next.svg", PTItem::SVG, {}, {512, 512}, false},
    };
    pt::Defaults::standard().set(PTQuickLook::HiDPIModeEnabledKey, true);
    for (const Case& c : cases) {
        const QString name = QString::fromLatin1(c.name);
        PTItem* item = c.type == PTItem::SVG ? makeItem(set, name, name) : fileItem(name, c.type, c.bytes);
        PTQuickLook& ql = open(item);
        ql.windowDidChangeScreen(2);
        EXPECT_TRUE(ql.pixelMode());
        EXPECT_EQ(shownSize(), c.points) << c.name;
        EXPECT_EQ(ql.panelView()->imageView()->image().devicePixelRatio(), 2) << c.name;
        EXPECT_EQ(!ql.panelView()->renderView()->isHidden(), c.renderRow) << c.name;
        // Pixel mode off: bitmaps and pages double; documents stay.
        pt::Defaults::standard().set(PTQuickLook::HiDPIModeEnabledKey, false);
        EXPECT_EQ(shownSize().width(), c.type == PTItem::SVG ? 512 : 2 * c.points.width()) << c.name;
        pt::Defaults::standard().set(PTQuickLook::HiDPIModeEnabledKey, true);
    }
}

TEST_F(QuickLookTest, OnAPlainScreenTheRenderRowIsHiddenForEveryItem)
{
    PTQuickLook& ql = open(fileItem(QStringLiteral("big.png"), PTItem::PNG, png(64)));
    pt::Defaults::standard().set(PTQuickLook::HiDPIModeEnabledKey, true);
    ql.windowDidChangeScreen(1);
    EXPECT_FALSE(ql.panelView()->hiDPISwitchControl()->isEnabled());
    EXPECT_TRUE(ql.panelView()->renderView()->isHidden());
    EXPECT_FALSE(ql.pixelMode());
    ql.windowDidChangeScreen(2);
    EXPECT_TRUE(ql.panelView()->hiDPISwitchControl()->isEnabled());
    EXPECT_FALSE(ql.panelView()->renderView()->isHidden());
}

TEST_F(QuickLookTest, HeldSpaceRecentresThePanelBeforeTheDataSourceSeesIt)
{
    PTQuickLook& ql = open(makeItem(set, QStringLiteral("Next"), QStringLiteral("next.svg")));
    PTPanel* panel = ql.panel();
    const QPoint centre = panel->screen()->availableGeometry().center();
    const auto centred = [&] { return (panel->frameGeometry().center() - centre).manhattanLength() <= 2; };
    panel->move(panel->pos() + QPoint(-100, -80));
    ASSERT_FALSE(centred());

    QKeyEvent first(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(panel, &first);
    EXPECT_FALSE(centred()) << "a single press stays put";
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(panel, &held);
    EXPECT_TRUE(centred());
    ASSERT_EQ(source.log.size(), 2);
    const QPoint seen = panel->frameGeometry().center();
    EXPECT_EQ(source.log[1], QStringLiteral("key %1 at %2,%3").arg(Qt::Key_Space).arg(seen.x()).arg(seen.y()));

    // A key the data source takes never reaches the control that has focus; the panel sees it once, however
    // far it travels up.
    QSlider* slider = ql.panelView()->sizeSlider();
    source.takesKeys = true;
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(slider->value(), 9);
    EXPECT_EQ(source.log.size(), 3);
    source.takesKeys = false;
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(slider->value(), 8);
    EXPECT_EQ(ql.panelView()->sizeLabel()->text(), QStringLiteral("256 x 256"));
    EXPECT_EQ(source.log.size(), 4);
}

TEST_F(QuickLookTest, WithoutAnItemASizeChangeOnlyMovesLabelSliderAndStoredSize)
{
    PTQuickLook& ql = open(makeItem(set, QStringLiteral("Next"), QStringLiteral("next.svg")));
    const QImage shown = ql.panelView()->imageView()->image();
    source.item = nullptr;
    ql.reloadData();
    ql.setCurrentSizeIndex(3);
    EXPECT_EQ(ql.panelView()->sizeLabel()->text(), QStringLiteral("32 x 32"));
    EXPECT_EQ(ql.panelView()->sizeSlider()->value(), 3);
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTQuickLook::PreviewSizeKey), 3);
    EXPECT_EQ(ql.panelView()->imageView()->image().cacheKey(), shown.cacheKey()) << "the last picture stays";
}

TEST_F(QuickLookTest, ADeletedItemShowsNothingAndBrokenFilesShowTheFailurePicture)
{
    PTItem* empty = fileItem(QStringLiteral("empty.png"), PTItem::PNG, QByteArray());
    PTQuickLook& ql = open(empty);
    EXPECT_EQ(shownSize(), QSizeF(512, 512)) << "the failure picture at the size";
    ql.setCurrentSizeIndex(0);
    EXPECT_EQ(shownSize(), QSizeF(16, 16));

    context().deleteObject(empty);
    ql.setCurrentSizeIndex(1);
    EXPECT_TRUE(ql.panelView()->imageView()->image().isNull());
    EXPECT_EQ(ql.item(), nullptr);
    ql.exportIcon();
    EXPECT_TRUE(transfer->exported.isEmpty());
}

TEST_F(QuickLookTest, ExportCarriesThePreviewedSizeAndTintAndBackgroundsOutliveThePanel)
{
    PTQuickLook& ql = open(makeItem(set, QStringLiteral("Next"), QStringLiteral("next.svg")));
    ql.setCurrentSizeIndex(8);
    ql.panelView()->colorControl()->setColor(QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(ql.panelView()->imageView()->iconColor(), QColor(0x11, 0x22, 0x33));
    ql.exportIcon();
    EXPECT_EQ(transfer->exported, QVector<PTItem*>{source.item});
    EXPECT_EQ(transfer->exportOutput.sizeText, QStringLiteral("256s"));
    EXPECT_EQ(transfer->exportOutput.fillColor, QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(transfer->exportParent, ql.panel());

    ql.setBackgroundPreset(2);
    EXPECT_EQ(ql.panelView()->imageView()->backgroundColor(), QColor(0x1C, 0x20, 0x2A));
    ql.setBackgroundPreset(7);
    EXPECT_EQ(ql.panelView()->imageView()->backgroundColor(), QColor(0x1C, 0x20, 0x2A));
    ql.hide();
    EXPECT_EQ(source.log, (QStringList{"will close", "did close"}));
    EXPECT_FALSE(ql.isVisible());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ql.show();
    EXPECT_EQ(ql.panelView()->imageView()->backgroundColor(), QColor(0x1C, 0x20, 0x2A));
    EXPECT_EQ(ql.panelView()->backgroundControl()->color(), QColor(0x1C, 0x20, 0x2A));
}

// The panel floats over the main window; when that window goes, the panel goes along and the controller
// carries on without it.
TEST_F(QuickLookTest, ThePanelGoesWithTheMainWindow)
{
    auto shell = std::make_shared<FakeBrowserShell>();
    auto window = std::make_unique<QWidget>();
    shell->window = window.get();
    PTBrowserShell::install(shell);
    PTQuickLook& ql = open(makeItem(set, QStringLiteral("Next"), QStringLiteral("next.svg")));
    EXPECT_EQ(ql.panel()->parentWidget(), window.get());
    window.reset();
    shell->window = nullptr;
    EXPECT_EQ(ql.panel(), nullptr);
    EXPECT_EQ(ql.panelView(), nullptr);
    ql.setCurrentSizeIndex(2);
    ql.reloadData();
    EXPECT_FALSE(ql.isVisible());
    ql.show();
    EXPECT_TRUE(ql.isVisible());
    EXPECT_EQ(shownSize(), QSizeF(24, 24));
    PTBrowserShell::install(nullptr);
}

// In the dark theme a one-colour icon is drawn in the theme's near-white, unless the preference is off.
TEST_F(QuickLookTest, DarkThemeDrawsOneColourIconsInNearWhite)
{
    const BrowserThemeScope theme(PTAppearanceDark);
    PTQuickLook& ql = open(makeItem(set, QStringLiteral("Next"), QStringLiteral("next.svg")));
    const auto brightest = [&] {
        const QImage image = ql.panelView()->imageView()->image();
        int best = 0;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                if (image.pixelColor(x, y).alpha() == 255)
                    best = std::max(best, image.pixelColor(x, y).lightness());
        return best;
    };
    EXPECT_EQ(brightest(), PTStyles::defaultDarkModeWhite().lightness());
    pt::Defaults::standard().set(PTPreferenceKeys::DarkModeAutoColorIcons, false);
    EXPECT_LT(brightest(), 128) << "the icon's own dark grey";
    pt::Defaults::standard().set(PTPreferenceKeys::DarkModeAutoColorIcons, true);
    EXPECT_EQ(brightest(), PTStyles::defaultDarkModeWhite().lightness());
    BrowserThemeScope::set(PTAppearanceAqua);
    EXPECT_LT(brightest(), 128) << "back in the light theme";
}

// The panel with a Papirus icon over the transparent preset: the dotted pattern around the icon, the icon in the
// middle, the options at the right.
TEST_F(QuickLookTest, ScreenshotOfThePanelOnTheTransparentPreset)
{
    const BrowserThemeScope theme(PTAppearanceAqua);
    PTItem* icon = makeItem(set, QStringLiteral("Folder"), QStringLiteral("folder.svg"),
                            QStringLiteral("/usr/share/icons/Papirus/64x64/places/folder-blue.svg"));
    PTQuickLook& ql = open(icon);
    ql.setBackgroundPreset(3);
    ql.setCurrentSizeIndex(8);
    const QImage shot = writeScreenshot(*ql.panel(), QStringLiteral("quick-look-panel"));
    ASSERT_FALSE(shot.isNull());
    const QRect field = ql.panelView()->imageView()->geometry();
    const QRect image = ql.panelView()->imageView()->draggingFrame().translated(field.topLeft());
    // The folder's blue in the middle.
    const QColor middle = shot.pixelColor(image.center());
    EXPECT_GT(middle.blue(), middle.red() + 40) << middle.name().toStdString();
    // Outside the icon: white with the pattern's faint dots somewhere in a tile.
    bool dotted = false;
    for (int y = field.top() + 8; y < field.top() + 16; ++y)
        for (int x = field.left() + 8; x < field.left() + 16; ++x)
            dotted = dotted || (shot.pixelColor(x, y) != QColor(Qt::white) && shot.pixelColor(x, y).lightness() > 200);
    EXPECT_TRUE(dotted);
    // The options pane in the sidebar colour.
    EXPECT_EQ(shot.pixelColor(PTQuickLookPanelView::PreviewSide + 4, shot.height() - 4),
              PTStyles::sidebarBackgroundColor());
    // The backdrop's line between the two panes.
    EXPECT_NE(shot.pixelColor(PTQuickLookPanelView::PreviewSide - 1, 4), QColor(Qt::white));
}

} // namespace
