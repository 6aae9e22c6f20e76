#pragma once

#include "platform/runtime/Error.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QRectF>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

typedef struct _cairo cairo_t;
namespace pt {
class Layer;
}
class PTSVGDelegate;
class PTSVGDirectRenderer;
class PTSVGParser;
class QWidget;

// An SVG document as the application uses it: made from a file (whose parsed tree the document cache shares),
// from SVG text, from an image or from a ready layer tree; drawn fitted and centred into a rectangle of a cairo
// context, into an image, PDF or EPS; recoloured through overrides and replacement colours that its layer tree
// applies. One coordinate convention throughout: y grows downwards, in images, PDF, EPS and views alike.
//
// Threads: a document belongs to one thread at a time, except that drawing holds the document's own lock, so
// two threads never draw one document at once. The parsed tree is immutable and may be shared.
class PTSVG {
public:
    using Result = pt::Result<std::shared_ptr<PTSVG>>;
    using BackingScaleHelper = std::function<double()>;

    // A file; with useCache the parsed tree comes from (and goes into) the document cache. Parse errors are the
    // parser's (codes 0, 1, 2, 4 of "PTSVGErrorDomain").
    static Result svgWithFile(const QString& path, bool useCache = true, PTSVGDelegate* delegate = nullptr);
    // A resource of the application (":/<name>", "svg" added when the name has no extension); null when missing.
    static std::shared_ptr<PTSVG> svgNamed(const QString& name, bool useCache = true, PTSVGDelegate* delegate = nullptr,
                                           pt::Error* error = nullptr);
    // SVG text; never cached.
    static Result svgWithString(const QString& text, PTSVGDelegate* delegate = nullptr);
    // An already parsed tree, shared with whoever else holds it.
    static std::shared_ptr<PTSVG> svgWithParsedTree(std::shared_ptr<const PTSVGParser> tree);
    // A raster image as the document's only layer; the view box is the image's pixel rectangle.
    static std::shared_ptr<PTSVG> svgWithImage(const QImage& image);
    // A ready layer tree with the given view box (proposed size zero).
    static std::shared_ptr<PTSVG> svgWithLayer(std::shared_ptr<pt::Layer> layer, const QRectF& viewBox);

    PTSVG(const PTSVG&) = delete;
    PTSVG& operator=(const PTSVG&) = delete;
    ~PTSVG();

    QRectF viewBox() const { return viewBox_; }
    QSizeF proposedSize() const { return proposedSize_; }
    // The parsed tree; null for documents made from an image or a layer, or after discardDOM().
    const std::shared_ptr<const PTSVGParser>& rootNode() const { return tree_; }
    QString identifier() const;
    bool isFont() const;

    // The layer tree, built with the current overrides on first use.
    std::shared_ptr<pt::Layer> layer();
    // Builds the layer tree if needed, then lets go of the parsed tree.
    void discardDOM();
    // The distinct fill and stroke colours of the drawn paths (masks excluded, fully transparent ones too),
    // overrides and replacements applied; in no particular order.
    std::vector<QColor> visibleColors();

    // Overrides of the whole document; each change drops the layer tree, so the next use rebuilds it.
    QColor fillColor() const { return fillColor_; }
    void setFillColor(const QColor& color);
    QColor strokeColor() const { return strokeColor_; }
    void setStrokeColor(const QColor& color);
    double strokeWidth() const { return strokeWidth_; }
    void setStrokeWidth(double width);
    // Node numbering: 1 butt, 2 round, 3 square; 0 none.
    qint64 lineCapStyle() const { return lineCapStyle_; }
    void setLineCapStyle(qint64 style);
    // Node numbering: 1 miter, 2 round, 3 bevel; 0 none.
    qint64 lineJoinStyle() const { return lineJoinStyle_; }
    void setLineJoinStyle(qint64 style);
    // Draws the colour `to` wherever a path is painted `from` (compared as RGBA); drops the layer tree.
    void replaceColor(const QColor& from, const QColor& to);
    // Replaces the whole map, entry by entry; an empty map leaves an existing layer tree as it is.
    void setReplacementColors(const QHash<QRgb, QColor>& colors);
    // Neither drops the layer tree.
    void removeReplacementColor(const QColor& color);
    void removeAllReplacementColors();
    const QHash<QRgb, QColor>& replacementColors() const { return replacementColors_; }

