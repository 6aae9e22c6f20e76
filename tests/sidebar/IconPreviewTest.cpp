#include "FakeBrowserSeams.h"
#include "LibraryTestSupport.h"
#include "TestSupport.h"
#include "../ui/ThemeScope.h"

#include "platform/runtime/Defaults.h"
#include "sidebar/inspector/PTIconSideBarColorWell.h"
#include "sidebar/inspector/PTIconSideBarPreviewImageView.h"
#include "sidebar/inspector/PTIconSideBarPreviewViewController.h"
#include "sidebar/inspector/PTIconSidebarPreviewPopupButton.h"
#include "transfer/export/PTExportOutputOption.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString Calculator = QStringLiteral("/usr/share/icons/breeze/apps/48/accessories-calculator.svg");
const QString OtherBreezeApp = QStringLiteral("/usr/share/icons/breeze/apps/48/org.kde.Ikona.svg");
const QString SymbolicA = QStringLiteral("/usr/share/icons/Papirus/symbolic/actions/address-book-new-symbolic.svg");
const QString SymbolicB = QStringLiteral("/usr/share/icons/Papirus/symbolic/actions/action-unavailable-symbolic.svg");

// Records the renderings it is asked for and offers one file per item and rendering, as the real transfer does.
class RecordingTransfer : public FakeBrowserTransfer {
public:
    QVector<Rendering> renderings;
    QMimeData* mimeDataForItems(const QVector<PTItem*>& items, const QVector<Rendering>& asked, Use) override
    {
        renderings = asked;
        auto* data = new QMimeData;
        QList<QUrl> files;
        for (PTItem* item : items) {
            for (const Rendering& rendering : asked)
                files << QUrl::fromLocalFile(item->name() + QLatin1Char('@') + rendering.sizeFormat);
        }
        data->setUrls(files);
        return data;
    }
};

// Hands out request numbers and keeps the completions, to answer them in any order.
struct FakeImageSource {
    std::vector<std::pair<PTImageCache::RequestID, PTImageCache::Completion>> requests;
    std::vector<PTImageCache::RequestID> cancelled;
    PTIconSideBarPreviewViewController::ImageSource source()
    {
        return {[this](PTItem*, const PTImageCacheOptions&, PTImageCache::Completion completion) {
                    requests.emplace_back(requests.size() + 1, std::move(completion));
                    return PTImageCache::RequestID(requests.size());
                },
                [this](PTImageCache::RequestID id) { cancelled.push_back(id); }};
    }
    void answer(std::size_t index, const QColor& color)
    {
        QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
        image.fill(color);
        requests[index].second(image, requests[index].first, false);
    }
};

class IconPreviewTest : public pt::test::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        pt::Defaults::standard().remove(PTIconSideBarPreviewViewController::FormatKey);
        set = makeSet(QStringLiteral("Set"));
    }
    void TearDown() override
    {
        PTBrowserTransfer::install(nullptr);
        LibraryTest::TearDown();
    }
    PTItem* pngItem(const QString& name)
    {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::green);
        const QString source = dir.filePath(name + QStringLiteral(".png"));
        EXPECT_TRUE(image.save(source));
        PTItem* item = makeItem(set, name, name + QStringLiteral(".png"), source);
        item->setType(PTItem::PNG);
        return item;
    }

    PTCollection* set = nullptr;
};

} // namespace

