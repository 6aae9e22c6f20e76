#pragma once

#include "app/PTToolbarButton.h"

// The toolbar's gear: the preferences. Its glyph "settings-glyph" is drawn at the scale of the window's screen.
class PTPrefsButton : public PTToolbarButton {
    Q_OBJECT
public:
    static inline const QString GlyphName = QStringLiteral("settings-glyph");

    explicit PTPrefsButton(QWidget* parent = nullptr);

protected:
    void viewRequiresScreenUpdate() override;
};
