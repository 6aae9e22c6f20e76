#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <utility>
#include <vector>

// CSS declarations: property names (case kept) to trimmed values. Later declarations of a name replace earlier ones.
class PTSVGStyle {
public:
    // "fill: red; stroke : blue" and CSS declaration blocks; a missing final ";" is fine.
    static PTSVGStyle parseStyleString(QStringView text);

    // The property names that take a colour: "fill", "stroke-colour", "stop-color", "stroke".
    static QStringList allowedColourKeys();
    // Whether a number can be read at the start of the text (after white space): "12px" and " .5" can, "px" and
    // "-" cannot.
    static bool isNumeric(QStringView text);

    using Property = std::pair<QString, QString>;

    void setPropertyValue(const QString& value, const QString& property);
    // Sets each given property in turn; with replaceAll the style's own properties are dropped first.
    void setProperties(const std::vector<Property>& properties, bool replaceAll);
    // The value of a property, or nullptr when the style does not set it.
    const QString* property(QStringView name) const;
    // Name and value pairs in the order the names first appeared.
    const std::vector<Property>& properties() const { return properties_; }
    // This style overlaid with the other (the other wins).
    PTSVGStyle mergedStyle(const PTSVGStyle& other) const;
    bool isEmpty() const { return properties_.empty(); }

private:
    // A handful of declarations per element: a short list beats a hash table here.
    std::vector<Property> properties_;
};
