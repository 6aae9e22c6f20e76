#include "transfer/import/PTImportSymbolSheet.h"

#include "platform/runtime/Logging.h"
#include "svg/PTSVGUtils.h"
#include "svg/dom/PTSVGXmlReader.h"
#include "svg/dom/PTSVGXmlWriter.h"
#include "svg/parse/PTSVGParser.h"

#include <QFile>

#include <utility>
#include <vector>

namespace {

bool isElement(const PTSVGXmlNode& node, QStringView name)
{
    return node.isElement() && node.localName() == name;
}

// What places a symbol where it is used; the document made of it is a place of its own.
bool placesTheSymbol(QStringView name)
{
    for (const QStringView placing : {u"id", u"viewBox", u"x", u"y", u"width", u"height", u"refX", u"refY"})
        if (name == placing)
            return true;
    return name.startsWith(u"xmlns");
}

// Definitions copied into a symbol's document leave the other symbols out.
std::unique_ptr<PTSVGXmlNode> withoutSymbols(const PTSVGXmlNode& node)
{
    std::unique_ptr<PTSVGXmlNode> copy = node.clone();
    std::vector<PTSVGXmlNode*> pending{copy.get()};
    while (!pending.empty()) {
        PTSVGXmlNode* current = pending.back();
        pending.pop_back();
        std::vector<const PTSVGXmlNode*> symbols;
        for (const auto& child : current->children()) {
            if (isElement(*child, u"symbol"))
                symbols.push_back(child.get());
            else if (child->isElement())
                pending.push_back(child.get());
        }
        for (const PTSVGXmlNode* symbol : symbols)
            current->takeChild(symbol);
    }
    return copy;
}

// The symbol as a document: sized by its view box, with the sheet's namespaces, definitions and style sheets,
// and the symbol's content.
QString documentFor(const PTSVGXmlNode& symbol, const PTSVGXmlNode& sheet,
                    const std::vector<const PTSVGXmlNode*>& shared)
{
    PTSVGXmlNode root(PTSVGXmlNode::Kind::Element, QStringLiteral("svg"));
    root.setAttribute(QStringLiteral("xmlns"), QStringLiteral("http://www.w3.org/2000/svg"));
    for (const PTSVGXmlNode::Attribute& attribute : sheet.attributes())
        if (attribute.name.startsWith(QLatin1String("xmlns:")))
            root.setAttribute(attribute.name, attribute.value);
    if (const QString* viewBox = symbol.attribute(u"viewBox")) {
        root.setAttribute(QStringLiteral("viewBox"), *viewBox);
        const std::vector<double> numbers = PTSVGUtils::parseViewBox(*viewBox);
        if (numbers.size() == 4) {
            root.setAttribute(QStringLiteral("width"), QString::number(numbers[2]));
            root.setAttribute(QStringLiteral("height"), QString::number(numbers[3]));
        }
    } else {
        for (const QStringView size : {u"width", u"height"})
            if (const QString* value = symbol.attribute(size))
                root.setAttribute(size.toString(), *value);
    }
    for (const PTSVGXmlNode* node : shared)
        root.appendChild(withoutSymbols(*node));
    // The symbol's presentation attributes go on a group around its content, where references to the
    // definitions resolve as they do inside the sheet.
    PTSVGXmlNode* content = &root;
    for (const PTSVGXmlNode::Attribute& attribute : symbol.attributes()) {
        if (placesTheSymbol(attribute.name))
            continue;
        if (content == &root)
            content = root.appendChild(std::make_unique<PTSVGXmlNode>(PTSVGXmlNode::Kind::Element, QStringLiteral("g")));
        content->setAttribute(attribute.name, attribute.value);
    }
    for (const auto& child : symbol.children())
        content->appendChild(child->clone());
    return PTSVGXmlWriter::toString(root);
}

} // namespace

QVector<PTImportSymbolSheet::Symbol> PTImportSymbolSheet::symbols(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > PTSVGParser::MaximumFileSize)
        return {};
    const std::unique_ptr<PTSVGXmlNode> document = PTSVGXmlReader::parse(file.readAll());
    const PTSVGXmlNode* sheet = document ? document->firstElementChild() : nullptr;
    if (!sheet || !isElement(*sheet, u"svg"))
        return {};

    // In document order, without recursion: symbols outside other symbols, and the definitions and style
    // sheets outside symbols (the outermost of them, which hold the rest).
    std::vector<const PTSVGXmlNode*> found;
    std::vector<const PTSVGXmlNode*> shared;
    std::vector<std::pair<const PTSVGXmlNode*, bool>> pending{{sheet, false}};
    while (!pending.empty()) {
        const auto [node, insideShared] = pending.back();
        pending.pop_back();
        if (node != sheet && isElement(*node, u"symbol")) {
            found.push_back(node);
            continue;
        }
        const bool isShared = isElement(*node, u"defs") || isElement(*node, u"style");
        if (isShared && !insideShared)
            shared.push_back(node);
        for (auto child = node->children().rbegin(); child != node->children().rend(); ++child)
            if ((*child)->isElement())
                pending.emplace_back(child->get(), insideShared || isShared);
    }
    // Every symbol carries the shared definitions: a sheet of many symbols under large definitions stops
    // growing at a bound.
    QVector<Symbol> symbols;
    qint64 written = 0;
    for (const PTSVGXmlNode* symbol : found) {
        Symbol made{symbol->attributeValue(u"id").trimmed(), documentFor(*symbol, *sheet, shared)};
        written += made.svgText.size();
        if (written > MaximumTextSize) {
            qCWarning(lcTransfer).noquote() << "import: symbols past" << symbols.size() << "left out of" << path;
            break;
        }
        symbols.append(std::move(made));
    }
    return symbols;
}
