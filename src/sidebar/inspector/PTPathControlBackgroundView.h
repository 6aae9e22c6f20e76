#pragma once

#include <QWidget>

// The pale blue band behind a path control, the same in both themes.
class PTPathControlBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit PTPathControlBackgroundView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
