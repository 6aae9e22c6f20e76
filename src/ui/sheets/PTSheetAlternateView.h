#pragma once

#include <QWidget>

// A highlighted band inside a sheet: a pale blue fill between two faint lines.
class PTSheetAlternateView : public QWidget {
    Q_OBJECT
public:
    explicit PTSheetAlternateView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
