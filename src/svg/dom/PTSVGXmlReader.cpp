#include "svg/dom/PTSVGXmlReader.h"

#include <QXmlStreamReader>

namespace {

std::unique_ptr<PTSVGXmlNode> read(QXmlStreamReader& reader, QString* errorMessage)
{
    reader.setNamespaceProcessing(false);
    reader.setEntityExpansionLimit(PTSVGXmlReader::EntityExpansionLimit);
    auto document = std::make_unique<PTSVGXmlNode>(PTSVGXmlNode::Kind::Document);
    PTSVGXmlNode* current = document.get();
    int depth = 0;
    qsizetype count = 0;
    auto fail = [&](const QString& message) {
        if (errorMessage)
            *errorMessage = message;
        return nullptr;
    };
    using Kind = PTSVGXmlNode::Kind;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (++count > PTSVGXmlReader::MaximumNodeCount)
            return fail(QStringLiteral("too many XML nodes"));
        switch (token) {
        case QXmlStreamReader::StartElement: {
            if (++depth > PTSVGXmlReader::MaximumDepth)
                return fail(QStringLiteral("elements nested too deeply"));
            auto element = std::make_unique<PTSVGXmlNode>(Kind::Element, reader.qualifiedName().toString());
            for (const auto& attribute : reader.attributes())
                element->setAttribute(attribute.qualifiedName().toString(), attribute.value().toString());
            // Namespace declarations are attributes to a reader that does not process namespaces; keep them so
            // that the tree writes back out as it came in.
            for (const auto& declaration : reader.namespaceDeclarations()) {
                const QString name = declaration.prefix().isEmpty()
                    ? QStringLiteral("xmlns")
                    : QStringLiteral("xmlns:") + declaration.prefix().toString();
                if (!element->hasAttribute(name))
                    element->setAttribute(name, declaration.namespaceUri().toString());
            }
            current = current->appendChild(std::move(element));
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            current = current->parent();
            break;
        case QXmlStreamReader::Characters: {
            const Kind kind = reader.isCDATA() ? Kind::CData : Kind::Text;
            if (kind == Kind::Text && !current->children().empty() && current->children().back()->kind() == Kind::Text) {
                // Entity expansion can split one run of text into several tokens.
                auto* last = current->children().back().get();
                last->setText(last->text() + reader.text().toString());
                break;
            }
            if (current->kind() == Kind::Document)
                break;
            auto text = std::make_unique<PTSVGXmlNode>(kind);
            text->setText(reader.text().toString());
            current->appendChild(std::move(text));
            break;
        }
        case QXmlStreamReader::Comment: {
            auto comment = std::make_unique<PTSVGXmlNode>(Kind::Comment);
            comment->setText(reader.text().toString());
            current->appendChild(std::move(comment));
            break;
        }
        case QXmlStreamReader::ProcessingInstruction: {
            auto instruction = std::make_unique<PTSVGXmlNode>(Kind::ProcessingInstruction,
                                                              reader.processingInstructionTarget().toString());
            instruction->setText(reader.processingInstructionData().toString());
            current->appendChild(std::move(instruction));
            break;
        }
        default:
            // The declaration, the DTD (its internal entities already serve the reader) and unresolved
            // entity references, which stand for external entities that are never loaded.
            break;
        }
    }
    if (reader.hasError())
        return fail(reader.errorString());
    if (!document->firstElementChild())
        return fail(QStringLiteral("no root element"));
    return document;
}

} // namespace

std::unique_ptr<PTSVGXmlNode> PTSVGXmlReader::parse(const QByteArray& data, QString* errorMessage)
{
    QXmlStreamReader reader(data);
    return read(reader, errorMessage);
}

std::unique_ptr<PTSVGXmlNode> PTSVGXmlReader::parse(const QString& text, QString* errorMessage)
{
    QXmlStreamReader reader(text);
    return read(reader, errorMessage);
}
