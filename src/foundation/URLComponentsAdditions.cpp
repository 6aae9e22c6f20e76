#include "foundation/URLComponentsAdditions.h"

#include "foundation/StringAdditions.h"

#include <QUrlQuery>

#include <cmath>
#include <map>
#include <memory>

namespace {

// Keys above this are not counted: the next key must still be a whole number that prints exactly.
constexpr double LargestCountedKey = 9007199254740992.0; // 2^53

// The whole number a key counts as for appending, 0 when it holds none.
quint64 integerKey(const QString& key)
{
    const std::vector<double> numbers = stringAdditions::parseFloats(key);
    if (numbers.size() != 1)
        return 0;
    const double number = numbers.front();
    return number >= 0 && number <= LargestCountedKey && std::floor(number) == number ? quint64(number) : 0;
}

// The query while it is built: each map holds its entries in place and remembers the largest whole-number key
// it has held, so that an appended value costs no scan of the keys.
struct Node;
struct Map {
    std::map<QString, Node> entries;
    quint64 largestKey = 0;

    Node& entry(const QString& key);
};
struct Node {
    QVariant value;
    std::unique_ptr<Map> map;
};

Node& Map::entry(const QString& key)
{
    largestKey = std::max(largestKey, integerKey(key));
    return entries[key];
}

// Where the value goes along the keys from the map: plain values on the way become maps, an empty last key
// appends under the next whole number.
void insert(Map& top, const QString& base, const QStringList& subKeys, const QVariant& value)
{
    Map* map = &top;
    QString key = base;
    for (qsizetype i = 0; i < subKeys.size(); ++i) {
        Node& node = map->entry(key);
        if (!node.map) {
            node.map = std::make_unique<Map>();
            node.value.clear();
        }
        map = node.map.get();
        const bool appends = i == subKeys.size() - 1 && subKeys.at(i).isEmpty();
        key = appends ? QString::number(map->largestKey + 1) : subKeys.at(i);
    }
    Node& node = map->entry(key);
    node.map.reset();
    node.value = value;
}

// Maps nest at most MaxQueryKeyDepth deep, so the recursion is bounded.
QVariantMap toVariantMap(const Map& map)
{
    QVariantMap result;
    for (const auto& [key, node] : map.entries)
        result.insert(key, node.map ? QVariant(toVariantMap(*node.map)) : node.value);
    return result;
}

} // namespace

namespace urlComponentsAdditions {

QVariantMap queryStringComponents(const QUrl& url, bool* refused)
{
    if (refused)
        *refused = false;
    Map result;
    const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    for (const auto& [name, value] : items) {
        std::optional<QStringList> subKeys;
        const QString base = PTParseBracketedQueryKey(name, &subKeys);
        if (base.isEmpty())
            continue;
        if (subKeys && subKeys->size() > MaxQueryKeyDepth) {
            if (refused)
                *refused = true;
            return QVariantMap();
        }
        insert(result, base, subKeys.value_or(QStringList()), value);
    }
    return toVariantMap(result);
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
    for (const QString& key : keys)
        largest = std::max(largest, integerKey(key));
    return largest;
}
