#pragma once

#include "platform/runtime/Error.h"
#include "svg/model/PTSVGGroup.h"

#include <QByteArray>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <memory>
#include <vector>

class PTSVGPath;
class PTSVGXmlNode;
struct PTSVGParseBudget;

// The root of a parsed SVG document's node tree, with the document's view box and proposed size, the glyphs of
// an SVG font and the documents of nested svg elements. Failures are errors in "PTSVGErrorDomain".
class PTSVGParser : public PTSVGGroup {
public:
    // Told about each nested svg element that parsed: this parser, the nested document and its XML text.
    using FoundSubSVG = std::function<void(const PTSVGParser& parser, const std::shared_ptr<PTSVGParser>& nested,
                                           const QString& svgString)>;
    using Result = pt::Result<std::shared_ptr<PTSVGParser>>;

    // Largest file read, so that a stray huge file fails early instead of exhausting memory.
    static constexpr qint64 MaximumFileSize = 64 * 1024 * 1024;

    // Reads and parses a file (code 0 when it cannot be read).
    static Result groupForFileURL(const QString& path, const FoundSubSVG& foundSubSVG = {});
    // Parses raw bytes; the encoding comes from the XML declaration.
    static Result groupForSVGData(const QByteArray& data, const FoundSubSVG& foundSubSVG = {});
    static Result groupForSVGString(const QString& text, const FoundSubSVG& foundSubSVG = {});
    // Parses the root element of an XML tree. A nested document passes its parent's view box size as the
    // viewport its missing or percentage sizes refer to, and the parse budget it shares with its parent.
    static Result groupForElement(const PTSVGXmlNode& root, const FoundSubSVG& foundSubSVG,
                                  const QSizeF* parentViewport = nullptr, PTSVGParseBudget* budget = nullptr);

    QRectF viewBox() const { return viewBox_; }
    QSizeF proposedViewSize() const { return proposedViewSize_; }
    QSizeF size() const { return viewBox_.size(); }
    bool isFont() const { return !glyphs_.empty(); }
    // The glyphs of an SVG font, in document order.
    const std::vector<std::shared_ptr<PTSVGPath>>& glyphs() const { return glyphs_; }
    // The documents of nested svg elements, in document order.
    const std::vector<std::shared_ptr<PTSVGParser>>& subSVGs() const { return subSVGs_; }
    // Recursive: each nested document followed by the documents nested in it, depth first; else as above.
    std::vector<std::shared_ptr<PTSVGParser>> subSVGs(bool recursive) const;

private:
    friend class PTSVGTreeBuilder;

    QRectF viewBox_;
    QSizeF proposedViewSize_;
    std::vector<std::shared_ptr<PTSVGPath>> glyphs_;
    std::vector<std::shared_ptr<PTSVGParser>> subSVGs_;
    // Groups that referenced elements were parsed into; their nodes point at them as parents.
    std::vector<std::shared_ptr<PTSVGGroup>> definedGroups_;
};
