#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include "ui/views/PTView.h"

// The body of a sheet: a rounded rectangle on the theme's sheet colour (sheets themselves are translucent).
class PTSheetView : public PTView {
    Q_OBJECT
public:
    explicit PTSheetView(QWidget* parent = nullptr);
    QColor fillColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
