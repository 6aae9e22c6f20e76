#pragma once

#include "app/PTToolbarButton.h"

// The toolbar's plus: a new set. Its glyph "addset-glyph" is drawn at the scale of the window's screen.
class PTAddButton : public PTToolbarButton {
    Q_OBJECT
public:
    static inline const QString GlyphName = QStringLiteral("addset-glyph");

    explicit PTAddButton(QWidget* parent = nullptr);

protected:
    void viewRequiresScreenUpdate() override;
};
