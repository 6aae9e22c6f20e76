#include "ImportTestSupport.h"

#include "TestSupport.h"
#include "browser/PTBrowserTransfer.h"
#include "library/controllers/PTCollectionController.h"
#include "transfer/PTIconTransfer.h"
#include "transfer/TransferSetUp.h"
#include "transfer/export/PTExportPresetController.h"
#include "transfer/import/PTFileOpenHandler.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/views/PTSheet.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileDialog>
#include <QImage>
#include <QMimeData>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pt::test;

namespace {

// What the application installs at start-up, against a real library.
class IconTransferTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        static const bool registered = [] {
            TransferSetUp::registerAll();
            return true;
        }();
        ASSERT_TRUE(registered);
        transfer = PTBrowserTransfer::installed();
        ASSERT_TRUE(dynamic_cast<PTIconTransfer*>(transfer.get()));
    }

    // Answers the next folder dialog with the folder.
    static void chooseFolderWhenAsked(const QString& folder)
    {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, folder] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer->deleteLater();
            dialog->setDirectory(folder);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        timer->start(10);
    }
    static int filesIn(const QString& folder)
    {
        int count = 0;
        for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
            ++count;
        return count;
    }
    static PTToolbarSegmentedControl* importButton()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!qobject_cast<PTSheet*>(window) || !window->isVisible())
                continue;
            for (auto* control : window->findChildren<PTToolbarSegmentedControl*>())
                if (control->accessibleName() == QStringLiteral("Import to a New Set"))
                    return control;
        }
        return nullptr;
    }

    std::shared_ptr<PTBrowserTransfer> transfer;
};

} // namespace

TEST_F(IconTransferTest, PresetEntriesExportTheItems)
{
    PTCollection* set = makeSet("Icons");
    const QVector<PTItem*> items{makeItem(set, "left", "left.svg", themeIcon("go-previous")),
                                 makeItem(set, "right", "right.svg", themeIcon("go-next"))};
    QMenu menu;
    transfer->addPresetEntries(&menu, [items] { return items; });
    QAction* chosen = nullptr;
    for (QAction* action : menu.actions()) {
        if (action->isEnabled() && action->property(PTExportPresetController::OutputSetProperty).isValid()) {
            chosen = action;
            break;
        }
    }
    ASSERT_TRUE(chosen);
    const auto preset = chosen->property(PTExportPresetController::OutputSetProperty).value<PTExportOutputOptionSet>();
    const int expected = int(preset.outputOptions().size() * items.size());
    ASSERT_GT(expected, 0);

    QTemporaryDir out;
    chooseFolderWhenAsked(out.path());
    chosen->trigger();
    EXPECT_TRUE(runMainQueueUntil([&] { return filesIn(out.path()) == expected; }, 30000))
        << chosen->text().toStdString() << ": " << filesIn(out.path()) << " of " << expected;
}

TEST_F(IconTransferTest, DroppedFilesAreImportedIntoTheLibrary)
{
    EXPECT_FALSE(transfer->handlesURLs({QUrl::fromLocalFile(source("notes.txt", "just text"))}));
    const QList<QUrl> files{QUrl::fromLocalFile(source("drop/arrow.svg")),
                            QUrl::fromLocalFile(source("drop/other.svg"))};
    ASSERT_TRUE(transfer->handlesURLs(files));

    transfer->queueItems(files);
    PTFileOpenHandler::sharedController().applicationDidFinishLaunching();
    PTToolbarSegmentedControl* add = nullptr;
    ASSERT_TRUE(runMainQueueUntil([&] { return (add = importButton()) != nullptr; }));
    add->performClick(0);

    const auto imported = [] {
        for (PTCollection* set : PTCollectionController::sharedController().collections())
            if (set->items().size() == 2)
                return set;
        return static_cast<PTCollection*>(nullptr);
    };
    ASSERT_TRUE(runMainQueueUntil([&] { return imported() != nullptr; }, 30000));
    QStringList names;
    for (PTItem* item : imported()->items())
        names << item->name();
    names.sort();
    EXPECT_EQ(names, (QStringList{"Arrow", "Other"}));
    EXPECT_TRUE(runMainQueueUntil([] { return PTFileOpenHandler::sharedController().pendingCount() == 0; }));
}

// The inspector's preview drags in its chosen format and sizes: each item x size is its own file, the size in
// the name when asked.
TEST_F(IconTransferTest, PreviewRenderingsExportInTheirFormatAndSize)
{
    PTCollection* set = makeSet("Icons");
    const QVector<PTItem*> items{makeItem(set, "left", "left.svg", themeIcon("go-previous"))};
    QVector<PTBrowserTransfer::Rendering> renderings(2);
    renderings[0].format = renderings[1].format = 0; // PNG
    renderings[0].sizeFormat = QStringLiteral("32s");
    renderings[1].sizeFormat = QStringLiteral("2x");
    renderings[1].appendSizeSuffix = true;
    std::unique_ptr<QMimeData> data(transfer->mimeDataForItems(items, renderings, PTBrowserTransfer::Use::Drag));
    const QList<QUrl> urls = data->urls();
    ASSERT_EQ(urls.size(), 2);
    const QImage small(urls[0].toLocalFile());
    EXPECT_EQ(small.size(), QSize(32, 32)) << urls[0].toLocalFile().toStdString();
    EXPECT_TRUE(urls[0].fileName().endsWith(QStringLiteral(".png")));
    EXPECT_FALSE(urls[0].fileName().contains(QStringLiteral("@")));
    EXPECT_TRUE(urls[1].fileName().contains(QStringLiteral("@2x"))) << urls[1].fileName().toStdString();
}
