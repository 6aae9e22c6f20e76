#pragma once

class QWidget;

namespace viewAdditions {

// True when the widget has the keyboard focus of its window and that window is the active one.
bool isFirstResponder(const QWidget* widget);

} // namespace viewAdditions
