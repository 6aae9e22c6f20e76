#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QPushButton>

// The round action button of sheet heads: 18 x 18, drawn as three dots in the theme's colour.
class PTSheetViewTitleBarActionControl : public QPushButton {
    Q_OBJECT
public:
    explicit PTSheetViewTitleBarActionControl(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
