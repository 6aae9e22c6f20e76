#include "ImportTestSupport.h"

#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>

namespace pt::test {

void ImportTest::SetUp()
{
    LibraryTest::SetUp();
    PTLibraryShell::install(shell);
}

void ImportTest::TearDown()
{
    importer.reset();
    PTLibraryShell::install(nullptr);
    LibraryTest::TearDown();
}

PTImporter2::Result ImportTest::importAndWait(store::ManagedObject* target, const QStringList& paths,
                                              PTImportOptions options, std::function<void(qint64)> progress)
{
    PTImporter2::Result result;
    bool done = false;
    importer = PTImporter2::create(target, paths, options);
    importer->setCompletionHandler([&](const PTImporter2::Result& r) {
        result = r;
        done = true;
    });
    if (progress)
        importer->setProgressHandler(progress);
    importer->begin();
    EXPECT_TRUE(runMainQueueUntil([&] { return done; }, 60000));
    saveAndWait();
    return result;
}

PTGroup* ImportTest::makeGroup(const QString& name)
{
    PTGroup* group = PTGroup::insert(context());
    group->setName(name);
    return group;
}

QString ImportTest::source(const QString& relative, const QByteArray& bytes)
{
    const QString path = sources.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (bytes.isEmpty()) {
        EXPECT_TRUE(QFile::copy(themeIcon(), path)) << path.toStdString();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    } else {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    return path;
}

QStringList ImportTest::filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

bool ImportTest::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString ImportTest::writePng(const QString& path, QSize size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    EXPECT_TRUE(image.save(path));
    return path;
}

} // namespace pt::test

#include <QWidget>

namespace pt::test {

QImage writeScreenshot(QWidget* widget, const QString& name)
{
    if (!writeScreenshot(widget->grab().toImage(), name))
        return {};
    return QImage(QDir(QStringLiteral(PICTERN_SCREENSHOT_DIR)).filePath(name + QStringLiteral(".png")));
}

ControlLook controlLook(const QImage& windowPicture, const QWidget* control)
{
    const qreal ratio = windowPicture.devicePixelRatio();
    const QRect area(control->mapTo(control->window(), QPoint(0, 0)) * ratio, control->size() * ratio);
    ControlLook look{windowPicture.pixelColor(area.left() + int(3 * ratio), area.center().y()), {}};
    int contrast = -1;
    for (int y = area.top() + area.height() / 4; y < area.bottom() - area.height() / 4; ++y)
        for (int x = area.left() + area.width() / 4; x < area.right() - area.width() / 4; ++x) {
            const QColor pixel = windowPicture.pixelColor(x, y);
            if (std::abs(pixel.lightness() - look.face.lightness()) > contrast) {
                contrast = std::abs(pixel.lightness() - look.face.lightness());
                look.ink = pixel;
            }
        }
    return look;
}

} // namespace pt::test
