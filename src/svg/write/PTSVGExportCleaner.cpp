#include "svg/write/PTSVGExportCleaner.h"

#include "svg/write/PTSVGIdGenerator.h"
#include "svg/PTSVGUtils.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <unordered_set>

namespace {

using Node = PTSVGXmlNode;

const QSet<QString>& inheritableNames()
{
    static const QSet<QString> names{
        "clip-rule", "color", "color-interpolation", "color-interpolation-filters", "color-profile",
        "color-rendering", "cursor", "direction", "fill", "fill-opacity", "fill-rule", "font", "font-family",
        "font-size", "font-size-adjust", "font-stretch", "font-style", "font-variant", "font-weight",
        "glyph-orientation-horizontal", "glyph-orientation-vertical", "image-rendering", "kerning", "letter-spacing",
        "marker", "marker-end", "marker-mid", "marker-start", "pointer-events", "shape-rendering", "stroke",
        "stroke-dasharray", "stroke-dashoffset", "stroke-linecap", "stroke-linejoin", "stroke-miterlimit",
        "stroke-opacity", "stroke-width", "text-anchor", "text-rendering", "visibility", "white-space",
        "word-spacing", "writing-mode"};
    return names;
}

const QStringList& attributeOrder()
{
    static const QStringList order{"id", "width", "height", "x", "x1", "x2", "y", "y1", "y2", "cx", "cy", "r",
                                   "fill", "stroke", "marker", "d", "points", "transform", "gradientTransform",
                                   "xlink:href"};
    return order;
}

// Every element under node (node included when it is one), in document order.
void collectElements(Node& node, std::vector<Node*>& out, QStringView name = {})
{
    if (node.isElement() && (name.isEmpty() || node.name() == name))
        out.push_back(&node);
    for (const auto& child : node.children())
        collectElements(*child, out, name);
}

std::unique_ptr<Node> element(const QString& name)
{
    return std::make_unique<Node>(Node::Kind::Element, name);
}

// Puts replacement where old stands and hands old back.
std::unique_ptr<Node> replace(Node& old, std::unique_ptr<Node> replacement)
{
    Node* parent = old.parent();
    const size_t index = parent->indexOfChild(&old);
    auto taken = parent->takeChild(&old);
    parent->insertChild(index, std::move(replacement));
    return taken;
}

bool hidden(const Node& node)
{
    if (node.attributeValue(u"display") == u"none")
        return true;
    // The writer puts display into the style attribute.
    QString style = node.attributeValue(u"style");
    return style.remove(QLatin1Char(' ')).contains(QStringLiteral("display:none"));
}

void removeHidden(Node& node)
{
    for (size_t index = 0; index < node.children().size();) {
        Node& child = *node.children()[index];
        if (child.isElement() && hidden(child)) {
            node.takeChild(&child);
            continue;
        }
        removeHidden(child);
        ++index;
    }
}

} // namespace

PTSVGExportCleaner::PTSVGExportCleaner(Node& root, Node& defs, std::unique_ptr<Node>& defsHolder,
                                       PTSVGIdGenerator& ids)
    : root_(root), defs_(defs), defsHolder_(defsHolder), ids_(ids)
{
}

void PTSVGExportCleaner::run(PTSVGExportOptions options)
{
    if (options & PTSVGExport::RemoveHiddenElements)
        removeHiddenElements();
    if (options & PTSVGExport::ReuseRepeatedPaths)
        convertUseElements();
    if (options & PTSVGExport::RemoveEmptyDefs)
        cleanDef();
    if (options & PTSVGExport::CollapseGroups)
        collapseGroups();
    if (options & PTSVGExport::RemoveEmptyGroups)
        cleanEmptyGroups();
    if (options & PTSVGExport::SortAttributes) {
        std::vector<Node*> elements;
        collectElements(root_, elements);
        for (Node* element : elements)
            sortAttributesOnElement(*element);
    }
    if (options & PTSVGExport::CollapseGroups)
        compressGroups();
    if (options & PTSVGExport::ShareGradientStops)
        collapseGradients();
    if (options & PTSVGExport::CreateClasses)
        createClasses();
    if (options & PTSVGExport::GroupSharedAttributes)
        moveAttributesToGroup(root_);
}

