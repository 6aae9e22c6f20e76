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
// A PNG of one colour made row by row, so that a picture of any size costs next to no memory or time to make.
QByteArray oneColourPNG(QSize size, const QColor& colour);
// An ICO file of the PNG pictures, in order; its directory gives a side of 256 or more as 0, as the format does.
QByteArray icoOfPNGs(const QList<QByteArray>& pngs);
void writeFile(const QString& path, const QByteArray& bytes);
// Runs a command line tool; fails the test when it does not exit with 0. Answers its standard output.
QByteArray runTool(const QString& program, const QStringList& arguments);

// Runs the exporter to the end (on the main queue when asynchronous).
PTExporter::Result runExport(PTExporter& exporter);

} // namespace pt::test
