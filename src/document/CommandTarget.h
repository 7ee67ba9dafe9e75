#pragma once
// Command routing: every menu item, toolbar button, accelerator and context
// menu entry sends a numeric command ID. The main window offers each command
// to its targets in order (view, document, frame, application); the first
// that handles it ends the search. Before a menu is shown, and after every
// command, the same targets are asked for each command's enabled and checked
// state.

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // Carries out `id`; false when this target does not handle it.
    virtual bool OnCommand(int id) = 0;

    // Sets the state of `id`; false when this target does not answer for it
    // (the next target is asked; a command nobody answers for is enabled
    // when some target handles it).
    virtual bool OnUpdateCommand(int id, CommandState& state)
    {
        (void)id;
        (void)state;
        return false;
    }

    // True for every `id` that OnCommand carries out. The menus enable such
    // commands unless an update handler says otherwise; a command no target
    // handles is shown disabled.
    virtual bool HandlesCommand(int id) const
    {
        (void)id;
        return false;
    }
};
