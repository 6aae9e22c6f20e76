#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QWidget>

// A plain backdrop for a panel's pane: filled in the theme's colour, with a one-point line down its right edge.
class PTQuickLookBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit PTQuickLookBackgroundView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
