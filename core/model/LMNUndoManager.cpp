#include "core/model/LMNUndoManager.h"

void LMNUndoManager::registerUndo(Action action)
{
    if (!isUndoRegistrationEnabled() || !action)
        return;
    if (m_target) {
        m_target->push_back(std::move(action));
        return;
    }
    if (m_open.empty())
        m_redo.clear();   // a new change forgets what could be redone
    m_open.push_back(std::move(action));
}

void LMNUndoManager::closeOpenGroup()
{
    if (!m_open.empty()) {
        m_undo.push_back(std::move(m_open));
        m_open.clear();
    }
}

void LMNUndoManager::checkpoint()
{
    closeOpenGroup();
    if (onCheckpoint)
        onCheckpoint();
}

bool LMNUndoManager::canUndo() const { return !m_undo.empty() || !m_open.empty(); }

void LMNUndoManager::replayLastGroup(std::vector<Group>& from, std::vector<Group>& to, bool& running)
{
    checkpoint();
    if (from.empty() || m_target)
        return;
    Group group = std::move(from.back());
    from.pop_back();
    Group inverse;
    m_target = &inverse;
    running = true;
    for (auto it = group.rbegin(); it != group.rend(); ++it)
        (*it)();
    running = false;
    m_target = nullptr;
    if (!inverse.empty())
        to.push_back(std::move(inverse));
    if (onCheckpoint)
        onCheckpoint();
}

void LMNUndoManager::undo()
{
    replayLastGroup(m_undo, m_redo, m_undoing);
}

void LMNUndoManager::redo()
{
    replayLastGroup(m_redo, m_undo, m_redoing);
}

void LMNUndoManager::removeAllActions()
{
    m_undo.clear();
    m_redo.clear();
    m_open.clear();
}
