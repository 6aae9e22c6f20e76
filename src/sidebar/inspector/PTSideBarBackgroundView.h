#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QWidget>

// The inspector column's background, in the sidebar colour of the theme.
class PTSideBarBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit PTSideBarBackgroundView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
