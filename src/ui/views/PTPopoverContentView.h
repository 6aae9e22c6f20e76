#pragma once

#include <QWidget>

// A framed well inside a popover: a faint white rounded rectangle with a thin dark border inside its edge.
class PTPopoverContentView : public QWidget {
    Q_OBJECT
public:
    explicit PTPopoverContentView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
