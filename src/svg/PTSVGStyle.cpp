#include "svg/PTSVGStyle.h"

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
            style.properties_.insert(name.trimmed().toString(), value.trimmed().toString());
            haveName = haveValue = false;
        }
    }
    return style;
}

const QString* PTSVGStyle::property(const QString& name) const
{
    const auto it = properties_.constFind(name);
    return it == properties_.constEnd() ? nullptr : &*it;
}

void PTSVGStyle::setProperties(const QHash<QString, QString>& properties, bool replaceAll)
{
    if (replaceAll)
        properties_.clear();
    properties_.insert(properties);
}

PTSVGStyle PTSVGStyle::mergedStyle(const PTSVGStyle& other) const
{
    PTSVGStyle merged = *this;
    merged.properties_.insert(other.properties_);
    return merged;
}
