#pragma once

#include "app/preferences/PTPreferencesPane.h"

// How icons dragged or copied out of the grid are made: colour, renderer, size, and hiding the window.
class PTPreferencesDraggingViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("dragging");
    explicit PTPreferencesDraggingViewController(QWidget* parent = nullptr);
};
