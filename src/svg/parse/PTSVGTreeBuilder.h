#pragma once

#include "svg/parse/PTSVGParseBudget.h"
#include "svg/parse/PTSVGParser.h"

#include <QHash>

class PTSVGStyleSheet;

// One parse of one document: walks the XML tree, dispatches each element by its type, resolves references
// (use, gradient hrefs, clip paths, masks) under the budget's limits, and fills the parser's tree.
class PTSVGTreeBuilder {
public:
    PTSVGTreeBuilder(PTSVGParser& parser, const PTSVGXmlNode& root, const PTSVGParser::FoundSubSVG& foundSubSVG,
                     const QSizeF* parentViewport, PTSVGParseBudget& budget);
    ~PTSVGTreeBuilder();

    void parse();

    // Services for the attribute reader.
    const PTSVGStyleSheet* styleSheet() const { return styleSheet_.get(); }
    void recordIdElement(const QString& identifier, const PTSVGXmlNode& element);
    // A fresh node parsed from the element with this id (inside defs, or met earlier), or nullptr when there is
    // none or following it would loop or exceed the limits.
    std::shared_ptr<PTSVGNode> definedObjectForID(const QString& identifier);
    const PTSVGParser& parser() const { return parser_; }

private:
    using Handler = void (PTSVGTreeBuilder::*)(const PTSVGXmlNode&, PTSVGGroup&, PTSVGNodeType);

    void parseRoot();
    void readViewBox();
    void parseBlock(const PTSVGXmlNode& element, PTSVGGroup& group);
    void parseDefsForElement(const PTSVGXmlNode& element);
    void parseBaseBlock(const PTSVGXmlNode& element, PTSVGGroup& parent);
    void applyAttributes(const PTSVGXmlNode& element, PTSVGNode& node, std::initializer_list<QStringView> ignore = {});
    const PTSVGXmlNode* elementForID(const QString& identifier) const;

    void parseGroup(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parsePath(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parseShape(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parseRect(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parseUse(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parseGradient(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parseClipPath(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parseGlyph(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parseImage(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parsePattern(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parseNestedSVG(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);
    void parseStyle(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type);

    // The gradient element with the stops and attributes of the gradients it references laid under its own.
    std::unique_ptr<PTSVGXmlNode> mergedGradientElement(const PTSVGXmlNode& element);
    // Runs work while the referenced element is on the reference stack; false when following the reference would
    // loop or go too deep.
    template <typename Work>
    bool followReference(const PTSVGXmlNode& element, Work&& work);

    static const Handler Handlers[PTSVGNodeTypeUnknown + 1];

    PTSVGParser& parser_;
    const PTSVGXmlNode& root_;
    const PTSVGParser::FoundSubSVG& foundSubSVG_;
    const QSizeF* parentViewport_;
    PTSVGParseBudget& budget_;
    std::unique_ptr<PTSVGStyleSheet> styleSheet_;
    QHash<QString, const PTSVGXmlNode*> idElements_;
    QHash<QString, const PTSVGXmlNode*> baseDefinitions_;
};
