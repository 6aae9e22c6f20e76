#include "svg/parse/PTSVGAttributeReader.h"

#include "svg/model/PTSVGColor.h"
#include "svg/model/PTSVGGradient.h"
#include "svg/model/PTSVGPattern.h"
#include "svg/parse/PTSVGStyleSheet.h"
#include "svg/parse/PTSVGTreeBuilder.h"
#include "svg/PTSVGUtils.h"
#include "svg/dom/PTSVGXmlNode.h"

#include <algorithm>

namespace {

// "inherit" on a length that the node model resolves through the parent: that default, marked to defer.
PTSVGNode::Length inheriting(double value)
{
    PTSVGUnitLength length(value);
    length.setInherit(true);
    return length;
}

} // namespace

PTSVGAttributeReader::PTSVGAttributeReader(PTSVGTreeBuilder& builder, const PTSVGXmlNode& element, PTSVGNode& node,
                                           std::initializer_list<QStringView> ignore)
    : builder_(builder), element_(element), node_(node), ignore_(ignore)
{
}

const QString* PTSVGAttributeReader::value(QStringView name) const
{
    if (std::find(ignore_.begin(), ignore_.end(), name) != ignore_.end())
        return nullptr;
    const QString* text = style_.isEmpty() ? nullptr : style_.property(name);
    if (!text)
        text = element_.attribute(name);
    return text && !text->isEmpty() ? text : nullptr;
}

void PTSVGAttributeReader::apply()
{
    // id, class and style come from the XML attributes only: the style does not exist yet.
    if (const QString* id = value(u"id")) {
        node_.setIdentifier(*id);
        builder_.recordIdElement(*id, element_);
    }
    if (const QString* className = value(u"class"))
        node_.setClassName(*className);
    const PTSVGStyleSheet* sheet = builder_.styleSheet();
    const PTSVGStyle sheetStyle = sheet ? sheet->styleForNode(node_) : PTSVGStyle();
    if (const QString* style = value(u"style"))
        style_ = PTSVGStyle::parseStyleString(*style);
    if (!sheetStyle.isEmpty())
        style_ = sheetStyle.mergedStyle(style_);

    readLengths();
    readReferences();
    if (const QString* units = value(u"gradientUnits"))
        node_.setUnits(PTSVGUtils::unitTypeForString(*units));
    for (const QStringView name : {QStringView(u"maskUnits"), QStringView(u"patternUnits"), QStringView(u"clipPathUnits")}) {
        if (const QString* units = value(name))
            node_.setUnits(PTSVGUtils::unitTypeForString(*units));
    }
    for (const QStringView name : {QStringView(u"maskContentUnits"), QStringView(u"patternContentUnits")}) {
        if (const QString* units = value(name))
            node_.setContentUnits(PTSVGUtils::unitTypeForString(*units));
    }
    for (const QStringView name :
         {QStringView(u"transform"), QStringView(u"gradientTransform"), QStringView(u"patternTransform")}) {
        if (const QString* text = value(name)) {
            auto transforms = PTSVGTransform::transformsForString(*text);
            const auto& existing = node_.transforms();
            transforms.insert(transforms.end(), existing.begin(), existing.end());
            node_.setTransforms(std::move(transforms));
        }
    }
    if (const QString* unicode = value(u"unicode"))
        node_.setUnicode(QStringLiteral("%1").arg(int(unicode->at(0).unicode()), 4, 16, QLatin1Char('0')));
    if (const QString* cap = value(u"stroke-linecap"))
        node_.setLineCapStyle(PTSVGUtils::lineCapStyleForString(*cap));
    if (const QString* join = value(u"stroke-linejoin"))
        node_.setLineJoinStyle(PTSVGUtils::lineJoinStyleForString(*join));
    // The colour property comes before the paints, whose currentColor stands for it.
    if (const QString* color = value(u"color"); color && !PTSVGColor::isCurrentColor(*color))
        node_.setColor(PTSVGColor::colorFromString(*color));
    readPaint(u"stroke", false);
    if (const QString* dashes = value(u"stroke-dasharray"))
        readDashArray(*dashes);
    readPaint(u"fill", true);
    readFillOpacity();
    if (const QString* blend = value(u"mix-blend-mode"))
        node_.setBlendMode(PTSVGUtils::blendModeForString(*blend));
    if (const QString* rule = value(u"fill-rule"))
        node_.setWindingRule(PTSVGUtils::windingRuleForString(*rule));
    if (const QString* ratio = value(u"preserveAspectRatio"))
        node_.setAspectRatio(PTSVGAspectRatio::fromString(*ratio));
    if (const QString* rule = value(u"clip-rule"))
        node_.setClipRule(PTSVGUtils::windingRuleForString(*rule));
    if (const QString* display = value(u"display"); display && display->trimmed().toLower() == u"none")
        node_.setShouldRender(false);
}

