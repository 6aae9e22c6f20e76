#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QPushButton>

// The "Add Icons" button under the source list: a cross and the title, centred, drawn without a bezel on the
// sidebar's background of the current theme.
class PTSourceAddButton : public QPushButton {
    Q_OBJECT
public:
    explicit PTSourceAddButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
