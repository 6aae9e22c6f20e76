#include "foundation/ViewAdditions.h"

#include <QWidget>

namespace viewAdditions {

bool isFirstResponder(const QWidget* widget)
{
    if (!widget)
        return false;
    const QWidget* window = widget->window();
    return window->isActiveWindow() && window->focusWidget() == widget;
}

} // namespace viewAdditions
