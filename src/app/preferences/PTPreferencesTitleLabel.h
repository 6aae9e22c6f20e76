#pragma once

#include "ui/controls/PTTitleLabel.h"

// The title of a preference row or section.
class PTPreferencesTitleLabel : public PTTitleLabel {
    Q_OBJECT
public:
    explicit PTPreferencesTitleLabel(const QString& text = QString(), QWidget* parent = nullptr);
};
