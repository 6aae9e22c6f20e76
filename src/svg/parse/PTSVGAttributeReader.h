#pragma once

#include "svg/parse/PTSVGStyle.h"

#include <QColor>
#include <QStringView>

#include <initializer_list>
#include <optional>

class PTSVGNode;
class PTSVGTreeBuilder;
class PTSVGXmlNode;

// Reads the presentation attributes of one element onto its node. A value from the style sheet or the style
// attribute wins over the XML attribute of the same name; empty values are ignored.
class PTSVGAttributeReader {
public:
    PTSVGAttributeReader(PTSVGTreeBuilder& builder, const PTSVGXmlNode& element, PTSVGNode& node,
                         std::initializer_list<QStringView> ignore);

    void apply();

private:
    // The effective value of an attribute, or nullptr when ignored, absent or empty.
    const QString* value(QStringView name) const;
    void readLengths();
    void readReferences();
    // Sets the paint from colour text; unreadable text gives the fallback.
    void setPaintColor(bool fill, const QString& text, const std::optional<QColor>& fallback);
    void readPaint(QStringView name, bool fill);
    void readDashArray(const QString& text);
    void readFillOpacity();

    PTSVGTreeBuilder& builder_;
    const PTSVGXmlNode& element_;
    PTSVGNode& node_;
    std::initializer_list<QStringView> ignore_;
    PTSVGStyle style_;
};
