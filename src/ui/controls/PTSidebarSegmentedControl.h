#pragma once

#include "ui/controls/PTToolbarSegmentedControl.h"

// The segmented control of the sidebar: the base of its open-in control.
class PTSidebarSegmentedControl : public PTToolbarSegmentedControl {
    Q_OBJECT
public:
    using PTToolbarSegmentedControl::PTToolbarSegmentedControl;
};
