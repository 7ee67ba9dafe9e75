#pragma once
// Offers commands to an ordered chain of targets and asks the same chain for
// each command's enabled/checked state.
//
// The main window routes through four levels, in this order: the view, the
// document, the frame and the application. Each level is a
// CommandTargetList: the handlers other parts of the program plug in with
// Add() are consulted first, in the order they were added, then the level's
// own handlers (the owner adds itself last).
#include "document/CommandTarget.h"

#include <vector>

// A group of targets consulted in order; itself a target, so that a level of
// the router is one object.
class CommandTargetList : public CommandTarget {
public:
    void Add(CommandTarget* target);
    void Remove(CommandTarget* target);
    bool IsEmpty() const { return m_targets.empty(); }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;
    bool HandlesCommand(int id) const override;

private:
    std::vector<CommandTarget*> m_targets;
};

class CommandRouter {
public:
    // The chain, first target first. Targets are not owned.
    void SetChain(std::vector<CommandTarget*> chain) { m_chain = std::move(chain); }

    // Offers `id` to every target in turn until one handles it; false when
    // none does (the command is then ignored).
    bool Route(int id);

    // The first target with an update handler for `id` decides; without one
    // the command is enabled exactly when some target handles it.
    CommandState State(int id) const;

private:
    std::vector<CommandTarget*> m_chain;
};
