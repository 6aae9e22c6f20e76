#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QAbstractButton>

// A Light or Dark appearance choice: a small picture of a window in that theme, ringed in blue when chosen and
// lifted by a faint shadow otherwise.
class PTPreferencesAppearanceButton : public QAbstractButton {
    Q_OBJECT
public:
    PTPreferencesAppearanceButton(int appearance, const QString& accessibleName, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {64, 44}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int appearance_;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
