#pragma once

#include "ui/controls/PTTitleLabel.h"

// A wrapping label whose height fits its text at its width. Stack views follow it through frameChanged().
class PTAutoHeightTextField : public PTTitleLabel {
    Q_OBJECT
public:
    explicit PTAutoHeightTextField(const QString& text = QString(), QWidget* parent = nullptr);
    void setText(const QString& text);
    // Fits the height to the text at the current width.
    void updateHeight();

Q_SIGNALS:
    void frameChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
};
