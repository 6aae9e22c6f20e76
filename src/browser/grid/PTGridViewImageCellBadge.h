#pragma once

#include "browser/grid/PTGridViewDrawingState.h"

#include <QFont>
#include <QSizeF>
#include <QString>

class PTGridViewCell;
class QPainter;

// The file-type badge of the hovered icon cell: one instance, lent to one cell at a time, which paints it. Its
// label is measured once per label.
class PTGridViewImageCellBadge {
public:
    static PTGridViewImageCellBadge& shared();

    const QString& label() const { return label_; }
    void setLabel(const QString& label);
    qreal padding() const { return padding_; }
    void setPadding(qreal padding) { padding_ = padding; }
    const PTGridViewDrawingState& drawState() const { return drawState_; }
    // Hidden unless the state shows file types.
    void setDrawState(const PTGridViewDrawingState& state);
    bool isHidden() const { return !drawState_.showFileType; }

    // The cell the badge sits on; null when none.
    PTGridViewCell* owner() const { return owner_; }
    void setOwner(PTGridViewCell* cell) { owner_ = cell; }
    // Takes the badge off the cell when it sits there.
    void removeFromCell(const PTGridViewCell* cell);

    // The label's measured size; zero without a label.
    QSizeF proposedSize();
    // The measured size with the padding around it, integral.
    QSizeF size();
    // Paints the badge with its top left at the point, unless hidden.
    void draw(QPainter& painter, const QPointF& origin);

private:
    PTGridViewImageCellBadge();

    QString label_;
    qreal padding_ = 3.0;
    PTGridViewDrawingState drawState_;
    QFont font_;
    QSizeF labelSize_;
    bool measured_ = false;
    PTGridViewCell* owner_ = nullptr;
};
