#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QWidget>

// A top-level window that follows the application's theme: its background is the palette's window colour of the
// current theme. The main window derives from it.
class PTAppearanceWindow : public QWidget {
    Q_OBJECT
public:
    explicit PTAppearanceWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);
    // Re-applies the theme's window background.
    void updateAppearance();

private:
    PTAppearanceObserver appearanceObserver_{this, &PTAppearanceWindow::updateAppearance};
};
