#pragma once

#include <QWidget>

// A white veil at 35% over part of a panel, fading what lies under it.
class PTPanelFadedView : public QWidget {
    Q_OBJECT
public:
    explicit PTPanelFadedView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
