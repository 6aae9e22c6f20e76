#pragma once

#include "library/ImportTyping.h"

#include <QString>
#include <QVector>

#include <optional>

// Splits one file into the files its items are made from: an SVG sprite sheet into its nested documents and
// its symbols (and itself, when it is a document of its own), an SVG or OTF/TTF font into one document per glyph (not itself), an ICNS or ICO file into itself and
// one PNG per image. Written files go into the given folder, which belongs to this expansion alone.
class PTImportExpansion {
public:
    struct Entry {
        QString path;
        // Each overrides what the file itself would give.
        std::optional<QString> name;
        QString unicode;
        QString tags;
        // Written by the expansion: removed once its item is made.
        bool temporary = false;
    };

    // The entries in order; none for a type that does not expand, or for an SVG (sprite sheets expanded) that
    // does not parse and holds no part that does.
    static QVector<Entry> expand(const QString& path, PTImportFileType type, const QString& folder);

private:
    static QVector<Entry> expandSVG(const QString& path, const QString& folder);
    static QVector<Entry> expandFont(const QString& path, const QString& folder);
    static QVector<Entry> expandBitmapRepresentations(const QString& path, PTImportFileType type,
                                                       const QString& folder);
};
