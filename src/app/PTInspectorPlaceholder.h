#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QWidget>

// Stands in for the inspector until the sidebar exists: an empty column in the sidebar's colour.
class PTInspectorPlaceholder : public QWidget {
    Q_OBJECT
public:
    explicit PTInspectorPlaceholder(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
