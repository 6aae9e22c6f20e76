#include "FakeDesktopServices.h"
#include "TestSupport.h"

#include "app/PTWorkspaceController.h"

#include <QDesktopServices>

#include <gtest/gtest.h>

namespace {

const QList<QUrl> files = {QUrl::fromLocalFile(QStringLiteral("/lib/Sets/a/one.svg")),
                           QUrl::fromLocalFile(QStringLiteral("/lib/Sets/a/two b.svg")),
                           QUrl::fromLocalFile(QStringLiteral("/lib/Sets/c/three.svg"))};

TEST(WorkspaceTest, TheFileManagerSelectsTheFiles)
{
    FakeFileManager manager(QStringLiteral("filemanager"));
    PTWorkspaceController::showFileURLsInFinderWithoutWarning(files);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !manager.shown.isEmpty(); }));
    EXPECT_EQ(manager.shown.first(), (QStringList{QStringLiteral("file:///lib/Sets/a/one.svg"),
                                                  QStringLiteral("file:///lib/Sets/a/two%20b.svg"),
                                                  QStringLiteral("file:///lib/Sets/c/three.svg")}));
}

TEST(WorkspaceTest, WithoutAFileManagerEachFolderOpensOnce)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    PTWorkspaceController::showFileURLsInFinderWithoutWarning(files);
    const bool opened = pt::test::runMainQueueUntil([&] { return catcher.urls.size() == 2; });
    pt::test::runMainQueueFor(100);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_TRUE(opened);
    EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/lib/Sets/a")),
                                         QUrl::fromLocalFile(QStringLiteral("/lib/Sets/c"))}));
}

} // namespace
