#pragma once

#include <QTableView>

// A table that reports a double click below or beside its rows. A double click on a row is swallowed: it
// neither edits nor emits doubleClicked().
class PTTableView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

signals:
    void doubleClickedEmptySpace();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
