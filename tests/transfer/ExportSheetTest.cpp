#include "FakeBrowserSeams.h"
#include "FakeLibraryShell.h"
#include "ImportTestSupport.h"
#include "TestSupport.h"
#include "ThemeScope.h"
#include "library/upkeep/PTLibraryShell.h"
#include "library/PTLibraryController.h"
#include "platform/runtime/Defaults.h"
#include "transfer/export/PTExportPresetController.h"
#include "transfer/export/PTExportSheetController.h"
#include "transfer/export/PTExportSheetOptionViewController.h"
#include "ui/colour/PTColourWellControl.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/views/PTSheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTest>
#include <QCursor>
#include <QApplication>
#include <QEnterEvent>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QList<PTExporter::Item> items(int count)
{
    QList<PTExporter::Item> list;
    for (int i = 0; i < count; ++i)
        list.append({QStringLiteral("/nowhere/%1.svg").arg(i), QString::number(i), {}, 0});
    return list;
}

QAction* itemTitled(QMenu* menu, const QString& title)
{
    for (QAction* action : menu->actions())
        if (action->text().trimmed() == title && action->isEnabled())
            return action;
    return nullptr;
}

class ExportSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PTLibraryController::setCurrentLibrary(
            PTLibraryController::initWithCreatingLibraryAtPath(dir.filePath(QStringLiteral("Test.ptlibrary"))));
        PTExportPresetController::sharedController().reload();
        PTExportSheetController::resetLastUsedSet();
        PTBrowserShell::install(shell);
    }
    void TearDown() override
    {
        PTBrowserShell::install(nullptr);
        PTLibraryController::setCurrentLibrary(nullptr);
        PTExportPresetController::sharedController().reload();
    }
    QTemporaryDir dir;
    std::shared_ptr<FakeBrowserShell> shell = std::make_shared<FakeBrowserShell>();
};

TEST_F(ExportSheetTest, SubtitleCountsTheIcons)
{
    EXPECT_EQ(PTExportSheetController(items(1), std::nullopt).subTitle(), QStringLiteral("1 Icon Selected"));
    EXPECT_EQ(PTExportSheetController(items(3), std::nullopt).subTitle(), QStringLiteral("3 Icons Selected"));
}

TEST_F(ExportSheetTest, TheTitleBarButtonOpensTheExportPreferences)
{
    PTExportSheetController sheet(items(1), std::nullopt);
    QWidget* button = nullptr;
    for (QWidget* widget : sheet.window()->findChildren<QWidget*>())
        if (widget->accessibleName() == QLatin1String("Export Preferences"))
            button = widget;
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(shell->calls, QStringList{"prefs io"});
}

// Presets imported while the sheet is open join its pop-up; what the user had chosen stays chosen.
TEST_F(ExportSheetTest, ImportedPresetsJoinTheOpenPopUp)
{
    PTExportOutputOptionSet kept;
    kept.name = QStringLiteral("Kept");
    kept.addOutputOption(PTExportOutputOption());
    ASSERT_TRUE(PTExportPresetController::sharedController().savePreset(kept, true).ok());
    PTExportOutputOptionSet arriving;
    arriving.name = QStringLiteral("Arriving");
    arriving.addOutputOption(PTExportOutputOption());
    const auto file =
        PTExportPresetController::exportPresetToPath(arriving, dir.filePath(QStringLiteral("a.ptpreset")));
    ASSERT_TRUE(file.ok());

    const struct {
        const char* chosen;
        QString shown;
    } cases[] = {{"Kept", QStringLiteral("Kept")},
                 {"Default", QStringLiteral("Default")},
                 {nullptr, QStringLiteral("Custom Options")}};
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.shown.toStdString());
        PTExportSheetController sheet(items(1), std::nullopt);
        if (entry.chosen)
            sheet.choosePresetItem(itemTitled(sheet.presetMenu(), QString::fromLatin1(entry.chosen)));
        const qsizetype before = PTExportPresetController::sharedController().presets().size();
        bool done = false;
        PTExportPresetController::importPresets({*file}, [&done](const QStringList&) { done = true; });
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 8000));
        ASSERT_EQ(PTExportPresetController::sharedController().presets().size(), before + 1);
        EXPECT_TRUE(itemTitled(sheet.presetMenu(), QStringLiteral("Arriving")));
        ASSERT_TRUE(sheet.selectedPresetItem());
        EXPECT_EQ(sheet.selectedPresetItem()->text().trimmed(), entry.shown);
    }
}

