#pragma once

#include <QString>

namespace pt::store {

// The comparison form of CONTAINS[cd] on a column kept as written: canonical decomposition, the non-spacing
// marks of the basic plane removed, case folded. The same function runs in SQL (pt_fold) and in memory, so both
// give the same answers.
QString foldCaseAndDiacritics(const QString& text);

// The form search columns are stored in, and so the form a term searched in them must take: full-width and
// half-width forms folded to their ordinary width, canonical decomposition, every non-spacing mark removed,
// case folded. No other compatibility folding: a ligature stays itself and "ß" stays "ß".
QString foldWidthCaseAndDiacritics(const QString& text);

} // namespace pt::store
