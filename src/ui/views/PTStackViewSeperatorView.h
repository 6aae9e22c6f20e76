#pragma once

#include "ui/theme/PTAppearanceObserver.h"
#include "ui/views/PTViewCopying.h"

#include <QWidget>

// The ready-made separator prototype of stack views: a faint line that follows the theme.
class PTStackViewSeperatorView : public QWidget, public PTViewCopying {
    Q_OBJECT
public:
    explicit PTStackViewSeperatorView(QWidget* parent = nullptr);
    QWidget* copyView() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
