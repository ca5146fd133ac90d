#pragma once
// What the canvas view's source files share (LMNGraphicView.cpp, its
// creating and its commands); nothing else includes it.
#include "core/model/LMNGraphic.h"

#include <QList>

class QMimeData;

namespace graphic_view {

inline bool Is_Kind(const LMNGraphic* g, LMNKind k)
{
    return g && g->kind() == k;
}

// The indexes start, start + 1, ... of count items.
inline QList<int> Index_Run(int start, qsizetype count)
{
    QList<int> out;
    for (int i = 0; i < count; ++i)
        out.append(start + i);
    return out;
}

// How many times the clipboard changed, standing in for the pasteboard's
// change count. The clipboard is the process's one; its count is kept on it.
qint64 Clipboard_Change_Count();
void Count_Clipboard_Change();
// Counts the clipboard's changes from now on (once for the process).
void Watch_Clipboard();
// Whether the clipboard data names local files (which Paste takes before a
// picture, and makes nothing of).
bool Clipboard_Holds_File_Names(const QMimeData* data);

} // namespace graphic_view
