#pragma once

#include <QFont>
#include <QString>

// The chevron that separates a label from what it leads to ("Export ⟩ Pictern", "Group ⟩ Set"). The interface
// writes U+27E9; many fonts draw that as a tall thin bracket that reads as a closing parenthesis, so where the
// drawing font's glyph is not chevron-shaped the text shows U+203A instead, which such fonts draw as a chevron.
class PTChevron {
public:
    static constexpr char16_t Angle = u'\u27E9';
    static constexpr char16_t Guillemet = u'\u203A';

    // The chevron character to draw in this font.
    static QChar forFont(const QFont& font);
    // The text with every U+27E9 replaced by the chevron drawn in this font.
    static QString legible(const QString& text, const QFont& font);
};
