#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>

#include <optional>

// A label of a grid cell that measures itself: the width of its first line and the font's full line height,
// measured once per string and font.
class PTGridViewCellLabel {
public:
    const QString& string() const { return string_; }
    void setString(const QString& string);
    const QFont& font() const { return font_; }
    void setFont(const QFont& font);
    // The zero size without a string.
    QSizeF proposedSize() const;

private:
    QString string_;
    QFont font_;
    mutable std::optional<QSizeF> size_;
};