TEST_F(ExportSheetTest, EditingABuiltInGivesCustomOptions)
{
    PTExportSheetController sheet(items(2), std::nullopt);
    sheet.choosePresetItem(itemTitled(sheet.presetMenu(), QStringLiteral("Notification Icons")));
    ASSERT_EQ(sheet.rows().size(), 5);
    EXPECT_EQ(sheet.outputOptions()[1].sizeFormat, QStringLiteral("33s"));
    EXPECT_EQ(sheet.outputOptions()[1].suffix, QStringLiteral("-hdpi"));
    sheet.rows()[0]->setSizeText(QStringLiteral("20s"));
    EXPECT_EQ(sheet.selectedPresetItem()->text(), QStringLiteral("Custom Options"));
    EXPECT_TRUE(sheet.presetActionViewVisible());
    EXPECT_TRUE(sheet.presetNameInput()->text().isEmpty());
    EXPECT_FALSE(sheet.savePresetButton()->isEnabled());
    sheet.presetNameInput()->setText(QStringLiteral("   "));
    EXPECT_FALSE(sheet.savePresetButton()->isEnabled());
}

TEST_F(ExportSheetTest, UserPresetStaysSelectedAndUpdateRewritesItsFile)
{
    PTExportSheetController sheet(items(1), std::nullopt);
    sheet.rows()[0]->setSizeText(QStringLiteral("48s"));
    sheet.presetNameInput()->setText(QStringLiteral("Icons"));
    ASSERT_TRUE(sheet.savePresetButton()->isEnabled());
    sheet.savePreset();
    const QString folder = PTExportPresetController::saveLocation();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"icons.ptpreset"});
    EXPECT_EQ(sheet.selectedPresetItem()->text().trimmed(), QStringLiteral("Icons"));
    EXPECT_EQ(sheet.savePresetButton()->text(), QStringLiteral("Update"));

    sheet.rows()[0]->setSizeText(QStringLiteral("64s"));
    EXPECT_EQ(sheet.selectedPresetItem()->text().trimmed(), QStringLiteral("Icons"));
    sheet.savePreset();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"icons.ptpreset"});
    const auto read = PTExportOutputOptionSet::fromFile(QDir(folder).filePath("icons.ptpreset"));
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read->outputOptions().size(), 1);
    EXPECT_EQ(read->outputOptions()[0].sizeFormat, QStringLiteral("64s"));
}

TEST_F(ExportSheetTest, PopUpShowsAmpersandsInPresetNames)
{
    for (const char* name : {"R&D", "Tom && Jerry"}) {
        PTExportOutputOptionSet set;
        set.name = QString::fromUtf8(name);
        set.addOutputOption(PTExportOutputOption());
        ASSERT_TRUE(PTExportPresetController::sharedController().savePreset(set, true).ok());
    }
    PTExportSheetController sheet(items(1), std::nullopt);
    auto* popUp = sheet.window()->findChild<PTSheetViewPopupButton*>();
    ASSERT_TRUE(popUp);
    for (const QString name : {QStringLiteral("R&D"), QStringLiteral("Tom && Jerry"),
                               QStringLiteral("Toolbar & Navigation Icons")}) {
        SCOPED_TRACE(name.toStdString());
        QAction* item = itemTitled(sheet.presetMenu(), QString(name).replace(QStringLiteral("&"), QStringLiteral("&&")));
        ASSERT_TRUE(item);
        EXPECT_TRUE(QKeySequence::mnemonic(item->text()).isEmpty());
        sheet.choosePresetItem(item);
        // The button draws the title it announces.
        EXPECT_EQ(popUp->accessibleName().trimmed(), name);
    }
    sheet.choosePresetItem(itemTitled(sheet.presetMenu(), QStringLiteral("R&&D")));
    EXPECT_EQ(sheet.presetNameInput()->text(), QStringLiteral("R&D"));
    sheet.savePreset();
    EXPECT_EQ(sheet.selectedPresetItem()->text().trimmed(), QStringLiteral("R&&D"));
    EXPECT_EQ(PTExportOutputOptionSet::fromFile(sheet.selectedPresetItem()->data().value<PTExportOutputOptionSet>().filePath)
                  ->name,
              QStringLiteral("R&D"));
}

