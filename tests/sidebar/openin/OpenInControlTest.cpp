// Runs with XDG folders that hold only the fixture applications (see CMakeLists.txt): Vector & Studio opens SVG and
// PNG, Outline SVG (the SVG default), raster Paint PNG (the PNG default), Texts PDF, Helper nothing and is
// hidden; Pictern itself claims SVG and PNG.
#include "TestSupport.h"

#include "foundation/MenuAdditions.h"
#include "foundation/PTUtils.h"
#include "platform/runtime/Defaults.h"
#include "sidebar/inspector/PTOpenInApplicationChooser.h"
#include "sidebar/inspector/PTOpenInControl.h"
#include "ui/controls/PTSidebarSegmentedControl.h"
#include "ui/controls/PTStyledLabel.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Vector = QStringLiteral("org.example.Vector.desktop");
const QString Raster = QStringLiteral("org.example.Raster.desktop");
const QString Outline = QStringLiteral("org.example.SvgOnly.desktop");

class OpenInControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pt::Defaults::standard().remove(PTOpenInControl::CustomURLsKey);
        pt::Defaults::standard().remove(PTOpenInControl::BundleIdentifierKey);
        svg = file(QStringLiteral("a.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"/>");
        upperSvg = file(QStringLiteral("D.SVG"), "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"/>");
        text = file(QStringLiteral("c.pdf"), "%PDF-1.4\n%%EOF\n");
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(Qt::red);
        png = QUrl::fromLocalFile(dir.filePath(QStringLiteral("b.png")));
        ASSERT_TRUE(image.save(png.toLocalFile()));
    }

    QUrl file(const QString& name, const QByteArray& content)
    {
        QFile out(dir.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
        return QUrl::fromLocalFile(out.fileName());
    }

    // The menu as the user reads it: names, "-" for separators, a "*" before the ticked item.
    static QStringList entries(const PTOpenInControl& control)
    {
        QStringList entries;
        if (!control.menu())
            return entries;
        for (QAction* item : control.menu()->actions())
            entries << (item->isSeparator() ? QStringLiteral("-")
                                            : (item->isChecked() ? QStringLiteral("*") : QString()) +
                                                  menuAdditions::shownTitle(item->text()));
        return entries;
    }

    QTemporaryDir dir;
    QUrl svg, upperSvg, text, png;
};

} // namespace

// Which applications are listed, in which order, and which is ticked, for the files and the remembered choice.
TEST_F(OpenInControlTest, MenuListsCommonApplicationsDefaultFirst)
{
    PTOpenInControl control;
    EXPECT_FALSE(control.segmentedControl()->isEnabled());
    EXPECT_EQ(control.segmentedControl()->sublabel(0), QStringLiteral("N/A"));
    EXPECT_EQ(control.menu(), nullptr);
    EXPECT_TRUE(control.selectedApplication().isEmpty());
    EXPECT_FALSE(control.accessibleName().isEmpty());

    struct Case {
        const char* name;
        QList<QUrl> files;
        QString remembered;
        QStringList menu;
    };
    const QList<Case> cases = {
        {"default first, self never listed", {svg}, {}, {"*Outline", "-", "Vector & Studio", "-", "Other..."}},
        {"only what opens both", {svg, png}, {}, {"*Vector & Studio", "-", "Other..."}},
        {"remembered wins over the default", {svg}, Vector, {"Outline", "-", "*Vector & Studio", "-", "Other..."}},
        {"first two files share nothing", {svg, text, png}, {}, {"-", "Other..."}},
    };
    for (const Case& c : cases) {
        if (c.remembered.isEmpty())
            pt::Defaults::standard().remove(PTOpenInControl::BundleIdentifierKey);
        else
            pt::Defaults::standard().set(PTOpenInControl::BundleIdentifierKey, c.remembered);
        control.setFileURLs(c.files);
        EXPECT_EQ(entries(control), c.menu) << c.name;
        EXPECT_TRUE(control.segmentedControl()->isEnabled()) << c.name;
    }
    EXPECT_TRUE(control.selectedApplication().isEmpty()) << "nothing ticked when nothing is listed";
    EXPECT_FALSE(control.openURLs({svg})) << "no application: nothing opens";

    control.setFileURLs({svg});
    EXPECT_EQ(control.selectedApplication(), Outline);
    EXPECT_EQ(control.segmentedControl()->sublabel(0), QStringLiteral("Outline"));
    control.setFileURLs({});
    EXPECT_TRUE(control.selectedApplication().isEmpty());
    EXPECT_FALSE(control.segmentedControl()->isEnabled());
}

// Choosing from the menu ticks, remembers and asks the owner to open at once; the automatic choice is not stored.
TEST_F(OpenInControlTest, ChoosingRemembersAndOpens)
{
    PTOpenInControl control;
    int opened = 0;
    control.setOpenHandler([&opened] { ++opened; });
    control.setFileURLs({svg});
    EXPECT_FALSE(pt::Defaults::standard().objectForKey(PTOpenInControl::BundleIdentifierKey).isValid());
    EXPECT_EQ(opened, 0);

    // A name with "&" underlines no letter and shows as it is.
    EXPECT_TRUE(QKeySequence::mnemonic(control.itemForBundle(Vector)->text()).isEmpty());
    control.itemForBundle(Vector)->trigger();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(control.selectedApplication(), Vector);
    EXPECT_EQ(control.segmentedControl()->sublabel(0), QStringLiteral("Vector & Studio"));
    EXPECT_EQ(pt::Defaults::standard().stringForKey(PTOpenInControl::BundleIdentifierKey), Vector);

    PTOpenInControl next;
    next.setFileURLs({png});
    EXPECT_EQ(next.selectedApplication(), Vector) << "remembered across controls";
}

// Applications added through "Other..." are offered for those extensions exactly (case kept), even where the
// desktop lists nothing in common; uninstalled ones are dropped when a control starts.
TEST_F(OpenInControlTest, CustomApplicationsPerExtension)
{
    PTOpenInControl control;
    control.setFileURLs({svg, text});
    EXPECT_EQ(entries(control), (QStringList{"-", "Other..."}));
    control.addCustomApplication(*PTUtils::applicationForIdentifier(Raster));
    control.computeMenu();
    EXPECT_EQ(entries(control), (QStringList{"*raster Paint", "-", "Other..."})) << "no default listed: the first";

    control.setFileURLs({svg});
    EXPECT_TRUE(entries(control).contains(QStringLiteral("raster Paint")));
    control.setFileURLs({upperSvg});
    EXPECT_FALSE(entries(control).contains(QStringLiteral("raster Paint"))) << "\"SVG\" is not \"svg\"";

    pt::Defaults::standard().set(PTOpenInControl::CustomURLsKey,
                                 QVariantMap{{"svg", QStringList{"org.example.Gone.desktop", Raster}},
                                             {"png", QStringList{"org.example.Gone.desktop"}},
                                             {"gif", QStringList{}}});
    PTOpenInControl fresh;
    const QVariantMap cleaned = pt::Defaults::standard().dictionaryForKey(PTOpenInControl::CustomURLsKey);
    EXPECT_EQ(cleaned.keys(), (QStringList{"png", "svg"}));
    EXPECT_EQ(cleaned.value("svg").toStringList(), QStringList{Raster});
    EXPECT_EQ(cleaned.value("png").toStringList(), QStringList{});
}

// "Other..." offers the shown applications not already in the menu, never this application, and filters them.
TEST_F(OpenInControlTest, ChooserOffersUnlistedShownApplications)
{
    QList<PTApplicationInfo> all = PTUtils::allApplications();
    QStringList names;
    for (const PTApplicationInfo& application : all)
        names << application.name;
    EXPECT_FALSE(names.contains(QStringLiteral("Helper"))) << "hidden applications are not offered";

    PTOpenInApplicationChooser chooser(all);
    chooser.filterField()->setText(QStringLiteral("PAINT"));
    ASSERT_EQ(chooser.list()->count(), 1);
    EXPECT_EQ(chooser.chosenApplication()->identifier, Raster);
    chooser.filterField()->setText(QStringLiteral("nothing like it"));
    EXPECT_FALSE(chooser.chosenApplication().has_value());
}

// Opening starts the ticked application once with all the files.
TEST_F(OpenInControlTest, OpeningLaunchesTheTickedApplicationOnce)
{
    const QString record = qEnvironmentVariable("PICTERN_OPENIN_RECORD");
    ASSERT_FALSE(record.isEmpty());
    QFile::remove(record);
    PTOpenInControl control;
    pt::Defaults::standard().set(PTOpenInControl::BundleIdentifierKey, Vector);
    control.setFileURLs({svg, png});
    ASSERT_EQ(control.selectedApplication(), Vector);
    EXPECT_TRUE(control.openURLs({svg, png}));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&record] { return QFile::exists(record); }));
    pt::test::runMainQueueFor(200);
    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains("a.svg"));
    EXPECT_TRUE(lines[0].contains("b.png"));
}

// A name too long for the control keeps its start: the label is cut at its end.
TEST_F(OpenInControlTest, ALongApplicationNameIsCutAtItsEnd)
{
    pt::Defaults::standard().set(PTOpenInControl::BundleIdentifierKey, Vector);
    PTOpenInControl control;
    control.setFileURLs({svg});
    PTSidebarSegmentedControl* segmented = control.segmentedControl();
    const PTStyledLabel* label = segmented->attributedLabelForSegment(0);
    ASSERT_NE(label, nullptr);
    const QString shown = label->fittedTo(label->width() - 10, segmented->labelElideMode()).string();
    // Whatever the font, the start of the name stays and its end goes.
    EXPECT_TRUE(shown.contains(QStringLiteral("Vector &"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("Studio"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("..."))) << shown.toStdString();
}
