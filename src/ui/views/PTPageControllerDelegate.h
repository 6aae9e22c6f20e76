#pragma once

#include "ui/views/PTPageControllerView.h"

#include <optional>

// What a page controller view asks and tells about a page change, in this order: the transition to use, the
// change about to happen, the timing as the transition starts, and the change done. Every hook is optional.
class PTPageControllerDelegate {
public:
    virtual ~PTPageControllerDelegate() = default;

    // A transition to use in place of the default push; none keeps the default. oldPage is the page at the
    // index selected before, which on the first page is the page asked for itself.
    virtual std::optional<PTPageControllerView::Transition> customTransition(PTPageControllerView* /*view*/,
                                                                             QWidget* /*oldPage*/,
                                                                             QWidget* /*newPage*/)
    {
        return std::nullopt;
    }
    // from is null on the first page.
    virtual void willTransition(PTPageControllerView* /*view*/, QWidget* /*from*/, QWidget* /*to*/) {}
    // The context's duration and timing function are those the transition then runs with.
    virtual void willStartTransition(PTPageControllerView* /*view*/,
                                     PTPageControllerView::TransitionContext& /*context*/)
    {
    }
    virtual void didTransition(PTPageControllerView* /*view*/, QWidget* /*to*/, QWidget* /*from*/) {}
};
