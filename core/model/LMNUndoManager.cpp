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

void LMNUndoManager::undo()
{
    checkpoint();
    if (m_undo.empty() || m_target)
        return;
    Group group = std::move(m_undo.back());
    m_undo.pop_back();
    Group inverse;
    m_target = &inverse;
    m_undoing = true;
    for (auto it = group.rbegin(); it != group.rend(); ++it)
        (*it)();
    m_undoing = false;
    m_target = nullptr;
    if (!inverse.empty())
        m_redo.push_back(std::move(inverse));
    if (onCheckpoint)
        onCheckpoint();
}

void LMNUndoManager::redo()
{
    checkpoint();
    if (m_redo.empty() || m_target)
        return;
    Group group = std::move(m_redo.back());
    m_redo.pop_back();
    Group inverse;
    m_target = &inverse;
    m_redoing = true;
    for (auto it = group.rbegin(); it != group.rend(); ++it)
        (*it)();
    m_redoing = false;
    m_target = nullptr;
    if (!inverse.empty())
        m_undo.push_back(std::move(inverse));
    if (onCheckpoint)
        onCheckpoint();
}

void LMNUndoManager::removeAllActions()
{
    m_undo.clear();
    m_redo.clear();
    m_open.clear();
}
