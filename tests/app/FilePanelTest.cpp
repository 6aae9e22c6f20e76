#include "TestSupport.h"
#include "app/PTFilePanel.h"
#include "platform/ui/ModalRunner.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A folder of the kinds a panel meets: a plain folder with an icon in it, a bundle and a library.
struct PanelFolder {
    QTemporaryDir dir;
    PanelFolder()
    {
        for (const char* path : {"icons/a.svg", "set.pictern/META", "lib.ptlibrary/META"}) {
            const QString file = dir.filePath(QString::fromLatin1(path));
            QDir().mkpath(QFileInfo(file).path());
            QFile(file).open(QIODevice::WriteOnly);
        }
    }
    QString path(const char* name) const { return QDir::cleanPath(dir.filePath(QString::fromLatin1(name))); }
};

} // namespace

// What an open or save panel answers for a typed path, by what the request lets it choose.
TEST(FilePanelTest, TypedFoldersAreChosenOrEnteredAsTheRequestSays)
{
    const PanelFolder folder;
    PTLibraryShell::PanelRequest plain;
    PTLibraryShell::PanelRequest folders;
    folders.canChooseDirectories = true;
    PTLibraryShell::PanelRequest bundles;
    bundles.packageExtensions = {QStringLiteral("pictern")};
    struct Case {
        const char* name;
        const PTLibraryShell::PanelRequest& request;
        const char* typed;
        QStringList chosen;
    };
    const Case cases[] = {
        {"a file", plain, "icons/a.svg", {folder.path("icons/a.svg")}},
        {"a folder where folders may be chosen", folders, "icons", {folder.path("icons")}},
        {"a bundle where bundles are packages", bundles, "set.pictern", {folder.path("set.pictern")}},
        {"a folder where only files are chosen", plain, "icons", {}},
        {"a library where bundles are the packages", bundles, "lib.ptlibrary", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString entered;
        pt::ModalRunner::setHook([&](QWidget* window) {
            auto* panel = qobject_cast<QFileDialog*>(window);
            ASSERT_NE(panel, nullptr);
            auto* field = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(field, nullptr);
            field->setText(folder.path(c.typed));
            QTest::keyClick(field, Qt::Key_Return);
            if (panel->isVisible()) {
                entered = QDir::cleanPath(panel->directory().absolutePath());
                panel->reject();
            }
        });
        EXPECT_EQ(PTFilePanel::runOpen(c.request, true), c.chosen);
        // What was not chosen was entered, as a folder is.
        EXPECT_EQ(entered, c.chosen.isEmpty() ? folder.path(c.typed) : QString());
    }

    // Saving over an existing bundle picks the bundle rather than entering it.
    pt::ModalRunner::setHook([&](QWidget* window) {
        auto* field = window->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(field, nullptr);
        field->setText(folder.path("set.pictern"));
        QTest::keyClick(field, Qt::Key_Return);
        if (window->isVisible())
            window->close();
    });
    EXPECT_EQ(PTFilePanel::runSave(bundles), folder.path("set.pictern"));
    pt::ModalRunner::setHook({});
}
