#include "svg/dom/PTSVGXmlWriter.h"

namespace {

void escape(QString& out, const QString& text, bool attribute)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '<': out += u"&lt;"; break;
        case '>': out += u"&gt;"; break;
        case '&': out += u"&amp;"; break;
        case '"':
            if (attribute) {
                out += u"&quot;";
                break;
            }
            out += c;
            break;
        case '\n':
        case '\t':
        case '\r':
            if (attribute) {
                out += QStringLiteral("&#%1;").arg(int(c.unicode()));
                break;
            }
            out += c;
            break;
        default:
            out += c;
        }
    }
}

bool onlyElements(const PTSVGXmlNode& node)
{
    for (const auto& child : node.children()) {
        if (child->isText())
            return false;
    }
    return true;
}

// depth < 0 writes compactly.
void write(QString& out, const PTSVGXmlNode& node, int depth)
{
    using Kind = PTSVGXmlNode::Kind;
    switch (node.kind()) {
    case Kind::Document:
        out += u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        for (const auto& child : node.children()) {
            write(out, *child, depth);
            if (depth >= 0)
                out += u'\n';
        }
        break;
    case Kind::Element: {
        out += u'<';
        out += node.name();
        for (const auto& attribute : node.attributes()) {
            out += u' ';
            out += attribute.name;
            out += u"=\"";
            escape(out, attribute.value, true);
            out += u'"';
        }
        if (node.children().empty()) {
            out += u"/>";
            break;
        }
        out += u'>';
        const bool indent = depth >= 0 && onlyElements(node);
        for (const auto& child : node.children()) {
            if (indent)
                out += u'\n' + QString(2 * (depth + 1), u' ');
            write(out, *child, indent ? depth + 1 : -1);
        }
        if (indent)
            out += u'\n' + QString(2 * depth, u' ');
        out += u"</";
        out += node.name();
        out += u'>';
        break;
    }
    case Kind::Text:
        escape(out, node.text(), false);
        break;
    case Kind::CData: {
        // A "]]>" inside the data is split across two sections.
        QString data = node.text();
        data.replace(QStringLiteral("]]>"), QStringLiteral("]]]]><![CDATA[>"));
        out += QStringLiteral("<![CDATA[") + data + QStringLiteral("]]>");
        break;
    }
    case Kind::Comment:
        out += QStringLiteral("<!--") + node.text() + QStringLiteral("-->");
        break;
    case Kind::ProcessingInstruction:
        out += QStringLiteral("<?") + node.name();
        if (!node.text().isEmpty())
            out += QLatin1Char(' ') + node.text();
        out += u"?>";
        break;
    }
}

} // namespace

QString PTSVGXmlWriter::toString(const PTSVGXmlNode& node, bool pretty)
{
    QString out;
    write(out, node, pretty ? 0 : -1);
    return out;
}
