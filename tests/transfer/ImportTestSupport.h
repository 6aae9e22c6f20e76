#pragma once

#include "FakeLibraryShell.h"
#include "LibraryTestSupport.h"
#include "library/entities/PTGroup.h"
#include "transfer/import/PTImporter2.h"

#include <QImage>
#include <QSize>
#include <QTemporaryDir>

namespace pt::test {

// A library with a fake shell, a folder of source files and the means to run an import to its end.
class ImportTest : public LibraryTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the import and waits for its completion; `progress` runs on each progress report.
    PTImporter2::Result importAndWait(store::ManagedObject* target, const QStringList& paths, PTImportOptions options,
                                      std::function<void(qint64)> progress = nullptr);
    PTGroup* makeGroup(const QString& name);
    // A file in the source folder (folders made on the way) holding the bytes, or a copy of the theme icon.
    QString source(const QString& relative, const QByteArray& bytes = {});
    QString sourcePath(const QString& relative) const { return sources.filePath(relative); }
    // Every file below the library folder and the system temporary folder.
    static QStringList filesBelow(const QString& folder);
    static bool run(const QString& program, const QStringList& arguments);
    static QString writePng(const QString& path, QSize size);

    std::shared_ptr<FakeLibraryShell> shell = std::make_shared<FakeLibraryShell>();
    QTemporaryDir sources;
    std::shared_ptr<PTImporter2> importer;
};

} // namespace pt::test

class QWidget;
namespace pt::test {
// Writes the widget's picture to build/screenshots/<name>.png, whole or not at all; answers the picture read
// back (null when it could not be written).
QImage writeScreenshot(QWidget* widget, const QString& name);

// How a control shows in the picture of its window: its face, sampled near its left end at mid-height, and the
// pixel of its middle half that stands out most from the face, the ink of its title.
struct ControlLook {
    QColor face;
    QColor ink;
};
ControlLook controlLook(const QImage& windowPicture, const QWidget* control);
} // namespace pt::test
