#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QWidget>

// The two-tone background of the welcome windows: a panel on the left (a pale blue gradient in the light theme,
// with a faint shadow along its inner edge) and the rest in the content colour.
class PTSplashWindowBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit PTSplashWindowBackgroundView(QWidget* parent = nullptr);
    qreal panelWidth() const { return panelWidth_; }
    void setPanelWidth(qreal width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal panelWidth_ = 260;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
