#pragma once

#include <QWidget>

// A bare view that placeholders may carry as a host for their artwork; it adds no behaviour of its own.
class PTEmptyAnimView : public QWidget {
    Q_OBJECT
public:
    explicit PTEmptyAnimView(QWidget* parent = nullptr);
};
