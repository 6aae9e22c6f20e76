#pragma once

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>

class QPainter;
class QRectF;

// Measures and draws the search field's result badge: a pill with the count on the left and, on its right end,
// the close part with a stop mark. Colours follow the theme at every draw.
class PTToolbarSearchFieldBadgeCell {
public:
    PTToolbarSearchFieldBadgeCell();

    const QString& title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    double padding() const { return padding_; }
    void setPadding(double padding) { padding_ = padding; }
    double closePadding() const { return closePadding_; }
    void setClosePadding(double closePadding) { closePadding_ = closePadding; }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { highlighted_ = highlighted; }

    // Text width plus twice the padding plus 18; with no title, the close part and 8 (height 0).
    QSizeF proposedSize() const;
    void draw(QPainter& painter, const QRectF& frame) const;
    QColor fillColor() const;
    QColor titleColor() const;

    static constexpr int PressedCloseHEX = 0xCFD7E7;

private:
    QSizeF titleSize() const;

    QString title_;
    QFont font_;
    double padding_ = 8;
    double closePadding_ = 20;
    bool highlighted_ = false;
};
