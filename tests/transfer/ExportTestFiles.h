#pragma once

#include "transfer/export/PTExporter.h"

#include <QColor>
#include <QImage>
#include <QString>

namespace pt::test {

// Source files made for export tests inside a folder: real files in real formats.
QString writePNG(const QString& path, QSize size, const QColor& colour);
// An SVG whose view box is 0 0 w h, filled with the colour.
QString writeSVG(const QString& path, QSize size, const QColor& colour);
// A PDF whose first page is 40x20 points and red, the second 100x100 and green.
QString writeTwoPagePDF(const QString& path);
// Runs a command line tool; fails the test when it does not exit with 0. Answers its standard output.
QByteArray runTool(const QString& program, const QStringList& arguments);

// Runs the exporter to the end (on the main queue when asynchronous).
PTExporter::Result runExport(PTExporter& exporter);

} // namespace pt::test