bool PTSVGExportCleaner::isInheritable(const QString& name)
{
    return inheritableNames().contains(name);
}

bool PTSVGExportCleaner::compareElement(const Node& a, const Node& b)
{
    if (a.name() != b.name() || a.attributes().size() != b.attributes().size())
        return false;
    return std::all_of(a.attributes().begin(), a.attributes().end(), [&](const Node::Attribute& attribute) {
        const QString* other = b.attribute(attribute.name);
        return other && *other == attribute.value;
    });
}

bool PTSVGExportCleaner::compareElementChildren(const Node& a, const Node& b)
{
    if (a.children().size() != b.children().size())
        return false;
    for (size_t index = 0; index < a.children().size(); ++index) {
        if (!compareElement(*a.children()[index], *b.children()[index]))
            return false;
    }
    return true;
}

PTSVGExportCleaner::Attributes PTSVGExportCleaner::inheritableAttributes(const Node& element)
{
    Attributes attributes;
    for (const auto& attribute : element.attributes()) {
        if (isInheritable(attribute.name))
            attributes.insert(attribute.name, attribute.value);
    }
    return attributes;
}

void PTSVGExportCleaner::sortAttributesOnElement(Node& element)
{
    const QStringList& order = attributeOrder();
    const double fallback = double(element.attributes().size());
    const auto rank = [&](const QString& name) {
        double value = fallback;
        for (qsizetype index = 0; index < order.size(); ++index) {
            if (name == order[index])
                value = double(index);
            else if (name.startsWith(order[index]) && name.size() > order[index].size()
                     && name[order[index].size()] == u'-')
                value = double(index) + 0.5;
        }
        return value;
    };
    std::vector<Node::Attribute> attributes = element.attributes();
    std::stable_sort(attributes.begin(), attributes.end(), [&](const Node::Attribute& a, const Node::Attribute& b) {
        const double rankA = rank(a.name), rankB = rank(b.name);
        return rankA != rankB ? rankA < rankB : a.name < b.name;
    });
    element.setAttributes(std::move(attributes));
}

void PTSVGExportCleaner::removeHiddenElements()
{
    removeHidden(root_);
}

void PTSVGExportCleaner::convertUseElements()
{
    std::vector<Node*> paths;
    collectElements(root_, paths, u"path");
    // A clip path takes its shapes as they are, not through references.
    std::erase_if(paths, [](const Node* path) {
        for (const Node* node = path->parent(); node; node = node->parent()) {
            if (node->name() == u"clipPath")
                return true;
        }
        return false;
    });
    QHash<QString, int> counts;
    for (const Node* path : paths)
        ++counts[path->attributeValue(u"d")];
    QHash<QString, QString> sharedIds;
    std::vector<std::unique_ptr<Node>> shared;
    for (Node* path : paths) {
        const QString d = path->attributeValue(u"d");
        if (counts.value(d) < 2)
            continue;
        QString id = sharedIds.value(d);
        if (id.isEmpty()) {
            id = ids_.generateID();
            sharedIds.insert(d, id);
            auto sharedPath = element(QStringLiteral("path"));
            sharedPath->setAttribute(QStringLiteral("d"), d);
            sharedPath->setAttribute(QStringLiteral("id"), id);
            shared.push_back(std::move(sharedPath));
        }
        auto use = element(QStringLiteral("use"));
        for (const auto& attribute : path->attributes()) {
            if (attribute.name != u"d")
                use->setAttribute(attribute.name, attribute.value);
        }
        use->setAttribute(QStringLiteral("xlink:href"), QLatin1Char('#') + id);
        replace(*path, std::move(use));
    }
    for (auto& sharedPath : shared)
        defs_.appendChild(std::move(sharedPath));
}

