#pragma once
// A small undo registry for the document: actions are gathered into groups
// that a checkpoint closes; undoing a group runs its actions last first, and
// whatever they register while undoing becomes the group's redo.
//
// This is the document's own bookkeeping (it takes back a new item that was
// given no size); the user's Undo and Redo are the main window's snapshots.
#include <functional>
#include <vector>

class LMNUndoManager {
public:
    using Action = std::function<void()>;

    void registerUndo(Action action);
    // Closes the open group and tells the checkpoint listener.
    void checkpoint();
    std::function<void()> onCheckpoint;

    bool canUndo() const;
    bool canRedo() const { return !m_redo.empty(); }
    void undo();
    void redo();
    bool isUndoing() const { return m_undoing; }
    bool isRedoing() const { return m_redoing; }

    void disableUndoRegistration() { ++m_disabled; }
    void enableUndoRegistration()
    {
        if (m_disabled > 0)
            --m_disabled;
    }
    bool isUndoRegistrationEnabled() const { return m_disabled == 0; }
    void removeAllActions();

    int undoGroupCount() const { return int(m_undo.size()) + (m_open.empty() ? 0 : 1); }

private:
    using Group = std::vector<Action>;
    void closeOpenGroup();
    // Runs the last group of `from` backwards, collecting the inverse actions into `to`.
    void replayLastGroup(std::vector<Group>& from, std::vector<Group>& to, bool& running);
    std::vector<Group> m_undo;
    std::vector<Group> m_redo;
    Group m_open;
    Group* m_target = nullptr;   // group collecting during undo or redo
    bool m_undoing = false;
    bool m_redoing = false;
    int m_disabled = 0;
};