void PTSVGAttributeReader::readLengths()
{
    struct LengthAttribute {
        const char16_t* name;
        void (PTSVGNode::*set)(const PTSVGNode::Length&);
        // What "inherit" means: no length for geometry, the parent's value for the inherited properties.
        bool inherits;
        double fallback;
    };
    static const LengthAttribute lengths[] = {
        {u"x", &PTSVGNode::setX, false, 0}, {u"y", &PTSVGNode::setY, false, 0},
        {u"width", &PTSVGNode::setWidth, false, 0}, {u"height", &PTSVGNode::setHeight, false, 0},
        {u"opacity", &PTSVGNode::setOpacity, true, 1}, {u"stroke-opacity", &PTSVGNode::setStrokeOpacity, true, 1},
        {u"stroke-width", &PTSVGNode::setStrokeWidth, true, 0},
        {u"stroke-dashoffset", &PTSVGNode::setStrokeDashOffset, false, 0},
        {u"fill-opacity", &PTSVGNode::setFillOpacity, true, 1},
    };
    for (const auto& attribute : lengths) {
        const QString* text = value(QStringView(attribute.name));
        if (!text)
            continue;
        auto length = PTSVGUnitLength::unitWithString(*text);
        if (!length && attribute.inherits)
            length = inheriting(attribute.fallback);
        (node_.*attribute.set)(length);
    }
}

void PTSVGAttributeReader::readReferences()
{
    auto group = [&](QStringView name) -> std::shared_ptr<PTSVGGroup> {
        const QString* text = value(name);
        if (!text)
            return nullptr;
        const QString id = PTSVGUtils::defURL(*text);
        return id.isEmpty() ? nullptr : std::dynamic_pointer_cast<PTSVGGroup>(builder_.definedObjectForID(id));
    };
    if (value(u"clip-path"))
        node_.setClipPath(group(u"clip-path"));
    if (value(u"mask"))
        node_.setMask(group(u"mask"));
}

void PTSVGAttributeReader::readPaint(QStringView name, bool fill)
{
    const QString* text = value(name);
    if (!text)
        return;
    const QString id = PTSVGUtils::defURL(*text);
    if (!id.isEmpty()) {
        const auto defined = builder_.definedObjectForID(id);
        if (auto gradient = std::dynamic_pointer_cast<PTSVGGradient>(defined))
            fill ? node_.setFillGradient(gradient) : node_.setStrokeGradient(gradient);
        else if (auto pattern = std::dynamic_pointer_cast<PTSVGPattern>(defined))
            fill ? node_.setFillPattern(pattern) : node_.setStrokePattern(pattern);
        else
            // A reference to nothing usable (missing, or a cycle) paints its fallback colour, or nothing at all.
            setPaintColor(fill, text->mid(text->indexOf(u')') + 1).trimmed(), QColor(Qt::transparent));
        return;
    }
    setPaintColor(fill, *text, std::nullopt);
}

void PTSVGAttributeReader::setPaintColor(bool fill, const QString& text, const std::optional<QColor>& fallback)
{
    auto color = PTSVGColor::isCurrentColor(text) ? std::optional<QColor>(node_.color()) : PTSVGColor::colorFromString(text);
    if (!color)
        color = fallback;
    fill ? node_.setFillColor(color) : node_.setStrokeColor(color);
}

void PTSVGAttributeReader::readDashArray(const QString& text)
{
    // "inherit" leaves the parent's dashes in effect.
    if (text.trimmed() == u"inherit")
        return;
    if (text.trimmed() == u"none") {
        node_.setStrokeDashArray({});
        return;
    }
    std::vector<double> dashes = PTSVGUtils::scanFloatsFromString(text);
    // Negative entries or nothing but zeros leave the line solid; an odd list repeats to an even one.
    const bool negative = std::any_of(dashes.begin(), dashes.end(), [](double d) { return d < 0; });
    const bool allZero = std::all_of(dashes.begin(), dashes.end(), [](double d) { return d == 0; });
    if (negative || allZero) {
        node_.setStrokeDashArray({});
        return;
    }
    if (dashes.size() % 2 != 0)
        dashes.insert(dashes.end(), dashes.begin(), dashes.end());
    node_.setStrokeDashArray(std::move(dashes));
}

void PTSVGAttributeReader::readFillOpacity()
{
    // The fill opacity goes into the fill colour when this element gives one of the two, so an inherited
    // opacity reaches a child's own colour and an inherited colour gets the child's own opacity. A transparent
    // colour ("none") stays transparent.
    const bool ownColor = node_.hasOwnFill() && node_.fillGradient() == nullptr && node_.fillPattern() == nullptr;
    if (!value(u"fill-opacity") && !ownColor)
        return;
    const auto opacity = node_.fillOpacity();
    const auto color = node_.fillColor();
    if (!opacity || opacity->value() == 1.0 || !color || color->alphaF() == 0)
        return;
    node_.setFillColor(PTSVGColor::changeAlphaOnColor(*color, opacity->value()));
}
