#pragma once
// A main window for canvas and renderer tests: the fake of the core tests,
// drawing the card with the card drawing functions over its own card model,
// and counting what the canvas asks of it.
#include "core/FakeMainWindow.h"
#include "core/canvas/CardDrawing.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNDocument.h"
#include "core/model/Shape_Control.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

class CanvasWindow : public FakeMainWindow {
public:
    CanvasWindow()
    {
        canvasBounds = QRectF(0, 0, 300, 200);
        card.Card_Size = canvasBounds.size();
    }

    QRectF graphicViewBounds() const override { return view ? view->bounds() : canvasBounds; }
    QList<LMNGraphic*> Get_Front_Controls_Array() const override
    {
        return view ? view->graphics() : items;
    }
};

// A filled, unrotated rectangle shape.
inline std::shared_ptr<Shape_Control> Make_Rect_Item(const QRectF& r, const QColor& fill, bool stroke = false)
{
    auto s = std::make_shared<Shape_Control>();
    s->Set_Shape_Type(QStringLiteral("R"));
    s->_isDrawingFill = true;
    s->_fillColor = fill;
    s->alpha_val = 1.0f;
    s->_isDrawingStroke = stroke;
    s->_bounds = r;
    return s;
}

// Sends one mouse event to the widget at canvas point `p` (zoom 1).
inline void Send_Mouse(QWidget* w, QEvent::Type type, QPointF p, Qt::MouseButtons buttons,
                       Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent ev(type, p, w->mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : button, buttons, mods);
    QApplication::sendEvent(w, &ev);
}

// Press at `from`, move through `steps` points to `to`, release there.
inline void Drag(QWidget* w, QPointF from, QPointF to, int steps = 4, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    Send_Mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, mods);
    for (int i = 1; i <= steps; ++i)
        Send_Mouse(w, QEvent::MouseMove, from + (to - from) * (double(i) / steps), Qt::LeftButton, mods);
    Send_Mouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton, mods);
}

inline void Click(QWidget* w, QPointF p, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    Send_Mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, mods);
    Send_Mouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton, mods);
}
