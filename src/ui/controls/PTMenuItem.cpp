#include "ui/controls/PTMenuItem.h"

PTMenuItem::PTMenuItem(const QString& title, QObject* parent) : QAction(title, parent)
{
    connect(this, &QAction::triggered, this, [this] {
        if (callHandler_)
            callHandler_();
    });
}
