#include "ExportTestFiles.h"
#include "LibraryTestSupport.h"

#include "transfer/PTIconTransfer.h"
#include "transfer/copy/PTItemCopyProvider.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>

#include <gtest/gtest.h>

using namespace pt::test;

namespace {

class CopyFormatsTest : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        PTItemCopyProvider::registerAll();
        set = makeSet(QStringLiteral("Icons"));
    }
    PTItem* item(const QString& name, qint64 type, const QByteArray& bytes = {})
    {
        PTItem* made = PTItem::insert(context());
        made->setName(name);
        made->setNewFileName(name + QLatin1Char('.') + PTItem::extensionForType(type));
        made->setType(type);
        made->setCollection(set);
        if (!bytes.isEmpty()) {
            QFile file(made->fileURL().toLocalFile());
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        return made;
    }
    // The "Copy As" menu as the grid shows it: titles, "---" for separators.
    QStringList menu(const QVector<PTItem*>& items)
    {
        QMenu menu;
        transfer.addCopyFormatEntries(&menu, [items] { return items; });
        QStringList titles;
        for (const QAction* action : menu.actions())
            titles << (action->isSeparator() ? QStringLiteral("---") : action->text());
        return titles;
    }
    void choose(const QString& title, const QVector<PTItem*>& items)
    {
        QMenu menu;
        transfer.addCopyFormatEntries(&menu, [items] { return items; });
        for (QAction* action : menu.actions())
            if (action->text() == title)
                action->trigger();
    }
    static QString clipboardText() { return QApplication::clipboard()->text(); }

    PTCollection* set = nullptr;
    PTIconTransfer transfer;
};

const QByteArray Square = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 4 4"><g><rect width="4" height="4"/></g></svg>)";

} // namespace

TEST_F(CopyFormatsTest, MenuOffersWhatSuitsEveryIconOfTheSelection)
{
    const QStringList all{"Base 64 Encoded String", "---", "SVG Formatted Code", "SVG Inline Code"};
    const QStringList base64{"Base 64 Encoded String"};
    struct Case {
        QList<qint64> types;
        QStringList titles;
    };
    const Case cases[] = {
        {{PTItem::SVG, PTItem::SVG}, all},
        {{PTItem::PNG}, base64},
        {{PTItem::GIF}, base64},
        {{PTItem::SVG, PTItem::PNG, PTItem::GIF}, base64},
        {{PTItem::SVG, PTItem::ICO}, {}},
        {{PTItem::PDF}, {}},
        {{PTItem::PNG, PTItem::ICNS}, {}},
        {{PTItem::WEBP}, {}},
        {{}, all},
    };
    for (const Case& c : cases) {
        QVector<PTItem*> items;
        for (qint64 type : c.types)
            items << item(QStringLiteral("i%1").arg(items.size()), type);
        EXPECT_EQ(menu(items), c.titles) << c.types.size();
    }
}

TEST_F(CopyFormatsTest, Base64DataURIsRoundTripInSelectionOrder)
{
    const QByteArray pngBytes = [] {
        QTemporaryDir folder;
        QFile file(writePNG(folder.filePath("a.png"), QSize(5, 3), Qt::blue));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    const QVector<PTItem*> items{item("b", PTItem::PNG, pngBytes), item("a", PTItem::SVG, Square)};
    choose("Base 64 Encoded String", items);
    const QStringList texts = clipboardText().split('\n');
    ASSERT_EQ(texts.size(), 2);
    ASSERT_TRUE(texts[0].startsWith("data:image/png;base64,"));
    EXPECT_EQ(QByteArray::fromBase64(texts[0].mid(22).toLatin1()), pngBytes);
    ASSERT_TRUE(texts[1].startsWith("data:image/svg+xml;base64,"));
    EXPECT_EQ(QByteArray::fromBase64(texts[1].mid(26).toLatin1()), Square);
}

TEST_F(CopyFormatsTest, SVGCodeSkipsWhatDoesNotParse)
{
    const QByteArray external = R"(<?xml version="1.0"?><!DOCTYPE svg [<!ENTITY x SYSTEM "file:///etc/passwd">]>
<svg xmlns="http://www.w3.org/2000/svg"><text>&x;</text></svg>)";
    const QVector<PTItem*> items{item("a", PTItem::SVG, Square), item("broken", PTItem::SVG, "<svg><g></svg>"),
                                 item("missing", PTItem::SVG), item("c", PTItem::SVG, Square),
                                 item("external", PTItem::SVG, external)};

    choose("SVG Formatted Code", items);
    const QString pretty = clipboardText();
    EXPECT_EQ(pretty.count("<svg"), 2 + (pretty.contains("<text") ? 1 : 0));
    EXPECT_TRUE(pretty.contains("\n  <g>\n    <rect")) << pretty.toStdString();
    EXPECT_FALSE(pretty.contains("root:"));

    choose("SVG Inline Code", items.mid(0, 1));
    EXPECT_TRUE(clipboardText().contains("<g><rect")) << clipboardText().toStdString();
    EXPECT_TRUE(clipboardText().contains(R"(viewBox="0 0 4 4")"));

    // Nothing to copy leaves the clipboard empty, not holding the last copy.
    choose("SVG Inline Code", {items[1]});
    EXPECT_TRUE(clipboardText().isEmpty());
}
