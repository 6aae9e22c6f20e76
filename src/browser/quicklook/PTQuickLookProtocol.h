#pragma once

class PTItem;
class PTQuickLook;
class QKeyEvent;

// The preview panel's data source: the item to show, and a first look at the panel's key presses.
class PTQuickLookProtocol {
public:
    virtual ~PTQuickLookProtocol() = default;
    // The item to show; null leaves the panel as it is.
    virtual PTItem* itemForQuickLook(PTQuickLook& quickLook) = 0;
    // True when the data source took the key press; the panel then never sees it.
    virtual bool quickLookHandleEvent(PTQuickLook& /*quickLook*/, QKeyEvent* /*event*/) { return false; }
    virtual void quickLookWillClose(PTQuickLook& /*quickLook*/) {}
    virtual void quickLookDidClose(PTQuickLook& /*quickLook*/) {}
};