// The size text's parts; ICO uses its pop-up's one size, and choosing another format brings the text back. The
// chosen format is what a new section starts with.
TEST_F(IconPreviewTest, SizeFormatsAndFormatChoice)
{
    struct Case {
        const char* text;
        QStringList sizes;
    };
    const Case cases[] = {
        {"", {""}},
        {" , || \n", {""}},
        {"16, 32|64", {"16", "32", "64"}},
        {"2x,,48w | 512s ", {"2x", "48w", "512s"}},
        {"32x48", {"32x48"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PTIconSideBarPreviewViewController::sizeFormatsFromText(QString::fromUtf8(c.text)), c.sizes)
            << c.text;

    auto preview = std::make_unique<PTIconSideBarPreviewViewController>();
    EXPECT_EQ(preview->exportFormat(), PTExportFormatPNG);
    preview->sizeControl()->setText(QStringLiteral("16 | 2x"));
    EXPECT_EQ(preview->sizeFormats(), (QStringList{"16", "2x"}));

    preview->selectFormat(PTExportFormatICO);
    EXPECT_EQ(preview->currentSizeControl(), preview->icoSizeControl());
    EXPECT_EQ(preview->sizeFormats(), QStringList{"16s"});
    preview->selectFormat(PTExportFormatSVG);
    EXPECT_EQ(preview->currentSizeControl(), preview->sizeControl());
    EXPECT_EQ(preview->sizeFormats(), (QStringList{"16", "2x"})) << "the text survives the swap";

    preview = std::make_unique<PTIconSideBarPreviewViewController>();
    EXPECT_EQ(preview->exportFormat(), PTExportFormatSVG);
    EXPECT_EQ(preview->sizeControl()->text(), QString()) << "the sizes are not remembered";
    for (QWidget* control : std::initializer_list<QWidget*>{preview.get(), preview->imageView(), preview->colorWell(),
                                                            preview->sizeControl(), preview->formatControl(),
                                                            preview->icoSizeControl()})
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
}

// One drag carries every item in every size, in the chosen format and colours, with the preview's image; its
// source is marked so that our own drop targets refuse it. Without a transfer or items there is no drag.
TEST_F(IconPreviewTest, DragTakesEveryItemInEverySize)
{
    PTItem* a = makeItem(set, QStringLiteral("a"), QStringLiteral("a.svg"));
    PTItem* b = makeItem(set, QStringLiteral("b"), QStringLiteral("b.svg"));
    const PTColourPickerControl::ReplacedColors replaced{{QColor(0x444444), QColor(Qt::red)}};
    const auto renderings = PTIconSideBarPreviewViewController::renderingsForSizes(
        PTIconSideBarPreviewViewController::sizeFormatsFromText(QStringLiteral("16, 32|2x")), PTExportFormatWebP,
        QColor(Qt::blue), replaced, true);
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QObject source;

    EXPECT_EQ(PTIconSideBarPreviewViewController::dragForItems(&source, {a, b}, renderings, image), nullptr)
        << "no transfer installed";
    const auto transfer = std::make_shared<RecordingTransfer>();
    PTBrowserTransfer::install(transfer);
    EXPECT_EQ(PTIconSideBarPreviewViewController::dragForItems(&source, {}, renderings, image), nullptr);

    std::unique_ptr<QDrag> drag(PTIconSideBarPreviewViewController::dragForItems(&source, {a, b}, renderings, image));
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->mimeData()->urls().size(), 6);
    EXPECT_EQ(drag->mimeData()->urls().first().fileName(), QStringLiteral("a@16"));
    EXPECT_EQ(drag->pixmap().size(), QSize(20, 20));
    EXPECT_TRUE(PTBrowserTransfer::isDragOutOnly(drag->source()));
    ASSERT_EQ(transfer->renderings.size(), 3);
    for (const PTBrowserTransfer::Rendering& rendering : transfer->renderings) {
        EXPECT_EQ(rendering.format, PTExportFormatWebP);
        EXPECT_EQ(rendering.color, QColor(Qt::blue));
        EXPECT_TRUE(rendering.appendSizeSuffix);
        ASSERT_TRUE(rendering.replacementColors.has_value());
        EXPECT_EQ(rendering.replacementColors->value(QColor(0x444444).rgba()), QColor(Qt::red));
    }
    EXPECT_EQ(transfer->renderings[2].sizeFormat, QStringLiteral("2x"));
}

// The colour well replaces colours only when every item is an SVG and all share one palette of two or more.
TEST_F(IconPreviewTest, ColourWellModeFollowsTheItemsPalette)
{
    struct Case {
        const char* name;
        QStringList files; // "png" makes a PNG item
        int mode;
    };
    const Case cases[] = {
        {"one-colour symbolic icons tint", {SymbolicA, SymbolicB}, 0},
        {"one shared palette is replaced", {Calculator, Calculator}, 1},
        {"a second palette tints", {Calculator, OtherBreezeApp}, 0},
        {"an SVG with a PNG tints", {Calculator, "png"}, 0},
    };
    PTIconSideBarPreviewViewController preview;
    FakeImageSource images;
    preview.setImageSource(images.source());
    int n = 0;
    for (const Case& c : cases) {
        QVector<PTItem*> items;
        for (const QString& file : c.files) {
            const QString name = QStringLiteral("i%1").arg(n++);
            items << (file == QLatin1String("png") ? pngItem(name) : makeItem(set, name, name + ".svg", file));
        }
        preview.setItems(items);
        EXPECT_EQ(preview.colorWell()->mode(), c.mode) << c.name;
        if (c.mode == 1)
            EXPECT_GE(preview.colorWell()->replacementColors().size(), 2u) << c.name;
        else
            EXPECT_TRUE(preview.colorWell()->replacementColors().empty()) << c.name;
    }
}

// Only the latest request's rendering is shown, whatever order the answers come in; a tint alone draws over the
// shown image without a new rendering, and a replacement asks for one.
TEST_F(IconPreviewTest, LateRenderingsAreDroppedAndTintsNeedNoRendering)
{
    PTItem* a = makeItem(set, QStringLiteral("a"), QStringLiteral("a.svg"), SymbolicA);
    PTItem* b = makeItem(set, QStringLiteral("b"), QStringLiteral("b.svg"), SymbolicB);
    PTIconSideBarPreviewViewController preview;
    FakeImageSource images;
    preview.setImageSource(images.source());
    preview.resize(300, 260);
    EXPECT_EQ(preview.proposedImageSize(), QSizeF(140, 140)) << "never smaller than 140";

    preview.setItems({a});
    preview.setItems({b});
    ASSERT_EQ(images.requests.size(), 2u);
    EXPECT_EQ(images.cancelled, std::vector<PTImageCache::RequestID>{1});
    images.answer(1, Qt::blue);
    images.answer(0, Qt::red);
    EXPECT_EQ(preview.imageView()->image().pixelColor(0, 0), QColor(Qt::blue));

    preview.colorWell()->setColor(Qt::magenta);
    EXPECT_EQ(images.requests.size(), 2u) << "a tint needs no new rendering";
    EXPECT_EQ(preview.imageView()->iconColor(), QColor(Qt::magenta));

    preview.setItems({});
    EXPECT_TRUE(preview.imageView()->image().isNull());
    images.answer(1, Qt::green);
    EXPECT_TRUE(preview.imageView()->image().isNull()) << "an answer for the old selection is dropped";

    // The cache answers from memory later without a request to cancel; the section may be gone by then.
    FakeImageSource late;
    auto gone = std::make_unique<PTIconSideBarPreviewViewController>();
    gone->setImageSource(late.source());
    gone->setItems({a});
    gone.reset();
    late.answer(late.requests.size() - 1, Qt::blue);
}

// The section in both appearances with one icon rendered by the real thumbnail cache: the icon in the middle of
// the preview, and the format pop-up white in the light appearance and a field colour in the dark one.
TEST_F(IconPreviewTest, Screenshot)
{
    PTThemeController& theme = PTThemeController::defaultController();
    const int before = theme.appearance();
    PTItem* item = makeItem(set, QStringLiteral("calc"), QStringLiteral("calc.svg"), Calculator);
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        theme.setAppearance(appearance);
        QWidget window;
        window.setAutoFillBackground(true);
        window.setPalette(PTStyles::palette(appearance));
        window.resize(260, 240);
        auto* preview = new PTIconSideBarPreviewViewController(&window);
        preview->setGeometry(0, 0, 260, 240);
        preview->sizeControl()->setText(QStringLiteral("32, 64"));
        preview->setItems({item});
        window.show();
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !preview->imageView()->image().isNull(); }));
        const QImage shot = window.grab().toImage();
        const QString name = appearance == PTAppearanceDark ? QStringLiteral("inspector-preview-dark")
                                                            : QStringLiteral("inspector-preview-light");
        EXPECT_TRUE(pt::test::writeScreenshot(shot, name));

        const QRect image = preview->imageView()->geometry();
        const QColor centre = shot.pixelColor(image.center());
        const QColor corner = shot.pixelColor(image.topLeft() + QPoint(4, 4));
        EXPECT_NE(centre, corner) << "the icon is drawn in the middle of the preview";
        const QRect format = preview->formatControl()->geometry();
        const QColor body = shot.pixelColor(format.left() + 3, format.center().y());
        if (appearance == PTAppearanceAqua)
            EXPECT_EQ(body, QColor(Qt::white));
        else
            EXPECT_EQ(body, PTStyles::defaultControlFieldColor().toRgb());
        EXPECT_LT(format.top(), image.bottom() + 2) << "the bar sits right under the preview";
    }
    theme.setAppearance(before);
}

