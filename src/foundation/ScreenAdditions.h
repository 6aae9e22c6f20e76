#pragma once

class QScreen;

// Screens and their backing scale (device pixels per point).
namespace screenAdditions {

// The main screen: the one showing the active window, else the primary screen; nullptr without screens.
QScreen* mainScreen();
// The scale of the main screen; 1 without screens.
double scale();
// The scale of the screen; 1 for none.
double scale(const QScreen* screen);
// The screen the desktop counts as first (the one with the panel), or nullptr without screens.
QScreen* primaryScreen();

} // namespace screenAdditions
