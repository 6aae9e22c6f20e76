#pragma once

#include <QWidget>

// The bar along the bottom of the grid column: two hairlines at its top edge that dim with the window.
class PTWindowBottomBar : public QWidget {
    Q_OBJECT
public:
    explicit PTWindowBottomBar(QWidget* parent = nullptr);
    // 0.7 while the window or its own sheet is active, else 0.35.
    qreal lineAlpha() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};
