#pragma once

#include <QString>
#include <QVector>

// The `symbol` elements of an SVG file (the usual web sprite sheet) as documents of their own: each symbol's
// content under an `svg` root sized by the symbol's view box, with the sheet's definitions and style sheets
// carried along so that gradients, clips and classes still resolve.
class PTImportSymbolSheet {
public:
    struct Symbol {
        // The symbol's id; empty when it has none.
        QString identifier;
        QString svgText;
    };

    // What all the symbols' documents of one file may add up to, in characters.
    static constexpr qint64 MaximumTextSize = 256 * 1024 * 1024;

    // In document order; none for a file that is not XML or holds no symbol.
    static QVector<Symbol> symbols(const QString& path);
};
