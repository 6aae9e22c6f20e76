#pragma once

#include "ui/theme/PTAppearanceObserver.h"
#include "ui/views/PTStackView.h"

// The head band of sheets: a stack of the title and subtitle on the theme's title-bar colour, optionally with
// rounded top corners and a line along its bottom. Dragging it moves the window.
class PTSheetViewTitleBackgroundView : public PTStackView {
    Q_OBJECT
public:
    explicit PTSheetViewTitleBackgroundView(QWidget* parent = nullptr);

    bool wantsSeperator() const { return wantsSeperator_; }
    void setWantsSeperator(bool wants);
    bool wantsRoundedCorners() const { return wantsRoundedCorners_; }
    void setWantsRoundedCorners(bool wants);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool wantsSeperator_ = false;
    bool wantsRoundedCorners_ = false;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
