#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QWidget>

// The background of one row of the replace sheet: odd rows are shaded, and every row but the last draws a line
// along its bottom edge.
class PTReplaceIconTableViewRowView : public QWidget {
    Q_OBJECT
public:
    explicit PTReplaceIconTableViewRowView(QWidget* parent = nullptr);

    qint64 rowIndex() const { return rowIndex_; }
    void setRowIndex(qint64 index);
    bool shouldDrawSeparator() const { return shouldDrawSeparator_; }
    void setShouldDrawSeparator(bool draws);

    // The colours of the theme now; invalid when the row has no shade.
    QColor alternateColor() const;
    QColor separatorColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint64 rowIndex_ = 0;
    bool shouldDrawSeparator_ = false;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
