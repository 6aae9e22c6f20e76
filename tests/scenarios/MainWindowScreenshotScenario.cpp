#include "ScenarioTest.h"

#include "app/PTWindow.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "library/ImportTyping.h"
#include "platform/runtime/Defaults.h"
#include "ui/PTPersistedImportOptions.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using MainWindowScreenshotScenario = ScenarioTest;

// Copies the first `count` plain SVG files of an icon theme folder into a new folder of that name.
QString copyThemeIcons(const QDir& into, const QString& name, const QString& themeFolder, int count)
{
    into.mkpath(name);
    const QString folder = into.filePath(name);
    int copied = 0;
    for (const QFileInfo& info : QDir(themeFolder).entryInfoList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name)) {
        if (copied == count)
            break;
        if (!info.isSymLink() && QFile::copy(info.filePath(), QDir(folder).filePath(info.fileName())))
            ++copied;
    }
    EXPECT_EQ(copied, count) << themeFolder.toStdString();
    return folder;
}

// Pixels of the area that differ from the colour by more than a few steps.
int pixelsUnlike(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                         std::abs(c.blue() - colour.blue()) > 12;
        }
    }
    return count;
}

// A library of a few hundred icons of the desktop's icon themes, imported as a user's would be: a group of three
// sets and a set beside it. The window shows the group's sets in the grid with their pictures, the rows of the
// source list and the chosen icon in the inspector, in both themes.
TEST_F(MainWindowScreenshotScenario, ARealLibraryInBothThemes)
{
    QTemporaryDir sources;
    const QDir root(sources.path());
    const QString papirus = QStringLiteral("/usr/share/icons/Papirus/48x48/");
    const QDir group(root.filePath(QStringLiteral("Papirus")));
    copyThemeIcons(group, QStringLiteral("Apps"), papirus + QStringLiteral("apps"), 90);
    copyThemeIcons(group, QStringLiteral("Devices"), papirus + QStringLiteral("devices"), 60);
    copyThemeIcons(group, QStringLiteral("Places"), papirus + QStringLiteral("places"), 60);
    const QString breeze = copyThemeIcons(root, QStringLiteral("Breeze"), QStringLiteral("/usr/share/icons/breeze/actions/22"), 60);
    // With "Create Groups and Sets from Folders" chosen in the preferences, the folder of folders becomes a group.
    pt::Defaults::standard().set(PTPreferenceKeys::ImportOptions,
                                 PTPersistedImportOptions::persistedImportOptions(false) |
                                     qint64(PTImportOption::FoldersBecomeGroupsAndSets));
    importFolder(group.path(), QStringLiteral("Papirus"));
    importFolder(breeze, QStringLiteral("Breeze"));

    clickSourceListRow(QStringLiteral("Papirus"));
    {
        // Opened as a user opens a group from the keyboard: the right arrow on its chosen row shows its sets.
        auto* rows = sourceList()->findChild<QAbstractItemView*>();
        const QModelIndex papirus = rows->model()->match(rows->model()->index(0, 0), Qt::DisplayRole,
                                                         QStringLiteral("Papirus"), 1, Qt::MatchExactly).value(0);
        ASSERT_EQ(rows->model()->rowCount(papirus), 3) << "the group holds its three sets";
        QTest::keyClick(rows, Qt::Key_Right);
        ASSERT_TRUE(waitFor([&] { return rows->visualRect(rows->model()->index(2, 0, papirus)).isValid(); }))
            << "the group opens";
    }
    ASSERT_TRUE(waitFor([this] { return gridItemNames().size() == 210; }, 20000)) << gridItemNames().size();
    clickGridItem(gridItemNames().first());

    auto* rows = sourceList()->findChild<QAbstractItemView*>();
    ASSERT_NE(rows, nullptr);
    for (int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        PTThemeController::defaultController().setDefaultAppearance(appearance, PTAppearancePreferenceManual);
        const QString name = appearance == PTAppearanceDark ? QStringLiteral("main-window-library-dark")
                                                            : QStringLiteral("main-window-library-light");
        SCOPED_TRACE(name.toStdString());
        PTGridView* shown = grid();
        const auto drawn = [shown] {
            int pictures = 0;
            for (PTGridViewCell* cell : shown->visibleCells()) {
                if (auto* image = dynamic_cast<PTGridViewImageCell*>(cell); image && !image->image().isNull())
                    ++pictures;
            }
            return pictures >= 20;
        };
        ASSERT_TRUE(waitFor(drawn, 20000)) << "the grid draws the icons' pictures";
        pt::test::runMainQueueFor(400); // the load-in glide ends
        const QImage image = window()->grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(image, name));
        const qreal ratio = image.devicePixelRatio();
        const auto inWindow = [this, ratio](QWidget* widget, const QRect& rect) {
            return QRect(widget->mapTo(window(), rect.topLeft()) * ratio, rect.size() * ratio);
        };

        // A row of the source list for the group, each of its sets and the set beside it, its title drawn.
        for (const QString& title : {"Papirus", "Apps", "Devices", "Places", "Breeze"}) {
            const QModelIndexList found = rows->model()->match(rows->model()->index(0, 0), Qt::DisplayRole, title, 1,
                                                               Qt::MatchExactly | Qt::MatchRecursive);
            ASSERT_FALSE(found.isEmpty()) << "no row " << title.toStdString();
            const QRect row = inWindow(rows->viewport(), rows->visualRect(found.first()));
            ASSERT_TRUE(image.rect().contains(row)) << title.toStdString();
            EXPECT_GT(pixelsUnlike(image, row, image.pixelColor(row.right() - 2, row.center().y())), 10)
                << "the row of " << title.toStdString() << " shows its title";
        }
        // The grid's cells with the icons' pictures over the grid's colour.
        const QColor gridColour = image.pixelColor(inWindow(shown->viewport(), shown->viewport()->rect()).bottomRight() - QPoint(3, 3));
        int pictured = 0;
        for (PTGridViewCell* cell : shown->visibleCells()) {
            auto* item = dynamic_cast<PTGridViewImageCell*>(cell);
            if (!item)
                continue;
            const QRect area = item->drawingRect().translated(cell->frame().topLeft())
                                   .translated(0, -shown->visibleRect().top()).toRect();
            const QRect onScreen = inWindow(shown->viewport(), area).intersected(
                inWindow(shown->viewport(), shown->viewport()->rect()));
            if (onScreen.width() > 8 && onScreen.height() > 8)
                pictured += pixelsUnlike(image, onScreen, gridColour) > onScreen.width() * onScreen.height() / 10;
        }
        EXPECT_GE(pictured, 20) << "cells drawn with the icons' pixels";
        // The inspector column beside the grid, in a colour of its own, showing the chosen icon's picture and
        // fields.
        const QRect column = inWindow(inspector(), inspector()->rect());
        EXPECT_GT(column.width(), 150);
        EXPECT_GE(column.left(), inWindow(shown->viewport(), shown->viewport()->rect()).right());
        const QColor columnColour = image.pixelColor(column.right() - 3, column.bottom() - 3);
        EXPECT_GT(pixelsUnlike(image, QRect(column.bottomRight() - QPoint(3, 3), QSize(1, 1)), gridColour), 0)
            << columnColour.name().toStdString();
        EXPECT_GT(pixelsUnlike(image, column, columnColour), column.width() * 40) << "the inspector shows the chosen icon";
    }
    PTThemeController::defaultController().setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
}

} // namespace
