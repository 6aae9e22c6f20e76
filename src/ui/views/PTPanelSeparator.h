#pragma once

#include "ui/theme/PTAppearanceObserver.h"
#include "ui/views/PTViewCopying.h"

#include <QWidget>

// The one-pixel line between the sections of panels and sheets; a stack view separator prototype. Its colour
// depends on the theme and on where it sits (a sheet, a softened line, under a title bar).
class PTPanelSeparator : public QWidget, public PTViewCopying {
    Q_OBJECT
public:
    explicit PTPanelSeparator(QWidget* parent = nullptr);

    bool isSheet() const { return isSheet_; }
    bool soften() const { return soften_; }
    bool isTitleBar() const { return isTitleBar_; }
    void setIsSheet(bool sheet);
    void setSoften(bool soften);
    void setIsTitleBar(bool titleBar);
    // The colour of the line now.
    QColor lineColor() const;
    QWidget* copyView() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool isSheet_ = false;
    bool soften_ = false;
    bool isTitleBar_ = false;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
