#pragma once
// Room a window may take on the screen. A window manager draws a frame
// around each window (measured under openbox: 1 pixel at the left and the
// right, a 20-pixel title bar and a 5-pixel handle at the bottom), and a
// desktop panel of up to 32 pixels often takes the top or the bottom edge.
// A window whose inside fits Usable_Inside_Size() fits with its frame beside
// such a panel, on a 1366 x 768 screen too.
#include <QMargins>
#include <QSize>

class QScreen;
class QWidget;

inline constexpr QMargins Window_Frame_Margins{1, 20, 1, 5};   // left, top, right, bottom
inline constexpr int Desktop_Panel_Height = 32;

// The largest inside size of a window on `screen` (the primary screen when
// null): the available area, at most the screen less the panel, less the frame.
QSize Usable_Inside_Size(const QScreen* screen = nullptr);

// The frame size of a window whose inside is `inside`.
inline QSize Frame_Size_Of(QSize inside)
{
    return inside.grownBy(Window_Frame_Margins);
}

// A control shown only with some options keeps its room while hidden, so
// that choosing an option moves nothing else in its window.
void Keep_Room_When_Hidden(QWidget* widget);
