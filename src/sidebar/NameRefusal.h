#pragma once

#include <QString>

// Why a name typed for a set, group or icon cannot be stored ("/", NUL or other control characters), or empty when
// it can. The source list and the inspector refuse the same names with the same words.
QString nameRefusal(const QString& name);
