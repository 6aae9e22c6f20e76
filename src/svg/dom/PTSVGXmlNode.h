#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// One node of the ordered XML tree the SVG parser reads: the document, an element, text, CDATA, a comment or a
// processing instruction. Names are kept as written (qualified, prefix included); attribute order is kept.
class PTSVGXmlNode {
public:
    enum class Kind { Document, Element, Text, CData, Comment, ProcessingInstruction };
    struct Attribute {
        QString name;
        QString value;
    };

    PTSVGXmlNode(Kind kind, QString name = {});

    Kind kind() const { return kind_; }
    bool isElement() const { return kind_ == Kind::Element; }
    bool isText() const { return kind_ == Kind::Text || kind_ == Kind::CData; }
    // The qualified name ("svg:rect"); for a processing instruction its target.
    const QString& name() const { return name_; }
    // The name without its prefix ("rect").
    QStringView localName() const;

    const std::vector<Attribute>& attributes() const { return attributes_; }
    // The value of an attribute by qualified name, or nullptr.
    const QString* attribute(QStringView name) const;
    QString attributeValue(QStringView name) const;
    bool hasAttribute(QStringView name) const { return attribute(name) != nullptr; }
    // Replaces the value in place, or appends the attribute.
    void setAttribute(const QString& name, const QString& value);
    void removeAttribute(QStringView name);

    // Character data of text, CDATA and comments; the data of a processing instruction.
    const QString& text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    // The text of every text and CDATA descendant, in order.
    QString textContent() const;

    PTSVGXmlNode* parent() const { return parent_; }
    const std::vector<std::unique_ptr<PTSVGXmlNode>>& children() const { return children_; }
    PTSVGXmlNode* appendChild(std::unique_ptr<PTSVGXmlNode> child);
    // Inserts at index (clamped to the end).
    PTSVGXmlNode* insertChild(size_t index, std::unique_ptr<PTSVGXmlNode> child);
    // Takes a child out of this node, handing it to the caller without a parent.
    std::unique_ptr<PTSVGXmlNode> takeChild(const PTSVGXmlNode* child);
    // The position of a child; children().size() when it is not one.
    size_t indexOfChild(const PTSVGXmlNode* child) const;
    void setAttributes(std::vector<Attribute> attributes) { attributes_ = std::move(attributes); }
    // The first element child, for the document node its root element.
    const PTSVGXmlNode* firstElementChild() const;
    // A deep copy without a parent.
    std::unique_ptr<PTSVGXmlNode> clone() const;

private:
    Kind kind_;
    QString name_;
    std::vector<Attribute> attributes_;
    QString text_;
    PTSVGXmlNode* parent_ = nullptr;
    std::vector<std::unique_ptr<PTSVGXmlNode>> children_;
};
