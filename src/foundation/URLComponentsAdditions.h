#pragma once

#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <optional>

// The query of an incoming application URL as nested maps. Values are QString, or QVariantMap for bracketed
// names: callers check the type of what they read.
namespace urlComponentsAdditions {

// How many bracketed parts one item name may nest; the application's own requests need one. URLs come from any
// program, and a deeper name is refused rather than followed.
constexpr qsizetype MaxQueryKeyDepth = 8;

// Each query item, percent-decoded, stored under its base name: "x=1&x=2" keeps "2" under x; "a[b][c]=v" gives
// a = {b: {c: v}}; "f[]=a&f[]=b" gives f = {"1": a, "2": b}. Items with an empty base name are skipped. A name
// nesting deeper than MaxQueryKeyDepth refuses the whole query: the answer is empty and `refused` is set.
// Each item costs a lookup per level, never a pass over the items before it.
QVariantMap queryStringComponents(const QUrl& url, bool* refused = nullptr);
QVariant queryStringComponent(const QUrl& url, const QString& name);

} // namespace urlComponentsAdditions

// The base name of a query item name ("a" of "a[b][c]"), and in subKeys its bracketed parts ("b", "c"; empty for
// a plain name). A malformed name ("a[b[c]]", "a[b]]") answers the base and no subKeys; an empty name answers a
// null string.
QString PTParseBracketedQueryKey(const QString& name, std::optional<QStringList>* subKeys);
// The largest key that holds exactly one non-negative whole number, 0 when none does.
quint64 PTMaxIntegerKey(const QStringList& keys);