// The size field's placeholder is shown whole at the inspector's narrowest width (222 points less the section's
// margins), beside the format and colour controls, in both themes.
TEST_F(IconPreviewTest, SizePlaceholderFitsTheNarrowestInspector)
{
    PTItem* item = makeItem(set, QStringLiteral("calc"), QStringLiteral("calc.svg"), Calculator);
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        ThemeScope theme(appearance);
        QWidget window;
        window.setAutoFillBackground(true);
        window.setPalette(PTStyles::palette(appearance));
        window.resize(182, 240);
        auto* preview = new PTIconSideBarPreviewViewController(&window);
        preview->setGeometry(0, 0, 182, 240);
        preview->setItems({item});
        window.show();
        QApplication::processEvents();
        PTSheetTextField* field = preview->sizeControl();
        ASSERT_TRUE(field->text().isEmpty());
        const QImage shot = window.grab().toImage();
        EXPECT_TRUE(pt::test::writeScreenshot(shot, appearance == PTAppearanceDark ? "inspector-size-field-dark"
                                                                                  : "inspector-size-field-light"));
        const QMargins margins = field->textMargins();
        const int room = field->contentsRect().width() - margins.left() - margins.right() - 4;
        EXPECT_LE(field->fontMetrics().horizontalAdvance(field->placeholderText()), room)
            << field->placeholderText().toStdString() << " in " << room;
        // The placeholder's ink ends before the format control begins.
        const QRect box = field->geometry().translated(field->parentWidget()->mapTo(&window, QPoint()));
        const QColor fieldBody = shot.pixelColor(box.right() - 3, box.top() + 3);
        for (int x = box.right() - 14; x < box.right() - 3; ++x)
            for (int y = box.top() + 4; y < box.bottom() - 4; ++y)
                ASSERT_EQ(shot.pixelColor(x, y), fieldBody) << "no text crowding the field's end, at " << x << "," << y;
    }
}
