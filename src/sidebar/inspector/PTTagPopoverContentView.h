#pragma once

#include <QWidget>

// The body of a tag popover: white, with a red hairline across its middle.
class PTTagPopoverContentView : public QWidget {
    Q_OBJECT
public:
    explicit PTTagPopoverContentView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
