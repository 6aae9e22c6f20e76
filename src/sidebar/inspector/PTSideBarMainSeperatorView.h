#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QWidget>

// The line under the inspector's tabs: half-black in the dark theme, a light grey in the light one.
class PTSideBarMainSeperatorView : public QWidget {
    Q_OBJECT
public:
    explicit PTSideBarMainSeperatorView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
