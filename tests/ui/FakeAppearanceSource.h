#pragma once

#include "platform/desktop/SystemAppearanceSource.h"

// A desktop whose appearance the test sets by hand.
class FakeAppearanceSource : public pt::SystemAppearanceSource {
public:
    void start() override { ++starts; }
    void answer(int appearance) { Q_EMIT appearanceChanged(appearance); }

    int starts = 0;
};
