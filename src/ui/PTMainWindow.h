#pragma once

class QWidget;

// The main window: the parent of sheets and modal work. The application shell sets it once it has built it;
// null until then (and in tools without one).
QWidget* PTMainWindow();
void PTSetMainWindow(QWidget* window);
