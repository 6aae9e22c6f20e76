#pragma once

#include "svg/model/PTSVGBezierPath.h"

#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class PTSVG;
class PTSVGPath;
typedef struct FT_FaceRec_* FT_Face;
typedef struct FT_LibraryRec_* FT_Library;

// Splits an icon font (OTF, TTF) into one document per covered character. Keys are the code point in lower-case
// hexadecimal with at least four digits ("0041", "1f300"). Outlines are read unscaled and scaled to a 30-unit em
// in double precision, quadratic segments kept quadratic, flipped to y-down. A file that is not a readable font
// yields nothing.
class PTSVGFontConverter {
public:
    using Block = std::function<void(const QString& key, const std::shared_ptr<PTSVG>& svg)>;
    static constexpr double EmSize = 30.0;

    explicit PTSVGFontConverter(const QString& fontPath);
    ~PTSVGFontConverter();
    PTSVGFontConverter(const PTSVGFontConverter&) = delete;
    PTSVGFontConverter& operator=(const PTSVGFontConverter&) = delete;

    bool isValid() const { return face_ != nullptr; }
    // The covered code points in order, from the Unicode character map (the symbol map for symbol fonts).
    std::vector<char32_t> allCharacters() const;
    // Reads the glyph outlines on the first call and keeps them; then one document per key, in code-point order.
    void enumerate(const Block& block);

    static QString keyForCodePoint(char32_t codePoint);
    // A document of one black path whose view box is the path's bounding box.
    static std::shared_ptr<PTSVG> convertPathToSVG(const PTSVGBezierPath& path);
    // A glyph of an SVG font, flipped to y-down.
    static std::shared_ptr<PTSVG> convertPTSVGPathToSVG(const PTSVGPath& glyph);

private:
    void generateMap();

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    bool mapped_ = false;
    std::vector<std::pair<QString, PTSVGBezierPath>> map_;
};
