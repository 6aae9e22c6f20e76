#include "svg/write/PTSVGFontConverter.h"

#include "platform/runtime/Logging.h"
#include "svg/PTSVG.h"
#include "svg/render/PTSVGCATransaction.h"
#include "svg/render/PTSVGGroupLayer.h"
#include "svg/model/PTSVGPath.h"
#include "svg/render/PTSVGShapeLayer.h"

#include <QFile>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>

namespace {

struct Decomposer {
    PTSVGBezierPath path;
    double scale;
    bool open = false;

    QPointF point(const FT_Vector* vector) const
    {
        // Font units are y-up; documents are y-down.
        return QPointF(double(vector->x) * scale, -double(vector->y) * scale);
    }
};

Decomposer& decomposer(void* user)
{
    return *static_cast<Decomposer*>(user);
}

int moveTo(const FT_Vector* to, void* user)
{
    Decomposer& d = decomposer(user);
    if (d.open)
        d.path.close();
    d.path.moveTo(d.point(to));
    d.open = true;
    return 0;
}

int lineTo(const FT_Vector* to, void* user)
{
    decomposer(user).path.lineTo(decomposer(user).point(to));
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    Decomposer& d = decomposer(user);
    d.path.quadTo(d.point(control), d.point(to));
    return 0;
}

int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
{
    Decomposer& d = decomposer(user);
    d.path.curveTo(d.point(control1), d.point(control2), d.point(to));
    return 0;
}

QRectF integralRect(const QRectF& rect)
{
    const double left = std::floor(rect.left()), top = std::floor(rect.top());
    return QRectF(left, top, std::ceil(rect.right()) - left, std::ceil(rect.bottom()) - top);
}

} // namespace

PTSVGFontConverter::PTSVGFontConverter(const QString& fontPath)
{
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        return;
    }
    if (FT_New_Face(library_, QFile::encodeName(fontPath).constData(), 0, &face_) != 0 || !FT_IS_SCALABLE(face_)) {
        if (face_)
            FT_Done_Face(face_);
        face_ = nullptr;
        qCWarning(lcSvg) << "not a readable font:" << fontPath;
        return;
    }
    if (FT_Select_Charmap(face_, FT_ENCODING_UNICODE) != 0)
        FT_Select_Charmap(face_, FT_ENCODING_MS_SYMBOL);
}

PTSVGFontConverter::~PTSVGFontConverter()
{
    if (face_)
        FT_Done_Face(face_);
    if (library_)
        FT_Done_FreeType(library_);
}

std::vector<char32_t> PTSVGFontConverter::allCharacters() const
{
    std::vector<char32_t> characters;
    if (!face_ || !face_->charmap)
        return characters;
    FT_UInt glyph = 0;
    for (FT_ULong code = FT_Get_First_Char(face_, &glyph); glyph != 0; code = FT_Get_Next_Char(face_, code, &glyph)) {
        if (code <= 0x10FFFF)
            characters.push_back(char32_t(code));
    }
    std::sort(characters.begin(), characters.end());
    return characters;
}

QString PTSVGFontConverter::keyForCodePoint(char32_t codePoint)
{
    return QStringLiteral("%1").arg(uint(codePoint), 4, 16, QLatin1Char('0'));
}

void PTSVGFontConverter::generateMap()
{
    mapped_ = true;
    if (!face_)
        return;
    const double scale = EmSize / double(face_->units_per_EM ? face_->units_per_EM : 1000);
    const FT_Outline_Funcs functions{moveTo, lineTo, conicTo, cubicTo, 0, 0};
    for (const char32_t character : allCharacters()) {
        const FT_UInt glyph = FT_Get_Char_Index(face_, character);
        if (glyph == 0 || FT_Load_Glyph(face_, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            continue;
        if (face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE || face_->glyph->outline.n_contours <= 0)
            continue;
        Decomposer decomposed{{}, scale};
        if (FT_Outline_Decompose(&face_->glyph->outline, &functions, &decomposed) != 0)
            continue;
        if (decomposed.open)
            decomposed.path.close();
        map_.emplace_back(keyForCodePoint(character), std::move(decomposed.path));
    }
}

void PTSVGFontConverter::enumerate(const Block& block)
{
    if (!mapped_)
        generateMap();
    for (const auto& [key, path] : map_)
        block(key, convertPathToSVG(path));
}

std::shared_ptr<PTSVG> PTSVGFontConverter::convertPathToSVG(const PTSVGBezierPath& path)
{
    std::shared_ptr<PTSVG> svg;
    PTSVGPerformInTransaction(
        [&] {
            auto group = std::make_shared<PTSVGGroupLayer>();
            auto shape = std::make_shared<PTSVGShapeLayer>();
            shape->setFillColor(Qt::black);
            // As the layer tree places paths: the layer at the path's whole-number box, the path inside it.
            const QRectF box = integralRect(path.bounds());
            auto moved = std::make_shared<PTSVGBezierPath>(path);
            moved->transform(QTransform::fromTranslate(-box.x(), -box.y()));
            shape->setOriginalPathOrigin(box.topLeft());
            shape->setPath(std::move(moved));
            shape->setFrame(box);
            group->addSublayer(shape);
            svg = PTSVG::svgWithLayer(group, path.bounds());
        },
        false);
    return svg;
}

std::shared_ptr<PTSVG> PTSVGFontConverter::convertPTSVGPathToSVG(const PTSVGPath& glyph)
{
    PTSVGBezierPath flipped = glyph.path();
    flipped.transform(QTransform::fromScale(1, -1));
    return convertPathToSVG(flipped);
}
