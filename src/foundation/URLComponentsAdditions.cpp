#include "foundation/URLComponentsAdditions.h"

#include "foundation/StringAdditions.h"

#include <QUrlQuery>

#include <cmath>

namespace {

// Keys above this are not counted: the next key must still be a whole number that prints exactly.
constexpr double LargestCountedKey = 9007199254740992.0; // 2^53

void insertAlong(QVariantMap& map, const QStringList& keys, qsizetype index, const QVariant& value)
{
    const QString& key = keys.at(index);
    if (index == keys.size() - 1) {
        map.insert(key.isEmpty() ? QString::number(PTMaxIntegerKey(map.keys()) + 1) : key, value);
        return;
    }
    const QVariant existing = map.value(key);
    QVariantMap child = existing.typeId() == QMetaType::QVariantMap ? existing.toMap() : QVariantMap();
    insertAlong(child, keys, index + 1, value);
    map.insert(key, child);
}

} // namespace

namespace urlComponentsAdditions {

QVariantMap queryStringComponents(const QUrl& url)
{
    QVariantMap result;
    const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    for (const auto& [name, value] : items) {
        std::optional<QStringList> subKeys;
        const QString base = PTParseBracketedQueryKey(name, &subKeys);
        if (base.isEmpty())
            continue;
        result.insert(base, PTInsertQueryValue(result.value(base), subKeys.value_or(QStringList()), value));
    }
    return result;
}

QVariant queryStringComponent(const QUrl& url, const QString& name)
{
    return queryStringComponents(url).value(name);
}

} // namespace urlComponentsAdditions

QString PTParseBracketedQueryKey(const QString& name, std::optional<QStringList>* subKeys)
{
    subKeys->reset();
    if (name.isEmpty())
        return QString();
    const qsizetype open = name.indexOf(u'[');
    if (open < 0) {
        *subKeys = QStringList();
        return name;
    }
    const QString base = name.left(open);
    QStringList keys;
    QString current;
    bool inside = false;
    for (qsizetype i = open; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (inside) {
            if (c == u'[')
                return base;
            if (c == u']') {
                keys.append(current);
                current.clear();
                inside = false;
            } else {
                current += c;
            }
        } else if (c == u'[') {
            inside = true;
        } else if (c == u']') {
            return base;
        }
    }
    *subKeys = keys; // an unclosed last bracket is dropped
    return base;
}

quint64 PTMaxIntegerKey(const QStringList& keys)
{
    quint64 largest = 0;
    for (const QString& key : keys) {
        const std::vector<double> numbers = stringAdditions::parseFloats(key);
        if (numbers.size() != 1)
            continue;
        const double number = numbers.front();
        if (number >= 0 && number <= LargestCountedKey && std::floor(number) == number)
            largest = std::max(largest, quint64(number));
    }
    return largest;
}

QVariant PTInsertQueryValue(const QVariant& stored, const QStringList& subKeys, const QVariant& value)
{
    if (subKeys.isEmpty())
        return value;
    QVariantMap top = stored.typeId() == QMetaType::QVariantMap ? stored.toMap() : QVariantMap();
    insertAlong(top, subKeys, 0, value);
    return top;
}