    bool clipToViewport() const { return clipToViewport_; }
    void setClipToViewport(bool clip) { clipToViewport_ = clip; }
    // 1 (the default): the layer tree draws itself; 0: the direct renderer walks it, drawing plain shapes only
    // (PTSVGDirectRenderer); any other value draws nothing.
    int renderingEngine() const { return renderingEngine_; }
    void setRenderingEngine(int engine) { renderingEngine_ = engine; }
    // Asked for the backing scale of raster parts at each drawing; answers 1 by default.
    void setRenderingBackingScaleHelper(BackingScaleHelper helper) { backingScaleHelper_ = std::move(helper); }
    // Follows the widget's screen for the backing scale (1 while it has none); null removes the helper.
    void prepForDrawingInView(QWidget* view);
    // Fixes the backing scale at which the direct renderer draws its mask bitmaps; 0 (also for a negative or
    // undefined value) returns to the helper's. Answers the bitmap pixels per view-box unit of the last drawing.
    double computeBackingScale(double scale);

    // The rectangle the document is drawn in when fitted into rect: aspect kept, centred, origin rounded to
    // whole numbers. Invalid (empty view box or size, empty target) gives the zero rectangle and valid false.
    QRectF computeRectDrawingInRect(const QRectF& rect, bool* valid) const;
    // Scale from view-box units to drawing units of the last drawing.
    double scale() const { return scale_; }
    // Scale from the proposed size to the drawn size of the last drawing.
    double clipScale() const { return clipScale_; }

    // Draws the document fitted into rect. False with error 3 when the fit is invalid or drawing failed; the
    // context's state is as before either way.
    bool drawInRect(cairo_t* cr, const QRectF& rect, pt::Error* error = nullptr);
    bool drawAtPoint(cairo_t* cr, QPointF point, QSizeF size, pt::Error* error = nullptr)
    {
        return drawInRect(cr, QRectF(point, size), error);
    }
    // A new image of that many pixels with the document fitted into it (mirrored top to bottom when flipped);
    // answered even when drawing failed. The image shares its pixels with the cairo surface drawn into.
    QImage imageWithSize(QSize size, bool flipped = false, pt::Error* error = nullptr);
    // One PDF page whose media box is the rectangle's size (fractions kept), the document drawn into it with
    // masks as clip paths so the page stays vector. PDFData() uses the view box's size.
    QByteArray PDFData(pt::Error* error = nullptr);
    QByteArray PDFDataWithRect(const QRectF& rect, pt::Error* error = nullptr);
    // Encapsulated PostScript of the same drawing ("%!PS-Adobe-3.0 EPSF-3.0"), masks as clip paths.
    QByteArray EPSDataWithRect(const QRectF& rect, pt::Error* error = nullptr);

    // The document written back out as SVG text at its view box size (PTSVGExporter, PTSVGExportOptions bits).
    QString SVGStringWithOptions(std::uint32_t options);

    // Mask conversion on every layer around vector drawing.
    void beginVectorDraw();
    void endVectorDraw();

private:
    PTSVG() = default;
    void setTree(std::shared_ptr<const PTSVGParser> tree);
    void dropLayerTree() { layer_.reset(); }
    void applyBackingScale();
    double directBackingScale() const;
    bool drawLocked(cairo_t* cr, const QRectF& rect, pt::Error* error);
    void renderRoot(pt::Layer& root, cairo_t* cr, const QRectF& drawnRect);
    enum class VectorFormat { PDF, EPS };
    QByteArray vectorData(VectorFormat format, const QRectF& rect, pt::Error* error);

    std::shared_ptr<const PTSVGParser> tree_;
    double scale_ = 0;
    double clipScale_ = 0;
    std::shared_ptr<pt::Layer> layer_;
    QRectF viewBox_;
    QSizeF proposedSize_;
    double lastProposedBackingScale_ = 0;
    double fixedBackingScale_ = 0;
    QHash<QRgb, QColor> replacementColors_;
    bool clipToViewport_ = true;
    QColor fillColor_;
    QColor strokeColor_;
    double strokeWidth_ = 0;
    qint64 lineCapStyle_ = 0;
    qint64 lineJoinStyle_ = 0;
    BackingScaleHelper backingScaleHelper_ = [] { return 1.0; };
    int renderingEngine_ = 1;
    std::unique_ptr<PTSVGDirectRenderer> directRenderer_;
    std::recursive_mutex lock_;
};
