#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

// CSS declarations: property names (case kept) to trimmed values. Later declarations of a name replace earlier ones.
class PTSVGStyle {
public:
    // "fill: red; stroke : blue" and CSS declaration blocks; a missing final ";" is fine.
    static PTSVGStyle parseStyleString(QStringView text);
    static QString trimString(QStringView text) { return text.trimmed().toString(); }

    void setPropertyValue(const QString& value, const QString& property) { properties_.insert(property, value); }
    // The value of a property, or nullptr when the style does not set it.
    const QString* property(const QString& name) const;
    const QHash<QString, QString>& properties() const { return properties_; }
    void setProperties(const QHash<QString, QString>& properties, bool replaceAll);
    // This style overlaid with the other (the other wins).
    PTSVGStyle mergedStyle(const PTSVGStyle& other) const;
    bool isEmpty() const { return properties_.isEmpty(); }

private:
    QHash<QString, QString> properties_;
};
