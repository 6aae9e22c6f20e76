#pragma once

#include <QWidget>

// The plain view behind the toolbar's search field: nearly opaque white with a one-pixel line along its bottom.
class PTSearchContainerView : public QWidget {
    Q_OBJECT
public:
    explicit PTSearchContainerView(QWidget* parent = nullptr);

    static constexpr int LineHEX = 0xD9DDE0;

protected:
    void paintEvent(QPaintEvent* event) override;
};
