#pragma once

#include "ui/controls/PTClickableTextField.h"

// A small clickable label with a paler colour pair of its own.
class PTSmallTextLabel : public PTClickableTextField {
    Q_OBJECT
public:
    explicit PTSmallTextLabel(const QString& text = QString(), QWidget* parent = nullptr);
};
