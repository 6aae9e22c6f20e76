#pragma once

#include <QString>

namespace pt {

// What a validation says about a command: whether it can run now, and the title and check mark its menu item or
// button shows (an empty title keeps the item's own).
struct CommandState {
    bool enabled = true;
    QString title;
    bool checkable = false;
    bool checked = false;
};

// Something that answers commands, named by strings such as "copy:" or "toggleTheme:". Widgets become handlers
// by also deriving from this class; windows and the application register theirs with the ActionRouter.
class CommandHandler {
public:
    virtual ~CommandHandler() = default;
    virtual bool respondsTo(const QString& command) const = 0;
    // Fills in the state; answering false disables the command (no later handler is asked).
    virtual bool validate(const QString& command, CommandState& state)
    {
        Q_UNUSED(command);
        Q_UNUSED(state);
        return true;
    }
    virtual void perform(const QString& command) = 0;
};

} // namespace pt
