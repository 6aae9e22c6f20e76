#pragma once

#include <QColor>
#include <QString>

#include <vector>

// English names for colours: the nearest of a fixed table of named colours over the whole RGB cube.
namespace NameThatColor {

struct Entry {
    QString hex;
    QString name;
    double r = 0, g = 0, b = 0;
    double h = 0, s = 0, l = 0;
};

// The table in the order of its resource file (ascending hex); built once, on first use.
const std::vector<Entry>& ntc_array();
// The name of the nearest table colour; ties go to the earlier row. `exact`, when given, tells whether it matched
// exactly. "Unknown" when the table is empty.
QString ntc_name(const QColor& color, bool* exact = nullptr);

} // namespace NameThatColor
