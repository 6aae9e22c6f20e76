#pragma once

#include "ui/controls/PTTitleLabel.h"

// The label of a metadata row: half-black in the light theme, white at 80% in the dark one.
class PTSidebarMetaLabel : public PTTitleLabel {
    Q_OBJECT
public:
    explicit PTSidebarMetaLabel(const QString& text = QString(), QWidget* parent = nullptr);
};
