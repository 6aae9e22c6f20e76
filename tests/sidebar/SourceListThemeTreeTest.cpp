#include "SourceListTestSupport.h"
#include "TestSupport.h"

#include <QDir>

// The icon theme's folders as a library: a group per size, a set per context folder with a few of its icons.
TEST_F(SourceListTest, IconThemeFoldersAsALibrary)
{
    const QDir theme(QStringLiteral("/usr/share/icons/Papirus"));
    ASSERT_TRUE(theme.exists());
    QStringList expected{"", "All", "Miscellaneous", "Your Icon Sets"};
    QStringList everySet;
    QVector<PTGroup*> groups;
    for (const QString& size : {QStringLiteral("16x16"), QStringLiteral("24x24"), QStringLiteral("48x48")}) {
        PTGroup* group = makeGroup(size);
        groups << group;
        expected << size;
        const QStringList contexts = QDir(theme.filePath(size)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        ASSERT_FALSE(contexts.isEmpty());
        for (const QString& context : contexts) {
            PTCollection* set = makeSetIn(size + " " + context, group);
            const QStringList icons = QDir(theme.filePath(size + "/" + context)).entryList({"*.svg"}, QDir::Files);
            for (const QString& icon : icons.mid(0, 2))
                makeItem(set, QFileInfo(icon).completeBaseName(), icon, theme.filePath(size + "/" + context + "/" + icon));
            expected << "  " + size + " " + context;
            everySet << size + " " + context;
        }
    }
    expected << "";
    saveAndWait();
    ASSERT_TRUE(waitForGridCalls(1));
    EXPECT_EQ(gridCalls.back().sets, QStringList{"Miscellaneous"} + everySet);
    view().expandAll();
    EXPECT_EQ(visibleTitles(), expected);
    list().selectItems({groups[1], groups[2]}, false);
    ASSERT_TRUE(waitForGridCalls(2));
    EXPECT_EQ(gridCalls.back().sets, everySet.mid(everySet.size() / 3));
    EXPECT_EQ(gridCalls.back().topLevel, 2);
}
