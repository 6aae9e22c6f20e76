#pragma once

#include <QString>
#include <QStringView>

#include <utility>
#include <vector>

// CSS declarations: property names (case kept) to trimmed values. Later declarations of a name replace earlier ones.
class PTSVGStyle {
public:
    // "fill: red; stroke : blue" and CSS declaration blocks; a missing final ";" is fine.
    static PTSVGStyle parseStyleString(QStringView text);

    using Property = std::pair<QString, QString>;

    void setPropertyValue(const QString& value, const QString& property);
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
