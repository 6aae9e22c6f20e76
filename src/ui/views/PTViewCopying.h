#pragma once

class QWidget;

// A view that can make a copy of itself: the stack view's separator prototypes.
class PTViewCopying {
public:
    virtual ~PTViewCopying() = default;
    // A new view of the same class, size and settings, without a parent.
    virtual QWidget* copyView() const = 0;
};
