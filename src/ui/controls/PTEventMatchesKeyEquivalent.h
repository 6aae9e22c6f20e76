#pragma once

#include <QString>
#include <Qt>

// Whether a key press is the key equivalent under the modifier mask. Command is Ctrl, Option is Alt, Control is
// Meta. The press's characters are its text, or for a key without text (arrows, F-keys, Home, ...) its
// QKeySequence name ("F5", "Left"); the equivalent is compared with them exactly, and an empty one never
// matches. Shift is compared only for control characters (Return, Esc, ...) and keys without text; for
// printable keys it is ignored.
bool PTEventMatchesKeyEquivalent(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                                 Qt::KeyboardModifiers mask, const QString& equivalent);