void PTSVGExportCleaner::cleanDef()
{
    if (defs_.children().empty() && defs_.parent())
        defsHolder_ = defs_.parent()->takeChild(&defs_);
}

void PTSVGExportCleaner::collapseGroups()
{
    std::vector<Node*> groups;
    collectElements(root_, groups, u"g");
    for (Node* group : groups) {
        if (group->hasAttribute(u"id"))
            return;
        if (group->attributes().empty() || group->children().size() != 1 || !group->parent())
            continue;
        Node& child = *group->children().front();
        // Images take neither clips nor masks here: the reader applies them to groups and shapes.
        if (!child.isElement() || child.hasAttribute(u"transform") || child.name() == u"image")
            continue;
        // A group around a blended child isolates the blending; without it the child would blend with the backdrop.
        if (child.attributeValue(u"style").contains(QStringLiteral("mix-blend-mode")))
            continue;
        // A clip or mask that stays on the group is measured in the group's space: its transform stays with it.
        const bool keepsSome = std::any_of(group->attributes().begin(), group->attributes().end(), [&](const auto& a) {
            return child.hasAttribute(a.name) && !isInheritable(a.name) && a.name != u"opacity";
        });
        std::vector<Node::Attribute> kept;
        for (const auto& attribute : group->attributes()) {
            const QString* own = child.attribute(attribute.name);
            if (attribute.name == u"transform" && keepsSome)
                kept.push_back(attribute);
            else if (!own)
                child.setAttribute(attribute.name, attribute.value);
            else if (attribute.name == u"opacity")
                // Both opacities apply to the one child: they multiply.
                child.setAttribute(attribute.name, PTSVGShortFloatString(own->toDouble() * attribute.value.toDouble()));
            else if (!isInheritable(attribute.name))
                // A second mask, clip or style does not replace the child's own: it applies on top.
                kept.push_back(attribute);
        }
        group->setAttributes(std::move(kept));
        if (group->attributes().empty())
            replace(*group, group->takeChild(&child));
    }
}

void PTSVGExportCleaner::cleanEmptyGroups()
{
    std::vector<Node*> groups;
    collectElements(root_, groups, u"g");
    for (Node* group : groups) {
        Node* parent = group->parent();
        if (!parent)
            continue;
        if (group->children().empty()) {
            parent->takeChild(group);
            continue;
        }
        if (!group->attributes().empty())
            continue;
        size_t index = parent->indexOfChild(group);
        auto taken = parent->takeChild(group);
        while (!taken->children().empty())
            parent->insertChild(index++, taken->takeChild(taken->children().front().get()));
    }
}

void PTSVGExportCleaner::compressGroups()
{
    std::vector<Node*> groups;
    collectElements(root_, groups, u"g");
    std::unordered_set<const Node*> removed;
    for (Node* group : groups) {
        if (removed.count(group) || !group->parent())
            continue;
        // Merged neighbours would be composited as one: only groups without opacity or blending merge.
        if (group->hasAttribute(u"opacity") || group->hasAttribute(u"style"))
            continue;
        Node* parent = group->parent();
        for (;;) {
            const size_t next = parent->indexOfChild(group) + 1;
            if (next >= parent->children().size())
                break;
            Node* sibling = parent->children()[next].get();
            if (!compareElement(*group, *sibling))
                break;
            removed.insert(sibling);
            auto taken = parent->takeChild(sibling);
            while (!taken->children().empty())
                group->appendChild(taken->takeChild(taken->children().front().get()));
        }
    }
}

