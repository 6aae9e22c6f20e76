#pragma once

#include <QAbstractScrollArea>

// The scroll view of the grid: it carries a top and a bottom margin, and its vertical scroll bar runs between
// them.
class PTScrollView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit PTScrollView(QWidget* parent = nullptr);

    // Edge 0 is the bottom; any other edge the top.
    void setMargin(qreal margin, int edge);
    qreal marginForEdge(int edge) const;
    // Places the vertical scroll bar between the margins.
    void tile();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    qreal topMargin_ = 0;
    qreal bottomMargin_ = 0;
    bool tiling_ = false;
};