TEST_F(ExportSheetTest, ColoursCarryOverToAChosenPreset)
{
    PTExportSheetController sheet(items(1), std::nullopt);
    sheet.rows()[0]->setFillColor(Qt::red);
    sheet.addOptionFromSender(true);
    sheet.choosePresetItem(itemTitled(sheet.presetMenu(), QStringLiteral("Tab Bar Icon")));
    for (const PTExportOutputOption& option : sheet.outputOptions())
        EXPECT_EQ(option.fillColor, QColor(Qt::red));

    sheet.rows()[0]->setFillColor(Qt::blue);
    sheet.rows()[1]->setFillColor(Qt::green);
    sheet.rows()[2]->setFillColor(QColor());
    sheet.choosePresetItem(itemTitled(sheet.presetMenu(), QStringLiteral("Notification Icons")));
    const QList<PTExportOutputOption> options = sheet.outputOptions();
    ASSERT_EQ(options.size(), 5);
    EXPECT_EQ(options[0].fillColor, QColor(Qt::blue));
    EXPECT_EQ(options[1].fillColor, QColor(Qt::green));
    EXPECT_FALSE(options[2].fillColor.isValid());
    EXPECT_FALSE(options[4].fillColor.isValid());
}

TEST_F(ExportSheetTest, AtMostFifteenRowsAndASingleRowStays)
{
    shell->color = Qt::magenta;
    PTExportSheetController sheet(items(1), std::nullopt);
    ASSERT_EQ(sheet.rows().size(), 1);
    EXPECT_EQ(sheet.outputOptions()[0].fillColor, QColor(Qt::magenta));
    EXPECT_FALSE(sheet.rows()[0]->removable());
    sheet.rows()[0]->remove();
    EXPECT_EQ(sheet.rows().size(), 1);
    for (int i = 0; i < 20; ++i)
        sheet.addOptionFromSender(false);
    EXPECT_EQ(sheet.rows().size(), PTExportSheetController::MaximumRows);
    EXPECT_TRUE(sheet.addOptionButton()->parentWidget()->isHidden());
    ASSERT_TRUE(sheet.rows()[3]->removable());
    sheet.rows()[3]->remove();
    EXPECT_EQ(sheet.rows().size(), PTExportSheetController::MaximumRows - 1);
    EXPECT_FALSE(sheet.addOptionButton()->parentWidget()->isHidden());
}

TEST_F(ExportSheetTest, FormatsSwapTheSizeControls)
{
    PTExportSheetOptionViewController row;
    int reports = 0;
    row.changeHandler = [&](PTExportSheetOptionViewController*) { ++reports; };
    row.setSizeText(QStringLiteral("48h"));
    row.selectFormat(PTExportFormatICO);
    EXPECT_EQ(row.option().sizeFormat, QStringLiteral("16s"));
    row.selectFormat(PTExportFormatPNG);
    EXPECT_EQ(row.option().sizeFormat, QStringLiteral("48h"));
    row.selectFormat(PTExportFormatOriginal);
    EXPECT_FALSE(row.sizeControl()->isEnabled());
    EXPECT_FALSE(row.colorWell()->isEnabled());
    EXPECT_TRUE(row.option().sizeFormat.isEmpty());
    EXPECT_EQ(reports, 4);

    // Typing reports once, after the edits settle.
    row.selectFormat(PTExportFormatPNG);
    reports = 0;
    for (const char* text : {"3", "32", "32s"}) {
        row.sizeControl()->setText(QString::fromUtf8(text));
        emit row.sizeControl()->textEdited(row.sizeControl()->text());
    }
    EXPECT_EQ(reports, 0);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return reports > 0; }));
    pt::test::runMainQueueFor(200);
    EXPECT_EQ(reports, 1);
}

TEST_F(ExportSheetTest, ReopeningShowsTheLastUsedRows)
{
    {
        PTExportSheetController sheet(items(1), std::nullopt);
        sheet.choosePresetItem(itemTitled(sheet.presetMenu(), QStringLiteral("Tab Bar Icon")));
        sheet.rows()[2]->setSizeText(QStringLiteral("80s"));
        sheet.cancel();
    }
    PTExportSheetController again(items(1), std::nullopt);
    ASSERT_EQ(again.rows().size(), 3);
    EXPECT_EQ(again.outputOptions()[2].sizeFormat, QStringLiteral("80s"));
}

