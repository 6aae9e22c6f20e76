#pragma once

#include "ui/theme/PTAppearanceObserver.h"
#include "ui/views/PTStackViewSubview.h"

#include <QWidget>

// A row of a preference pane's stack: odd rows draw a faint white stripe.
class PTPreferencesRowView : public QWidget, public PTStackViewSubview {
    Q_OBJECT
public:
    explicit PTPreferencesRowView(QWidget* parent = nullptr);

    bool isAlternate() const { return isAlternate_; }
    void setIsAlternate(bool alternate);
    void setSubviewIsAlternate(PTStackView* stackView, bool alternate) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool isAlternate_ = false;
    PTAppearanceObserver appearanceObserver_ = PTAppearanceObserver::repainting(this);
};
