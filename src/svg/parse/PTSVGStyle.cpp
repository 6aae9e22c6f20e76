#include "svg/parse/PTSVGStyle.h"

#include "svg/PTSVGUtils.h"

PTSVGStyle PTSVGStyle::parseStyleString(QStringView text)
{
    PTSVGStyle style;
    qsizetype start = 0;
    QStringView name, value;
    bool haveName = false, haveValue = false;
    const qsizetype count = text.size();
    for (qsizetype i = 0; i < count; ++i) {
        const QChar c = text[i];
        if (c == u';') {
            value = text.mid(start, i - start);
            haveValue = true;
            start = i + 1;
        } else if (c == u':') {
            name = text.mid(start, i - start);
            haveName = true;
            start = i + 1;
        } else if (i == count - 1) {
            value = text.mid(start);
            haveValue = true;
        }
        if (haveName && haveValue) {
            style.setPropertyValue(value.trimmed().toString(), name.trimmed().toString());
            haveName = haveValue = false;
        }
    }
    return style;
}

QStringList PTSVGStyle::allowedColourKeys()
{
    return {QStringLiteral("fill"), QStringLiteral("stroke-colour"), QStringLiteral("stop-color"),
            QStringLiteral("stroke")};
}

bool PTSVGStyle::isNumeric(QStringView text)
{
    return PTSVGUtils::scanLeadingFloat(text).has_value();
}

void PTSVGStyle::setProperties(const std::vector<Property>& properties, bool replaceAll)
{
    if (replaceAll)
        properties_.clear();
    for (const auto& [name, value] : properties)
        setPropertyValue(value, name);
}

void PTSVGStyle::setPropertyValue(const QString& value, const QString& property)
{
    for (auto& entry : properties_) {
        if (entry.first == property) {
            entry.second = value;
            return;
        }
    }
    properties_.emplace_back(property, value);
}

const QString* PTSVGStyle::property(QStringView name) const
{
    for (const auto& entry : properties_) {
        if (entry.first == name)
            return &entry.second;
    }
    return nullptr;
}

PTSVGStyle PTSVGStyle::mergedStyle(const PTSVGStyle& other) const
{
    PTSVGStyle merged = *this;
    for (const auto& [name, value] : other.properties_)
        merged.setPropertyValue(value, name);
    return merged;
}
