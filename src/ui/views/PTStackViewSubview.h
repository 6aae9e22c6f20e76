#pragma once

class PTStackView;

// Arranged views that want to know their row parity (for alternating backgrounds) derive from this.
class PTStackViewSubview {
public:
    virtual ~PTStackViewSubview() = default;
    // Called on every layout pass: true for the views at odd positions among the visible ones.
    virtual void setSubviewIsAlternate(PTStackView* stackView, bool alternate) = 0;
};
