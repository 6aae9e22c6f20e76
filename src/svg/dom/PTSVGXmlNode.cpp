#include "svg/dom/PTSVGXmlNode.h"

#include <algorithm>

PTSVGXmlNode::PTSVGXmlNode(Kind kind, QString name) : kind_(kind), name_(std::move(name)) {}

QStringView PTSVGXmlNode::localName() const
{
    const qsizetype colon = name_.indexOf(u':');
    return colon < 0 ? QStringView(name_) : QStringView(name_).mid(colon + 1);
}

const QString* PTSVGXmlNode::attribute(QStringView name) const
{
    for (const auto& attribute : attributes_) {
        if (attribute.name == name)
            return &attribute.value;
    }
    return nullptr;
}

QString PTSVGXmlNode::attributeValue(QStringView name) const
{
    const QString* value = attribute(name);
    return value ? *value : QString();
}

void PTSVGXmlNode::setAttribute(const QString& name, const QString& value)
{
    for (auto& attribute : attributes_) {
        if (attribute.name == name) {
            attribute.value = value;
            return;
        }
    }
    attributes_.push_back({name, value});
}

void PTSVGXmlNode::removeAttribute(QStringView name)
{
    attributes_.erase(std::remove_if(attributes_.begin(), attributes_.end(),
                                     [&](const Attribute& attribute) { return attribute.name == name; }),
                      attributes_.end());
}

QString PTSVGXmlNode::textContent() const
{
    if (isText())
        return text_;
    QString text;
    for (const auto& child : children_) {
        if (child->isText() || child->isElement())
            text += child->textContent();
    }
    return text;
}

PTSVGXmlNode* PTSVGXmlNode::insertChild(size_t index, std::unique_ptr<PTSVGXmlNode> child)
{
    child->parent_ = this;
    index = std::min(index, children_.size());
    return children_.insert(children_.begin() + std::ptrdiff_t(index), std::move(child))->get();
}

std::unique_ptr<PTSVGXmlNode> PTSVGXmlNode::takeChild(const PTSVGXmlNode* child)
{
    const size_t index = indexOfChild(child);
    if (index == children_.size())
        return nullptr;
    std::unique_ptr<PTSVGXmlNode> taken = std::move(children_[index]);
    children_.erase(children_.begin() + std::ptrdiff_t(index));
    taken->parent_ = nullptr;
    return taken;
}

size_t PTSVGXmlNode::indexOfChild(const PTSVGXmlNode* child) const
{
    for (size_t index = 0; index < children_.size(); ++index) {
        if (children_[index].get() == child)
            return index;
    }
    return children_.size();
}

PTSVGXmlNode* PTSVGXmlNode::appendChild(std::unique_ptr<PTSVGXmlNode> child)
{
    child->parent_ = this;
    children_.push_back(std::move(child));
    return children_.back().get();
}

const PTSVGXmlNode* PTSVGXmlNode::firstElementChild() const
{
    for (const auto& child : children_) {
        if (child->isElement())
            return child.get();
    }
    return nullptr;
}

std::unique_ptr<PTSVGXmlNode> PTSVGXmlNode::clone() const
{
    auto copy = std::make_unique<PTSVGXmlNode>(kind_, name_);
    copy->attributes_ = attributes_;
    copy->text_ = text_;
    for (const auto& child : children_)
        copy->appendChild(child->clone());
    return copy;
}
