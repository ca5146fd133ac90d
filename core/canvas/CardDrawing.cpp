#include "core/canvas/CardDrawing.h"

#include "core/canvas/CanvasMessages.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNGraphic.h"

#include <QFontMetricsF>
#include "platform/Fonts.h"
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTextOption>
#include <cmath>
#include <exception>

namespace {

// The rest of the layer is not drawn; the reason goes to the program's log.
void Log_Drawing_Failure(const char* what)
{
    Canvas_Log(QString::fromUtf8(what));
}

// A linear gradient at `degrees` spanning `box`, start colour at the box's
// extreme point against the direction.
QLinearGradient Angle_Gradient(const QRectF& box, double degrees, const QColor& from, const QColor& to)
{
    const QLineF line = Gradient_Line_For_Box(box, degrees);
    QLinearGradient g(line.p1(), line.p2());
    g.setColorAt(0.0, from);
    g.setColorAt(1.0, to);
    return g;
}

void Draw_Picture_Tiled(QPainter& painter, const QPainterPath& path, const PtImage& picture, const QRectF& origin)
{
    // Tiles have the picture's own size in points and stand upright.
    const QSizeF size = picture.size();
    if (!(size.width() > 0) || !(size.height() > 0))
        return;
    QImage tile = picture.isVector() ? picture.toImage(72.0) : picture.raster();
    if (tile.isNull())
        return;
    QBrush brush(tile);
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.scale(size.width() / tile.width(), size.height() / tile.height());
    brush.setTransform(t);
    painter.fillPath(path, brush);
}

} // namespace

QPainterPath Card_Path(const QRectF& r, int cardShape)
{
    QPainterPath p;
    if (cardShape == 1)
        p.addRoundedRect(r, 10.0, 10.0);
    else if (cardShape == 2)
        p.addEllipse(r);
    else
        p.addRect(r);
    return p;
}

double Watermark_Top(const QRectF& r, int alignment, double h)
{
    switch (alignment) {
    case 1:
        return static_cast<float>((r.height() - h) / 2.0);
    case 2:
        return static_cast<float>(r.height() - h);
    default:
        return static_cast<float>(r.y());
    }
}

void Card_Base_Drawing(QPainter& painter, const Card_Property& card, const QRectF& R, int cardShape)
{
    try {
        const QPainterPath P = Card_Path(R, cardShape);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.fillPath(P, Qt::white);
        painter.setClipPath(P, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        if (!card.Card_fill_chk)
            return;
        const QString style = card.Card_fill_style;
        if (style == QLatin1String("G")) {
            painter.fillPath(P, card.Card_fill_Grd_1_clr);
            // Drawn into the outline, then into the rectangle; translucent
            // colours are composited twice, as stored designs expect.
            painter.fillPath(P, Angle_Gradient(P.boundingRect(), card.Card_grad_Stepper, card.Card_fill_Grd_1_clr,
                                               card.Card_fill_Grd_2_clr));
            painter.fillRect(R, Angle_Gradient(R, card.Card_grad_Stepper, card.Card_fill_Grd_1_clr,
                                               card.Card_fill_Grd_2_clr));
        } else if (style == QLatin1String("H")) {
            painter.fillPath(P, card.Card_hatch_bk_clr);
            const QImage pattern = Hatch_Pattern_Image(card.Card_hatch_style);
            if (!pattern.isNull()) {
                QBrush brush(pattern);
                brush.setTransform(QTransform::fromTranslate(R.x(), R.y()));
                painter.fillPath(P, brush);
            }
        } else if (style == QLatin1String("I")) {
            const PtImage& picture = card.Card_BG_Image;
            if (picture.isNull())
                return;
            if (card.Card_BG_Image_Layout == QLatin1String("Tile")) {
                Draw_Picture_Tiled(painter, P, picture, R);
            } else {
                const double opacity = std::clamp(static_cast<double>(card.Card_alpha_Stepper), 0.0, 1.0);
                picture.draw(painter, R, opacity);
            }
        } else {
            painter.fillPath(P, card.Card_fill_clr);
        }
    } catch (const std::exception& e) {
        Log_Drawing_Failure(e.what());
    }
}

void Card_Border_Drawing(QPainter& painter, const Card_Property& card, const QRectF& R, int cardShape)
{
    try {
        const QPainterPath P = Card_Path(R, cardShape);
        painter.setRenderHint(QPainter::Antialiasing, true);
        if (card.Watermark_Used && !card.Watermark_Text.isEmpty()) {
            QColor color = card.Watermark_Color;
            color.setAlphaF(std::clamp(static_cast<double>(card.Watermark_Transp), 0.0, 1.0));
            const QFont font = Font_In_Points(card.Watermark_Font, painter.device());
            painter.save();
            painter.setFont(font);
            const QFontMetricsF fm(font, painter.device());
            // Height of the text's natural (unwrapped) size.
            const double h = fm.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop,
                                             card.Watermark_Text).height();
            const double y = Watermark_Top(R, card.Watermark_Alignment, h);
            const QRectF box(static_cast<float>(R.x()), y, R.width(), std::max(R.height(), h) * 4.0);
            painter.setPen(color);
            QTextOption option(Qt::AlignHCenter);
            option.setWrapMode(QTextOption::WordWrap);
            painter.drawText(box, card.Watermark_Text, option);
            painter.restore();
        }
        if (card.Card_border_chk) {
            painter.save();
            // A flattened copy of the outline: curves become straight segments.
            QPainterPath flat;
            for (const QPolygonF& poly : P.toSubpathPolygons())
            {
                flat.addPolygon(poly);
                flat.closeSubpath();
            }
            Stroke_Border(painter, flat, card.Card_bordr_clr, card.Card_bor_Stepper, card.Card_border_style,
                          Qt::MiterJoin);
            painter.restore();
        }
    } catch (const std::exception& e) {
        Log_Drawing_Failure(e.what());
    }
}
