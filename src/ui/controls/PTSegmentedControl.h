#pragma once

#include "ui/controls/PTToolbarSegmentedControl.h"

// The segmented control of sheets and panels: the base of the URL-opening control and the colour wells.
class PTSegmentedControl : public PTToolbarSegmentedControl {
    Q_OBJECT
public:
    using PTToolbarSegmentedControl::PTToolbarSegmentedControl;
};
