#pragma once
// Message boxes raised by the canvas and the renderer: the program's own.
#include "core/util/MessageBoxes.h"

inline void Canvas_Show_Message(const QString& text) { Show_MessageBox(text); }
inline void Canvas_Log(const QString& text) { Show_NSLog_Message(text); }
