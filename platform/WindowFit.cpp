#include "platform/WindowFit.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSizePolicy>
#include <QWidget>

#include <algorithm>

QSize Usable_Inside_Size(const QScreen* screen)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(1366, 768).shrunkBy(Window_Frame_Margins) - QSize(0, Desktop_Panel_Height);
    const QRect avail = screen->availableGeometry();
    const QRect whole = screen->geometry();
    const int height = std::min(avail.height(), whole.height() - Desktop_Panel_Height);
    return QSize(avail.width(), height).shrunkBy(Window_Frame_Margins);
}

void Keep_Room_When_Hidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}
