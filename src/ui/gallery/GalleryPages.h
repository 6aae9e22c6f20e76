#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

// The pages of the interface kit's gallery, each built fresh in the current theme, and the screenshots made from
// them.
namespace GalleryPages {

struct Page {
    QString name;  // file-name stem of its screenshot
    QString title; // the tab title
    std::function<QWidget*()> build;
};

// A Papirus action icon drawn at a size in pixels; null when the icon theme is missing.
QImage papirusActionIcon(const QString& name, int size = 12);

// The pages that show still widgets (the ones screenshots are made of).
std::vector<Page> stillPages();
// Writes "<name>-light.png" and "<name>-dark.png" of every still page into the folder; answers the files
// written. The theme is set by hand while it runs and put back afterwards.
QStringList writeScreenshots(const QString& folder);

} // namespace GalleryPages
