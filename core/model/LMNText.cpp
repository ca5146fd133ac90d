#include "core/model/LMNText.h"

#include "core/util/Helpers.h"

#include <QFontMetricsF>
#include "platform/Fonts.h"
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>
#include <vector>


QString LMNText::Transform_Case(const QString& text, int caseCode)
{
    switch (caseCode) {
    case 1: return text.toUpper();
    case 2: return text.toLower();
    case 3: {
        QString out;
        out.reserve(text.size());
        bool wordStart = true;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QString one = text.mid(i, 1);
            if (text[i].isSpace()) {
                out += one;
                wordStart = true;
            } else {
                out += wordStart ? one.toUpper() : one.toLower();
                wordStart = false;
            }
        }
        return out;
    }
    default: return text;
    }
}

QString LMNText::displayString()
{
    const QString trimmed = Trim_Str(Text_contents().string);
    return Transform_Case(trimmed, text_transfrom_case);
}

QFont LMNText::drawingFont() const
{
    QFont f = text_ctrl_font;
    if (text_kerning != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, text_kerning);
    return f;
}

int LMNText::alignmentFlags() const
{
    switch (text_alignmnet) {
    case 1: return Qt::AlignRight;
    case 2: return Qt::AlignHCenter;
    case 3: return Qt::AlignJustify;
    default: return Qt::AlignLeft;
    }
}

double LMNText::unwrappedTextHeight(const QString& text) const
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    const qsizetype lines = t.count(QChar('\n')) + 1;
    const QFontMetricsF fm = Font_Metrics_In_Points(drawingFont());
    return fm.height() + double(lines - 1) * fm.lineSpacing();
}

QRectF LMNText::textRect(double sh) const
{
    const QRectF b = _bounds;
    double y = b.y();
    if (text_alignmnet_Vert == 1)
        y = b.y() + (b.height() - sh);
    else if (text_alignmnet_Vert == 2)
        y = b.y() + (b.height() - sh) / 2;
    return QRectF(float(b.x()), float(y), b.width(), b.height());
}

// Three box-blur passes over the alpha of an ARGB image approximate a Gaussian.
static void Blur_Image(QImage& img, int radius)
{
    if (radius < 1)
        return;
    const int w = img.width(), h = img.height();
    std::vector<QRgb> line(std::max(w, h));
    for (int pass = 0; pass < 3; ++pass) {
        for (int dir = 0; dir < 2; ++dir) {
            const int n = dir == 0 ? w : h, m = dir == 0 ? h : w;
            for (int j = 0; j < m; ++j) {
                auto px = [&](int i) -> QRgb& {
                    return dir == 0 ? reinterpret_cast<QRgb*>(img.scanLine(j))[i]
                                    : reinterpret_cast<QRgb*>(img.scanLine(i))[j];
                };
                for (int i = 0; i < n; ++i)
                    line[i] = px(i);
                int sum[4] = {0, 0, 0, 0};
                auto add = [&](QRgb c, int s) {
                    sum[0] += s * qAlpha(c); sum[1] += s * qRed(c);
                    sum[2] += s * qGreen(c); sum[3] += s * qBlue(c);
                };
                for (int i = -radius; i <= radius; ++i)
                    if (i >= 0 && i < n)
                        add(line[i], 1);
                const int div = 2 * radius + 1;
                for (int i = 0; i < n; ++i) {
                    px(i) = qRgba(sum[1] / div, sum[2] / div, sum[3] / div, sum[0] / div);
                    const int out = i - radius, in = i + radius + 1;
                    if (out >= 0) add(line[out], -1);
                    if (in < n) add(line[in], 1);
                }
            }
        }
    }
}

static void Draw_Text_In(QPainter& painter, const QRectF& rect, int flags, const QString& text,
                         const QFont& font, const QColor& color)
{
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setFont(Font_In_Points(font, painter.device()));
    painter.setPen(color);
    painter.drawText(rect, flags | Qt::TextWordWrap, text);
    painter.restore();
}

