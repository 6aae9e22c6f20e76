#include "ScenarioTest.h"

#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>

#include <optional>

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replacing an icon's file from a file, in the running application: the import the library's replacement runs
// through is the application's own.
class ReplaceFromFileScenario : public ScenarioTest {
protected:
    // Runs the replacement and answers what its completion was told; nothing when it never came.
    static std::optional<bool> replace(PTItem* item, const QString& path)
    {
        std::optional<bool> answer;
        PTCollectionController::sharedController().replaceItem(item, path,
                                                               [&answer](bool replaced) { answer = replaced; });
        EXPECT_TRUE(waitFor([&answer] { return answer.has_value(); }, 30000)) << "the replacement never ended";
        return answer;
    }
    QString source(const QString& name, const QByteArray& bytes) const
    {
        QFile file(sources.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    // The file name the store on disk holds for the item.
    static QString fileNameOnDisk(const PTItem* item)
    {
        return storeColumnOnDisk(
                   QStringLiteral("SELECT newFileName FROM PTItem WHERE pk = %1").arg(item->objectID().primaryKey()))
            .value(0);
    }
    static QStringList filesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files); }

    QTemporaryDir sources;
};

// An icon takes the picture of a PNG file, on disk and in the store; a file no icon can be made of is listed on
// "File Issues" with the reason, and the icon keeps its picture.
TEST_F(ReplaceFromFileScenario, AnIconTakesAPictureAndARefusedFileIsListed)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Replaced"));
    const QStringList shapes{QStringLiteral("Circle"), QStringLiteral("Square"), QStringLiteral("Triangle")};
    PTItem* circle = gridItem(QStringLiteral("Circle"));
    ASSERT_NE(circle, nullptr);
    const QString oldFile = circle->fileURL().toLocalFile();
    const QString folder = circle->collection()->formattedDirectory();
    QImage picture(24, 16, QImage::Format_ARGB32);
    picture.fill(Qt::darkCyan);
    const QString png = sources.filePath(QStringLiteral("disc.png"));
    ASSERT_TRUE(picture.save(png));

    EXPECT_EQ(replace(circle, png), true);
    EXPECT_EQ(circle->type(), PTItem::PNG);
    EXPECT_EQ(QSize(circle->width(), circle->height()), QSize(24, 16));
    const QString newFile = circle->fileURL().toLocalFile();
    EXPECT_EQ(QFileInfo(newFile).suffix(), QStringLiteral("png"));
    EXPECT_EQ(contentsOf(newFile), contentsOf(png));
    EXPECT_TRUE(waitFor([&] { return fileNameOnDisk(circle) == QFileInfo(newFile).fileName(); }))
        << "the store names " << fileNameOnDisk(circle).toStdString();
    EXPECT_TRUE(waitFor([&] { return !QFileInfo::exists(oldFile); })) << "the old picture stayed";
    // One file per icon: the import's own item went with its file.
    EXPECT_EQ(filesIn(folder).size(), 3) << filesIn(folder).join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(waitFor([&] { return gridItemNames() == shapes; }))
        << gridItemNames().join(QStringLiteral(", ")).toStdString();

    const struct {
        const char* name;
        QByteArray bytes;
    } refused[] = {{"broken.png", "not a picture at all"}, {"notes.txt", "a note, not an icon"}};
    for (const auto& file : refused) {
        SCOPED_TRACE(file.name);
        const QString name = QString::fromLatin1(file.name);
        QStringList listed;
        answerNextModal([&listed](QWidget* sheet) {
            for (const QListWidget* list : sheet->findChildren<QListWidget*>()) {
                for (int i = 0; i < list->count(); ++i)
                    listed << list->item(i)->text();
            }
            clickButton(sheet, QStringLiteral("Close"));
        });
        const qsizetype asked = modals.size();

        EXPECT_EQ(replace(circle, source(name, file.bytes)), false);

        ASSERT_EQ(modals.size(), asked + 1) << "the user was told nothing";
        EXPECT_EQ(modals.last(), QStringLiteral("File Issues"));
        ASSERT_EQ(listed.size(), 1);
        const QString lead = name + QString::fromUtf8(" — ");
        EXPECT_TRUE(listed.first().startsWith(lead) && listed.first().size() > lead.size())
            << "not listed with a reason: " << listed.first().toStdString();
        EXPECT_EQ(circle->fileURL().toLocalFile(), newFile);
        EXPECT_EQ(contentsOf(newFile), contentsOf(png));
        EXPECT_EQ(fileNameOnDisk(circle), QFileInfo(newFile).fileName());
        EXPECT_EQ(filesIn(folder).size(), 3) << filesIn(folder).join(QStringLiteral(", ")).toStdString();
    }
    EXPECT_TRUE(waitFor([&] { return gridItemNames() == shapes; }))
        << gridItemNames().join(QStringLiteral(", ")).toStdString();
}

} // namespace
