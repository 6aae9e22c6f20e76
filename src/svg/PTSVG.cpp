#include "svg/PTSVG.h"

#include "svg/write/PTSVGExporter.h"

#include "platform/graphics/ImageSurface.h"
#include "platform/runtime/Logging.h"
#include "svg/render/PTSVGCATransaction.h"
#include "svg/PTSVGCache.h"
#include "svg/PTSVGDelegate.h"
#include "svg/render/PTSVGDirectRenderer.h"
#include "svg/PTSVGError.h"
#include "svg/render/PTSVGGroupLayer.h"
#include "svg/render/PTSVGImageLayer.h"
#include "svg/render/PTSVGLayerTree.h"
#include "svg/parse/PTSVGParser.h"
#include "svg/render/PTSVGShapeLayer.h"

#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo.h>

#include <cmath>

namespace {

cairo_status_t appendToByteArray(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<QByteArray*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

void setError(pt::Error* error, PTSVGError::Code code)
{
    if (error)
        *error = PTSVGError::make(code);
}

// The parser's calls, passed on to the document's delegate with the document in the parser's place.
PTSVGParser::FoundSubSVG forwardingTo(PTSVG& svg, PTSVGDelegate* delegate)
{
    if (!delegate)
        return {};
    return [&svg, delegate](const PTSVGParser&, const std::shared_ptr<PTSVGParser>& nested, const QString& text) {
        delegate->foundSubSVG(svg, nested, text);
    };
}

// cairo bounds an EPS by its ink; an exported EPS keeps the whole page, as its PDF does.
QByteArray withPageBoundingBox(const QByteArray& eps, const QSizeF& page)
{
    const QByteArray box = "0 0 " + QByteArray::number(int(std::ceil(page.width()))) + ' '
        + QByteArray::number(int(std::ceil(page.height())));
    QList<QByteArray> lines = eps.split('\n');
    for (QByteArray& line : lines) {
        if (line.startsWith("%%BoundingBox:") || line.startsWith("%%PageBoundingBox:"))
            line = line.left(line.indexOf(':') + 1) + ' ' + box;
    }
    return lines.join('\n');
}

bool isMaskContainer(const pt::Layer* layer)
{
    const auto* group = dynamic_cast<const PTSVGGroupLayer*>(layer);
    return group && group->maskRole() == PTSVGGroupLayer::MaskRole::Container;
}

} // namespace

PTSVG::~PTSVG() = default;

PTSVG::Result PTSVG::svgWithFile(const QString& path, bool useCache, PTSVGDelegate* delegate)
{
    if (useCache) {
        if (auto tree = PTSVGCache::cachedTreeForFile(path))
            return svgWithParsedTree(std::move(tree));
    }
    std::shared_ptr<PTSVG> svg(new PTSVG);
    auto parsed = PTSVGParser::groupForFileURL(path, forwardingTo(*svg, delegate));
    if (!parsed)
        return parsed.error();
    std::shared_ptr<const PTSVGParser> tree = std::move(parsed.value());
    if (useCache)
        PTSVGCache::cacheTree(tree, path);
    svg->setTree(std::move(tree));
    return svg;
}

std::shared_ptr<PTSVG> PTSVG::svgNamed(const QString& name, bool useCache, PTSVGDelegate* delegate, pt::Error* error)
{
    const QString fileName = QFileInfo(name).suffix().isEmpty() ? name + QStringLiteral(".svg") : name;
    const QString path = QStringLiteral(":/") + fileName;
    if (!QFileInfo::exists(path))
        return nullptr;
    auto result = svgWithFile(path, useCache, delegate);
    if (!result) {
        if (error)
            *error = result.error();
        return nullptr;
    }
    return result.value();
}

PTSVG::Result PTSVG::svgWithString(const QString& text, PTSVGDelegate* delegate)
{
    std::shared_ptr<PTSVG> svg(new PTSVG);
    auto parsed = PTSVGParser::groupForSVGString(text, forwardingTo(*svg, delegate));
    if (!parsed)
        return parsed.error();
    svg->setTree(std::move(parsed.value()));
    return svg;
}

std::shared_ptr<PTSVG> PTSVG::svgWithParsedTree(std::shared_ptr<const PTSVGParser> tree)
{
    if (!tree)
        return nullptr;
    std::shared_ptr<PTSVG> svg(new PTSVG);
    svg->setTree(std::move(tree));
    return svg;
}

std::shared_ptr<PTSVG> PTSVG::svgWithImage(const QImage& image)
{
    std::shared_ptr<pt::Layer> group;
    QRectF frame;
    PTSVGPerformInTransaction(
        [&] {
            group = std::make_shared<PTSVGGroupLayer>();
            auto imageLayer = std::make_shared<PTSVGImageLayer>(image);
            frame = imageLayer->frame();
            group->addSublayer(imageLayer);
        },
        false);
    return svgWithLayer(std::move(group), frame);
}

std::shared_ptr<PTSVG> PTSVG::svgWithLayer(std::shared_ptr<pt::Layer> layer, const QRectF& viewBox)
{
    std::shared_ptr<PTSVG> svg(new PTSVG);
    svg->layer_ = std::move(layer);
    svg->viewBox_ = viewBox;
    // Drawn at the view box's size, so that such a document draws like any other.
    svg->proposedSize_ = viewBox.size();
    return svg;
}

void PTSVG::setTree(std::shared_ptr<const PTSVGParser> tree)
{
    tree_ = std::move(tree);
    viewBox_ = tree_->viewBox();
    proposedSize_ = tree_->proposedViewSize();
}

QString PTSVG::identifier() const
{
    return tree_ ? tree_->identifier() : QString();
}

bool PTSVG::isFont() const
{
    return tree_ && tree_->isFont();
}

std::shared_ptr<pt::Layer> PTSVG::layer()
{
    if (layer_ || !tree_)
        return layer_;
    PTSVGLayerTree builder;
    builder.setViewBox(viewBox_);
    builder.setFillColor(fillColor_);
    builder.setStrokeColor(strokeColor_);
    builder.setStrokeWidth(strokeWidth_);
    builder.setLineCapStyle(lineCapStyle_);
    builder.setLineJoinStyle(lineJoinStyle_);
    builder.setReplacementColors(replacementColors_);
    PTSVGCATransactionBegin();
    layer_ = builder.layerForNode(*tree_);
    PTSVGCATransactionEnd();
    return layer_;
}

void PTSVG::discardDOM()
{
    layer();
    tree_.reset();
}

std::vector<QColor> PTSVG::visibleColors()
{
    const auto root = layer();
    if (!root)
        return {};
    QSet<QRgb> colors;
    PTSVGLayer::recursivelyWalkLayer(*root, [&](pt::Layer& layer, bool isMask) {
        const auto* shape = dynamic_cast<const PTSVGShapeLayer*>(&layer);
        if (isMask || !shape)
            return;
        for (const QColor& color : {shape->fillColor(), shape->strokeColor()}) {
            if (color.isValid() && color.alpha() != 0)
                colors.insert(color.rgba());
        }
    });
    std::vector<QColor> answer;
    for (QRgb rgba : colors)
        answer.push_back(QColor::fromRgba(rgba));
    return answer;
}

void PTSVG::setFillColor(const QColor& color)
{
    fillColor_ = color;
    dropLayerTree();
}

void PTSVG::setStrokeColor(const QColor& color)
{
    strokeColor_ = color;
    dropLayerTree();
}

void PTSVG::setStrokeWidth(double width)
{
    strokeWidth_ = width;
    dropLayerTree();
}

void PTSVG::setLineCapStyle(qint64 style)
{
    lineCapStyle_ = style;
    dropLayerTree();
}

void PTSVG::setLineJoinStyle(qint64 style)
{
    lineJoinStyle_ = style;
    dropLayerTree();
}

void PTSVG::replaceColor(const QColor& from, const QColor& to)
{
    replacementColors_.insert(from.toRgb().rgba(), to.toRgb());
    dropLayerTree();
}

void PTSVG::setReplacementColors(const QHash<QRgb, QColor>& colors)
{
    replacementColors_.clear();
    for (auto it = colors.begin(); it != colors.end(); ++it)
        replaceColor(QColor::fromRgba(it.key()), it.value());
}

void PTSVG::removeReplacementColor(const QColor& color)
{
    replacementColors_.remove(color.toRgb().rgba());
}

void PTSVG::removeAllReplacementColors()
{
    replacementColors_.clear();
}

void PTSVG::prepForDrawingInView(QWidget* view)
{
    if (!view) {
        backingScaleHelper_ = nullptr;
        return;
    }
    layer();
    QPointer<QWidget> guarded(view);
    backingScaleHelper_ = [guarded]() -> double { return guarded ? guarded->devicePixelRatioF() : 0.0; };
}

void PTSVG::applyBackingScale()
{
    if (!backingScaleHelper_ || !layer_)
        return;
    const double scale = std::max(1.0, backingScaleHelper_());
    if (scale == lastProposedBackingScale_)
        return;
    lastProposedBackingScale_ = scale;
    PTSVGLayer::recursivelyWalkLayer(*layer_, [scale](pt::Layer& layer, bool) {
        if (auto* state = dynamic_cast<PTSVGLayerState*>(&layer); state && state->requiresBackingScaleHelp())
            state->setBackingScaleFactor(scale);
    });
}

QRectF PTSVG::computeRectDrawingInRect(const QRectF& rect, bool* valid) const
{
    const QSizeF& p = proposedSize_;
    const QRectF& v = viewBox_;
    *valid = false;
    if (!(p.width() > 0) || !(p.height() > 0) || !(v.width() > 0) || !(v.height() > 0))
        return {};
    const double clipScale = std::min(rect.width() / p.width(), rect.height() / p.height());
    const QSizeF drawn = p * clipScale;
    if (!(drawn.width() > 0) || !(drawn.height() > 0))
        return {};
    const QPointF origin(std::round(rect.x() + (rect.width() - drawn.width()) * 0.5),
                         std::round(rect.y() + (rect.height() - drawn.height()) * 0.5));
    *valid = true;
    return QRectF(origin, drawn);
}

bool PTSVG::drawInRect(cairo_t* cr, const QRectF& rect, pt::Error* error)
{
    std::lock_guard guard(lock_);
    cairo_save(cr);
    const bool drawn = drawLocked(cr, rect, error);
    cairo_restore(cr);
    return drawn;
}

bool PTSVG::drawLocked(cairo_t* cr, const QRectF& rect, pt::Error* error)
{
    bool valid = false;
    const QRectF drawnRect = computeRectDrawingInRect(rect, &valid);
    if (!valid) {
        setError(error, PTSVGError::DrawFailed);
        return false;
    }
    clipScale_ = std::min(rect.width() / proposedSize_.width(), rect.height() / proposedSize_.height());
    scale_ = std::min(clipScale_ * proposedSize_.width() / viewBox_.width(),
                      clipScale_ * proposedSize_.height() / viewBox_.height());
    bool drawn = false;
    PTSVGCATransactionBegin();
    try {
        const auto root = layer();
        if (root) {
            if (clipToViewport_) {
                cairo_rectangle(cr, drawnRect.x(), drawnRect.y(), drawnRect.width(), drawnRect.height());
                cairo_clip(cr);
            }
            // The view box fits the drawn rectangle as the root's preserveAspectRatio says (centred by default);
            // whole-pixel offsets keep edges crisp.
            const PTSVGAspectRatio ratio = tree_ ? tree_->aspectRatio() : PTSVGAspectRatio();
            const QTransform fit = ratio.transform(viewBox_, QRectF(QPointF(), drawnRect.size()));
            cairo_translate(cr, drawnRect.x() + std::round(fit.dx()), drawnRect.y() + std::round(fit.dy()));
            cairo_scale(cr, fit.m11(), fit.m22());
            applyBackingScale();
            renderRoot(*root, cr, drawnRect);
            drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
        }
    } catch (const std::exception& exception) {
        qCWarning(lcSvg) << "drawing failed:" << exception.what();
    }
    PTSVGCATransactionEnd();
    if (!drawn)
        setError(error, PTSVGError::DrawFailed);
    return drawn;
}

double PTSVG::computeBackingScale(double scale)
{
    std::lock_guard lock(lock_);
    fixedBackingScale_ = scale > 0 && std::isfinite(scale) ? scale : 0;
    return scale_ * directBackingScale();
}

double PTSVG::directBackingScale() const
{
    // Unless fixed, the backing scale the layers draw at (1 without a helper), so masks get the destination's
    // pixels.
    return fixedBackingScale_ > 0 ? fixedBackingScale_ : std::max(1.0, lastProposedBackingScale_);
}

void PTSVG::renderRoot(pt::Layer& root, cairo_t* cr, const QRectF& drawnRect)
{
    if (renderingEngine_ == 1) {
        // A flattening transform on the root draws nothing, which is not a failure.
        if (root.geometryTransform().isInvertible()) {
            pt::applyTransform(cr, root.geometryTransform());
            root.renderInContext(cr);
        }
    } else if (renderingEngine_ == 0) {
        if (!directRenderer_)
            directRenderer_ = std::make_unique<PTSVGDirectRenderer>();
        directRenderer_->setScale(scale_);
        directRenderer_->setBackingScale(directBackingScale());
        directRenderer_->setViewPort(drawnRect);
        directRenderer_->renderLayer(&root, cr);
    }
}

QImage PTSVG::imageWithSize(QSize size, bool flipped, pt::Error* error)
{
    pt::ImageSurface surface(size);
    if (surface.isNull()) {
        setError(error, PTSVGError::DrawFailed);
        return {};
    }
    cairo_t* cr = cairo_create(surface.surface());
    if (flipped) {
        cairo_translate(cr, 0, size.height());
        cairo_scale(cr, 1, -1);
    }
    drawAtPoint(cr, QPointF(), QSizeF(size), error);
    cairo_destroy(cr);
    return surface.image();
}

QByteArray PTSVG::PDFData(pt::Error* error)
{
    return PDFDataWithRect(QRectF(QPointF(), viewBox_.size()), error);
}

QByteArray PTSVG::PDFDataWithRect(const QRectF& rect, pt::Error* error)
{
    return vectorData(VectorFormat::PDF, rect, error);
}

QByteArray PTSVG::EPSDataWithRect(const QRectF& rect, pt::Error* error)
{
    return vectorData(VectorFormat::EPS, rect, error);
}

QByteArray PTSVG::vectorData(VectorFormat format, const QRectF& rect, pt::Error* error)
{
    QByteArray data;
    cairo_surface_t* surface = nullptr;
    if (format == VectorFormat::PDF) {
        surface = cairo_pdf_surface_create_for_stream(appendToByteArray, &data, rect.width(), rect.height());
    } else {
        surface = cairo_ps_surface_create_for_stream(appendToByteArray, &data, rect.width(), rect.height());
        cairo_ps_surface_set_eps(surface, 1);
    }
    cairo_t* cr = cairo_create(surface);
    // The rectangle's origin is the page's.
    cairo_translate(cr, -rect.x(), -rect.y());
    {
        std::lock_guard guard(lock_);
        beginVectorDraw();
        drawInRect(cr, rect, error);
        endVectorDraw();
    }
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
    if (format == VectorFormat::EPS)
        data = withPageBoundingBox(data, rect.size());
    return data;
}

void PTSVG::beginVectorDraw()
{
    const auto root = layer();
    if (!root)
        return;
    // Mask containers become clips; a painted stroke keeps its stroke as a mask, which vector output can carry.
    PTSVGLayer::recursivelyWalkLayer(*root, [](pt::Layer& layer, bool) {
        auto* state = dynamic_cast<PTSVGLayerState*>(&layer);
        if (state && isMaskContainer(layer.mask().get()))
            state->setConvertMasksToPaths(true);
    });
}

void PTSVG::endVectorDraw()
{
    if (!layer_)
        return;
    PTSVGLayer::recursivelyWalkLayer(*layer_, [](pt::Layer& layer, bool) {
        if (auto* state = dynamic_cast<PTSVGLayerState*>(&layer))
            state->setConvertMasksToPaths(false);
    });
}

QString PTSVG::SVGStringWithOptions(std::uint32_t options)
{
    return PTSVGExporter(*this, viewBox_.size(), options).SVGString();
}
