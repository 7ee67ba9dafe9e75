#include "document/CommandRouter.h"

#include <algorithm>

void CommandTargetList::Add(CommandTarget* target)
{
    if (target && std::find(m_targets.begin(), m_targets.end(), target) == m_targets.end())
        m_targets.push_back(target);
}

void CommandTargetList::Remove(CommandTarget* target)
{
    m_targets.erase(std::remove(m_targets.begin(), m_targets.end(), target), m_targets.end());
}

bool CommandTargetList::OnCommand(int id)
{
    // A copy: a handler may add or remove targets (a dialog closing, say).
    const auto targets = m_targets;
    for (CommandTarget* t : targets)
        if (t->OnCommand(id))
            return true;
    return false;
}

bool CommandTargetList::OnUpdateCommand(int id, CommandState& state)
{
    for (CommandTarget* t : m_targets)
        if (t->OnUpdateCommand(id, state))
            return true;
    return false;
}

bool CommandTargetList::HandlesCommand(int id) const
{
    return std::any_of(m_targets.begin(), m_targets.end(),
                       [id](const CommandTarget* t) { return t->HandlesCommand(id); });
}

bool CommandRouter::Route(int id)
{
    const auto chain = m_chain;
    for (CommandTarget* t : chain)
        if (t && t->OnCommand(id))
            return true;
    return false;
}

CommandState CommandRouter::State(int id) const
{
    CommandState state;
    for (CommandTarget* t : m_chain)
        if (t && t->OnUpdateCommand(id, state))
            return state;
    state = CommandState{};
    state.enabled = std::any_of(m_chain.begin(), m_chain.end(),
                                [id](const CommandTarget* t) { return t && t->HandlesCommand(id); });
    return state;
}
