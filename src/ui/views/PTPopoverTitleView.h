#pragma once

#include <QLabel>

// The title of a popover, with a light line along its bottom edge.
class PTPopoverTitleView : public QLabel {
    Q_OBJECT
public:
    explicit PTPopoverTitleView(const QString& title = QString(), QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