TEST_F(ExportSheetTest, Screenshot)
{
    for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        const bool dark = appearance == PTAppearanceDark;
        SCOPED_TRACE(dark ? "dark" : "light");
        ThemeScope theme(appearance);
        PTExportSheetController sheet(items(3), std::nullopt);
        sheet.rows()[0]->setFillColor(QColor(200, 0, 0));
        sheet.addOptionFromSender(true);
        sheet.addOptionFromSender(false);
        sheet.rows()[2]->selectFormat(PTExportFormatICO);
        ASSERT_EQ(sheet.rows().size(), 3);
        PTSheet* window = sheet.window();
        window->adjustSize();
        window->show();
        pt::test::runMainQueueFor(50);
        const QImage image = window->grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(image, dark ? QStringLiteral("export-sheet-dark")
                                                           : QStringLiteral("export-sheet")));

        // Three rows stacked one under another, the first row's colour well showing its red.
        const qreal ratio = image.devicePixelRatio();
        QList<int> tops;
        for (PTExportSheetOptionViewController* row : sheet.rows())
            tops << row->view()->mapTo(window, QPoint(0, 0)).y();
        EXPECT_LT(tops[0], tops[1]);
        EXPECT_LT(tops[1], tops[2]);
        const QWidget* well = sheet.rows()[0]->colorWell();
        const QPoint centre = well->mapTo(window, well->rect().center());
        const QColor sampled = image.pixelColor(int(centre.x() * ratio), int(centre.y() * ratio));
        EXPECT_GT(sampled.red(), 150) << sampled.name().toStdString();
        EXPECT_LT(sampled.green(), 80) << sampled.name().toStdString();
        // The band at the top is not the sheet's body colour under the rows.
        const QColor body = image.pixelColor(image.width() - 3, int((tops[2] + 40) * ratio));
        EXPECT_NE(image.pixelColor(image.width() / 2, 3), QColor(Qt::transparent));
        EXPECT_EQ(body.alpha(), 255);

        // "Add Output" and "Cancel" are buttons of the theme with titles as clear as the other controls': not
        // the pale grey of a disabled control, and no white buttons in the dark theme.
        for (const QString& name : {QStringLiteral("Add output"), QStringLiteral("Cancel")}) {
            SCOPED_TRACE(name.toStdString());
            const QWidget* button = nullptr;
            for (const QWidget* widget : window->findChildren<QPushButton*>())
                if (widget->accessibleName() == name && widget->isVisible())
                    button = widget;
            ASSERT_NE(button, nullptr);
            const pt::test::ControlLook look = pt::test::controlLook(image, button);
            if (dark) {
                EXPECT_LT(look.face.lightness(), 90) << look.face.name().toStdString();
                EXPECT_GT(look.ink.lightness(), 190) << look.ink.name().toStdString();
            } else {
                EXPECT_GT(look.face.lightness(), 240) << look.face.name().toStdString();
                EXPECT_LT(look.ink.lightness(), 130) << look.ink.name().toStdString();
            }
        }
        window->hide();
    }
}

// A row's remove mark shows while the pointer is over the row; a pointer that leaves while a pop-up menu or a
// panel over the sheet holds it (the row's format menu, the preset menu, the save panel of Export) takes the mark
// away once that closes.
TEST_F(ExportSheetTest, RemoveMarksHideWhenThePointerLeavesThroughAPopUpOrPanel)
{
    struct Case {
        const char* name;
        // Opens what holds the pointer and closes it once the pointer has gone away from the sheet.
        std::function<void(PTExportSheetController&, const std::function<void()>& leave)> holdAndClose;
    };
    const auto popUp = [](QMenu* menu, QWidget* under, const std::function<void()>& leave) {
        menu->popup(under->mapToGlobal(QPoint(0, under->height())));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        leave();
        menu->hide();
    };
    const Case cases[] = {
        {"the row's format menu",
         [&](PTExportSheetController& sheet, const std::function<void()>& leave) {
             QWidget* view = sheet.rows()[1]->view();
             popUp(view->findChild<QMenu*>(), view->findChild<PTSheetViewPopupButton*>(), leave);
         }},
        {"the preset menu",
         [&](PTExportSheetController& sheet, const std::function<void()>& leave) {
             popUp(sheet.presetMenu(), sheet.window(), leave);
         }},
        {"the save panel",
         [&](PTExportSheetController& sheet, const std::function<void()>& leave) {
             bool answered = false;
             QTimer poll;
             QObject::connect(&poll, &QTimer::timeout, [&] {
                 auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                 if (!panel || answered || !panel->isVisible())
                     return;
                 answered = true;
                 leave();
                 panel->reject();
             });
             poll.start(20);
             sheet.performExport();
             EXPECT_TRUE(answered) << "no save panel";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PTExportSheetController sheet(items(1), std::nullopt);
        sheet.addOptionFromSender(false);
        ASSERT_EQ(sheet.rows().size(), 2);
        PTSheet* window = sheet.window();
        window->adjustSize();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        PTExportSheetOptionViewController* row = sheet.rows()[1];
        ASSERT_TRUE(row->removable());
        QWidget* view = row->view();
        const auto* mark = view->findChild<QPushButton*>();
        ASSERT_NE(mark, nullptr);
        const QRect markArea(mark->mapTo(window, QPoint(0, 0)), mark->size());
        // The number of pixels in the mark's square that differ from its corner: the drawn cross.
        const auto markPixels = [&] {
            const QImage image = window->grab().toImage();
            const qreal ratio = image.devicePixelRatio();
            const QRect area(markArea.topLeft() * ratio, markArea.size() * ratio);
            const QRgb background = image.pixel(area.topLeft());
            int drawn = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    drawn += image.pixel(x, y) != background;
            return std::pair(image, drawn);
        };

        QCursor::setPos(view->mapToGlobal(view->rect().center()));
        QEnterEvent enter(QPointF(view->rect().center()), QPointF(view->rect().center()),
                          QPointF(view->mapToGlobal(view->rect().center())));
        QApplication::sendEvent(view, &enter);
        ASSERT_TRUE(row->closeControlVisible());
        EXPECT_GT(markPixels().second, 0) << "no remove mark over the hovered row";

        // The pointer goes out over what holds it and away from the sheet; that closes there.
        c.holdAndClose(sheet, [&] {
            QCursor::setPos(window->mapToGlobal(QPoint(window->width() + 200, window->height() + 200)));
        });
        pt::test::runMainQueueFor(50);

        const auto [image, drawn] = markPixels();
        ASSERT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("export-sheet-pointer-left-through-menu")));
        EXPECT_FALSE(row->closeControlVisible());
        EXPECT_EQ(drawn, 0) << "the remove mark stays drawn after the pointer left";
        window->hide();
    }
}

} // namespace

