#pragma once

#include <functional>

class QWidget;

namespace pt {

// Sheets: windows attached to another window, modal to it alone. A sheet sits under the top edge of its parent,
// centred, and follows it when the parent moves or resizes (on Wayland the compositor places it). A window has
// at most one sheet; a sheet can carry a sheet of its own, which takes its place: the sheet beneath is hidden,
// keeping its state, until the one on it ends.
class SheetHost {
public:
    using Completion = std::function<void(int code)>;

    // Attaches and shows the sheet, on the deepest sheet of the parent's window; the completion runs once, with
    // the code given to end().
    static void begin(QWidget* parent, QWidget* sheet, Completion completion = {});
    // Hides and detaches the sheet, then calls its completion. Nothing when the sheet is not attached.
    static void end(QWidget* sheet, int code);
    // The sheet attached to the window, or null.
    static QWidget* attachedSheet(const QWidget* window);
    // The window a sheet is attached to, or null.
    static QWidget* parentOfSheet(const QWidget* sheet);
    // Moves the sheet to its place under the parent's top edge.
    static void place(QWidget* parent, QWidget* sheet);
};

} // namespace pt
