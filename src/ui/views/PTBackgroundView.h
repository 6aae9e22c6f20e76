#pragma once

#include "ui/theme/PTAppearanceObserver.h"
#include "ui/views/PTView.h"

#include <QColor>

// A view that fills itself with one colour. Without a colour of its own it paints the panel background of the
// current theme (the sidebar colour).
class PTBackgroundView : public PTView {
    Q_OBJECT
public:
    explicit PTBackgroundView(QWidget* parent = nullptr);
    QColor backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor backgroundColor_;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