namespace {

// The export run applies the quality preference, whose registered default keeps JPG and WebP at full quality.
TEST_F(ExportSheetTest, ExportRunsUseTheQualityPreference)
{
    QImage gradient(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            gradient.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
    const QString source = dir.filePath(QStringLiteral("gradient.png"));
    ASSERT_TRUE(gradient.save(source));
    PTExportOutputOption jpg;
    jpg.format = PTExportFormatJPG;
    jpg.quality = 0.0;
    PTExportOutputOptionSet set;
    set.addOutputOption(jpg);
    const auto run = [&](const QString& folder) {
        QStringList written;
        bool done = false;
        PTExportSheetController::performExportOfItems({{source, "gradient", {}, 1}}, set, dir.filePath(folder),
                                                      [&](const QStringList& paths) {
                                                          written = paths;
                                                          done = true;
                                                      },
                                                      nullptr);
        EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 10000));
        EXPECT_EQ(written.size(), 1);
        return written.isEmpty() ? 0 : QFileInfo(written.first()).size();
    };
    const qint64 full = run(QStringLiteral("full"));
    pt::Defaults::standard().set(QStringLiteral("kPTExportQualityKey"), 0.0);
    const qint64 lowest = run(QStringLiteral("lowest"));
    pt::Defaults::standard().remove(QStringLiteral("kPTExportQualityKey"));
    EXPECT_GT(full, lowest * 2);
}

} // namespace

namespace {

// The progress sheet ends on "Export Complete", names how many files could not be written, and the written files
// are revealed.
TEST_F(ExportSheetTest, ExportRunReportsFailuresAndRevealsFiles)
{
    auto shell = std::make_shared<pt::test::FakeLibraryShell>();
    PTLibraryShell::install(shell);
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    const QString source = dir.filePath(QStringLiteral("blue.png"));
    ASSERT_TRUE(image.save(source));
    PTExportOutputOption ok;
    ok.sizeFormat = QStringLiteral("16s");
    PTExportOutputOption tooLarge;
    tooLarge.sizeFormat = QStringLiteral("20000s");
    PTExportOutputOptionSet set;
    set.addOutputOption(ok);
    set.addOutputOption(tooLarge);
    bool done = false;
    PTExportSheetController::performExportOfItems({{source, "blue", {}, 1}}, set, dir.filePath(QStringLiteral("out")),
                                                  [&](const QStringList&) { done = true; }, nullptr);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 10000));
    PTLibraryShell::install(nullptr);
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets[0]->titles.value(0), QStringLiteral("Exporting Icons, please wait..."));
    EXPECT_TRUE(shell->sheets[0]->titles.contains(QStringLiteral("Export Complete")));
    EXPECT_TRUE(shell->sheets[0]->subTitles.contains(QStringLiteral("1 files could not be written")));
    EXPECT_EQ(shell->revealed, QStringList{dir.filePath(QStringLiteral("out/blue.png"))});
}

} // namespace
