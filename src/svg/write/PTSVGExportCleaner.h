#pragma once

#include "svg/write/PTSVGExportOptions.h"
#include "svg/dom/PTSVGXmlNode.h"

#include <QMap>
#include <QString>

#include <memory>

class PTSVGIdGenerator;

// The cleaning passes of the SVG exporter, run once in this order, each behind its option bit: hidden elements
// (0x100), repeated paths (0x10), empty defs (0x4), single-child groups (0x40), empty groups (0x2), attribute
// order (0x20), identical neighbours (0x40), repeated gradients (0x800), classes (0x1000) and shared attributes
// of top-level runs (0x8). None changes what the document draws.
class PTSVGExportCleaner {
public:
    using Attributes = QMap<QString, QString>;

    // defs may be inside the tree or held by defsHolder; the empty-defs pass moves it back into the holder.
    PTSVGExportCleaner(PTSVGXmlNode& root, PTSVGXmlNode& defs, std::unique_ptr<PTSVGXmlNode>& defsHolder,
                       PTSVGIdGenerator& ids);
    void run(PTSVGExportOptions options);

    static bool isInheritable(const QString& name);
    // Same name, same number of attributes, same texts.
    static bool compareElement(const PTSVGXmlNode& a, const PTSVGXmlNode& b);
    static bool compareElementChildren(const PTSVGXmlNode& a, const PTSVGXmlNode& b);
    static void sortAttributesOnElement(PTSVGXmlNode& element);
    static Attributes inheritableAttributes(const PTSVGXmlNode& element);

private:
    void removeHiddenElements();
    void convertUseElements();
    void cleanDef();
    void collapseGroups();
    void cleanEmptyGroups();
    void compressGroups();
    void collapseGradients();
    void createClasses();
    void moveAttributesToGroup(PTSVGXmlNode& element);

    PTSVGXmlNode& root_;
    PTSVGXmlNode& defs_;
    std::unique_ptr<PTSVGXmlNode>& defsHolder_;
    PTSVGIdGenerator& ids_;
};
