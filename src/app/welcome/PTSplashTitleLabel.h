#pragma once

#include "ui/controls/PTTitleLabel.h"

// The titles of the welcome windows.
class PTSplashTitleLabel : public PTTitleLabel {
    Q_OBJECT
public:
    explicit PTSplashTitleLabel(const QString& text = QString(), QWidget* parent = nullptr);
};