void LMNText::drawContentsInView(QPainter& painter, LMNGraphicView*, bool isBeingCreateOrEdited)
{
    if (!ctrl_is_visible)
        return;
    if (isBeingCreateOrEdited) {
        // A 1-point frame 1 point outside the bounds.
        const QRectF f = _bounds.adjusted(-0.5, -0.5, 0.5, 0.5);
        painter.save();
        QPen pen(QColor(58, 125, 220));
        pen.setWidthF(1.0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(f);
        painter.restore();
        return;
    }
    const QString text = displayString();
    painter.save();
    if (isDrawingFill()) {
        QPainterPath p;
        p.addRect(_bounds);
        fillPathWithItemFill(painter, p, false);
    }
    if (text.isEmpty()) {
        painter.restore();
        return;
    }
    const QFont font = drawingFont();
    const int flags = alignmentFlags();
    const QRectF rect = textRect(unwrappedTextHeight(text));

    if (Drawing_Shadow) {
        if (Shadow_Color.isValid())
            Shadow_Color.setAlphaF(Shadow_transparency >= 1 ? 1.0 : (Shadow_transparency > 0 ? Shadow_transparency : 0.0));
        // The shadow offset is taken upward for positive y, as designs were made with it.
        const QRectF sr = rect.translated(Shadow_offset_X, -Shadow_offset_Y);
        if (Shadow_blur > 0.5) {
            const QTransform& t = painter.worldTransform();
            const double scale = std::max(1.0, std::sqrt(std::fabs(t.determinant())));
            const double pad = Shadow_blur * 2;
            const QRectF area = sr.adjusted(-pad, -pad, pad, pad);
            // Sizes are checked as doubles first: a blur or a box from a damaged
            // file must not overflow the pixel counts.
            const double pw = std::ceil(area.width() * scale), ph = std::ceil(area.height() * scale);
            QImage img;
            if (std::isfinite(pw) && std::isfinite(ph) && pw * ph < 16'000'000)
                img = QImage(std::max(1, int(pw)), std::max(1, int(ph)), QImage::Format_ARGB32);
            if (!img.isNull()) {
                img.fill(Qt::transparent);
                {
                    QPainter ip(&img);
                    ip.scale(scale, scale);
                    ip.translate(-area.topLeft());
                    Draw_Text_In(ip, sr, flags, text, font, Shadow_Color);
                }
                Blur_Image(img, int(std::lround(Shadow_blur * scale / 2)));
                painter.drawImage(area, img);
            }
        } else {
            Draw_Text_In(painter, sr, flags, text, font, Shadow_Color);
        }
    }
    Draw_Text_In(painter, rect, flags, text, font, txt_clr);
    if (isDrawingStroke()) {
        QPainterPath border;
        border.addRect(_bounds);
        Stroke_Border(painter, border, strokeColor(), _strokeWidth, _stroke_border_type);
    }
    painter.restore();
}

QSizeF LMNText::naturalSize()
{
    // Measured as the drawing lays the text out: the text as drawn, in the
    // item's own font with its kerning, wrapped at the item's width at word
    // boundaries (a word longer than the width keeps its line), each line
    // started on a whole point, on a device of the resolution the canvas and
    // the card's pictures are drawn at (letter spacing and hinting follow the
    // device). Whole points, rounded up, so the drawing never wraps or clips
    // what the measure let through.
    static const QImage device(1, 1, QImage::Format_ARGB32);
    QString text = displayString();
    const QFont font = Font_In_Points(drawingFont(), &device);
    const QFontMetricsF fm(font, &device);
    if (text.isEmpty())
        return QSizeF(0, std::ceil(fm.height()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    const double width = _bounds.width() > 0 ? _bounds.width() : 1.0e7;
    QTextLayout layout(text, font, const_cast<QImage*>(&device));
    QTextOption option{Qt::Alignment(alignmentFlags())};
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    double height = 0, used = 0;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        height = std::ceil(height + fm.leading());
        line.setPosition(QPointF(0, height));
        height += line.height();
        used = std::max(used, line.naturalTextWidth());
    }
    layout.endLayout();
    return QSizeF(std::ceil(used), std::ceil(height));
}

void LMNText::makeNaturalSize()
{
    if (ctrl_is_locked)
        return;
    setBounds(QRectF(_bounds.topLeft(), naturalSize()));
}

void LMNText::setHeightToMatchContents()
{
    _boundsBeingChangedToMatchContents = true;
    notify(LMNGraphicKeysForValuesToObserveForUndoKey, {}, {});
    QRectF r = _bounds;
    r.setHeight(naturalSize().height());
    setBounds(r);
    _boundsBeingChangedToMatchContents = false;
    notify(LMNGraphicKeysForValuesToObserveForUndoKey, {}, {});
}

QStringList LMNText::keysForValuesToObserveForUndo() const
{
    QStringList keys = LMNGraphic::keysForValuesToObserveForUndo();
    if (_boundsBeingChangedToMatchContents)
        keys.removeAll(LMNGraphicBoundsKey);
    return keys;
}

QString LMNText::presentablePropertyNameForKey(const QString& key) const
{
    if (key == QLatin1String("undoContents"))
        return QStringLiteral("Text");
    return LMNGraphic::presentablePropertyNameForKey(key);
}
