#pragma once

#include <QString>

namespace pt::store {

// The comparison form of CONTAINS[cd]: canonical decomposition, combining marks removed, case folded. The
// same function runs in SQL (pt_fold) and in memory, so both give the same answers.
QString foldCaseAndDiacritics(const QString& text);

} // namespace pt::store
