#pragma once

#include "library/controllers/PTReplacementImport.h"

// Replacing an item's file from a file, over the importer: the file comes into the item's set as a new item, and
// a file no icon could be made of (unreadable, refused, or of no type the importer takes) is listed on the
// "File Issues" sheet on the main window.
class PTReplacementImporter : public PTReplacementImport {
public:
    void importPaths(const QStringList& paths, PTCollection* set, quint64 options, Completion completion) override;
    void presentCorruptImages(const QVector<Unreadable>& files) override;
    void purgeImagesOfItem(PTItem* item) override;
};