void PTSVGExportCleaner::collapseGradients()
{
    std::vector<Node*> gradients;
    std::vector<Node*> defsElements;
    collectElements(root_, defsElements, u"defs");
    if (!defs_.parent())
        defsElements.push_back(&defs_);
    for (Node* defs : defsElements) {
        for (const auto& child : defs->children()) {
            if (child->name() == u"linearGradient" || child->name() == u"radialGradient")
                gradients.push_back(child.get());
        }
    }
    for (size_t index = 1; index < gradients.size(); ++index) {
        Node& later = *gradients[index];
        if (later.children().empty())
            continue;
        for (size_t earlierIndex = index; earlierIndex-- > 0;) {
            Node& earlier = *gradients[earlierIndex];
            // A reference carries every attribute the referring gradient lacks; only stops are to be shared.
            if (earlier.name() != later.name() || !compareElementChildren(earlier, later))
                continue;
            QString id = earlier.attributeValue(u"id");
            if (id.isEmpty()) {
                id = ids_.generateID();
                earlier.setAttribute(QStringLiteral("id"), id);
            }
            if (earlier.hasAttribute(u"gradientUnits") && !later.hasAttribute(u"gradientUnits"))
                later.setAttribute(QStringLiteral("gradientUnits"), QStringLiteral("objectBoundingBox"));
            if (earlier.hasAttribute(u"gradientTransform") && !later.hasAttribute(u"gradientTransform"))
                later.setAttribute(QStringLiteral("gradientTransform"), QStringLiteral("matrix(1,0,0,1,0,0)"));
            later.setAttribute(QStringLiteral("xlink:href"), QLatin1Char('#') + id);
            while (!later.children().empty())
                later.takeChild(later.children().front().get());
            break;
        }
    }
}

void PTSVGExportCleaner::createClasses()
{
    std::vector<Node*> elements;
    collectElements(root_, elements);
    QHash<QString, QString> classes;
    QStringList order;
    for (Node* element : elements) {
        const Attributes attributes = inheritableAttributes(*element);
        QStringList pairs;
        for (auto it = attributes.begin(); it != attributes.end(); ++it) {
            pairs << QStringLiteral("%1: %2;").arg(it.key(), it.value());
            element->removeAttribute(it.key());
        }
        const QString rule = QStringLiteral("{%1}").arg(pairs.join(QLatin1Char(' ')));
        QString name = classes.value(rule);
        if (name.isEmpty()) {
            name = ids_.generateID();
            classes.insert(rule, name);
            order << rule;
        }
        element->setAttribute(QStringLiteral("class"), name);
    }
    QString sheet;
    for (const QString& rule : order)
        sheet += QLatin1Char('.') + classes.value(rule) + rule;
    auto style = element(QStringLiteral("style"));
    auto text = std::make_unique<Node>(Node::Kind::Text);
    text->setText(sheet);
    style->appendChild(std::move(text));
    root_.insertChild(0, std::move(style));
}

void PTSVGExportCleaner::moveAttributesToGroup(Node& parent)
{
    if (parent.name() == u"script" || parent.name() == u"style" || parent.name() == u"defs")
        return;
    std::vector<Node*> children;
    for (const auto& child : parent.children()) {
        if (child->isElement())
            children.push_back(child.get());
    }
    Attributes running;
    std::vector<Node*> run;
    for (size_t index = 0; index < children.size(); ++index) {
        Node& child = *children[index];
        const Attributes own = inheritableAttributes(child);
        if (running.isEmpty())
            running = own;
        QStringList intersection;
        bool lacksOne = false;
        for (auto it = running.begin(); it != running.end(); ++it) {
            if (!own.contains(it.key()))
                lacksOne = true;
            else if (own.value(it.key()) == it.value())
                intersection << it.key();
        }
        const bool intersects = !lacksOne && !intersection.isEmpty();
        if (intersects) {
            for (const QString& name : intersection)
                child.removeAttribute(name);
            run.push_back(&child);
            if (index + 1 < children.size())
                continue;
        }
        if (run.size() == 1) {
            for (auto it = running.begin(); it != running.end(); ++it)
                run.front()->setAttribute(it.key(), it.value());
        } else if (run.size() >= 2) {
            auto group = element(QStringLiteral("g"));
            for (auto it = running.begin(); it != running.end(); ++it)
                group->setAttribute(it.key(), it.value());
            Node* placed = parent.insertChild(parent.indexOfChild(run.back()) + 1, std::move(group));
            for (Node* member : run)
                placed->appendChild(parent.takeChild(member));
        }
        running.clear();
        run.clear();
    }
}
