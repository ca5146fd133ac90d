#include "platform/Fonts.h"

#include "platform/Numbers.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPaintDevice>
#include <QStringList>

const QPaintDevice* Points_Device()
{
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(72.0 / 0.0254);
        img.setDotsPerMeterX(dotsPerMeter);
        img.setDotsPerMeterY(dotsPerMeter);
        return img;
    }();
    return &device;
}

QFont Font_In_Points(const QFont& font, const QPaintDevice* device)
{
    QFont f = font;
    const int dpi = device ? device->logicalDpiY() : 72;
    if (dpi > 0 && font.pointSizeF() > 0)
        f.setPointSizeF(font.pointSizeF() * 72.0 / dpi);
    return f;
}

QFontMetricsF Font_Metrics_In_Points(const QFont& font)
{
    return QFontMetricsF(font, Points_Device());
}

QString Font_Display_Name(const QFont& font)
{
    QString style = font.styleName().trimmed();
    if (style.isEmpty())
        style = QFontInfo(font).styleName().trimmed();
    // The names faces give their plain style.
    static const QStringList plain{QStringLiteral("Regular"), QStringLiteral("Normal"), QStringLiteral("Book"),
                                   QStringLiteral("Roman"), QStringLiteral("Plain"), QStringLiteral("Standard")};
    if (style.isEmpty() || plain.contains(style, Qt::CaseInsensitive))
        return font.family();
    return font.family() + QLatin1Char(' ') + style;
}

QString Font_Label_Text(const QFont& font)
{
    return QStringLiteral("%1 ( %2 )").arg(Font_Display_Name(font), Format_Fixed_C(font.pointSizeF(), 2));
}

QFont Font_For_Font_Panel(const QFont& font)
{
    if (!font.styleName().isEmpty())
        return font;
    const QString family = QFontInfo(font).family();
    // Of the faces of its weight and slant, the one of the shortest name:
    // "Book" rather than "Condensed", "Bold" rather than "Condensed Bold".
    QString best;
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont face = QFontDatabase::font(family, style, 12);
        if (face.weight() == font.weight() && face.italic() == font.italic()
            && (best.isEmpty() || style.size() < best.size()))
            best = style;
    }
    if (best.isEmpty())
        return font;
    QFont named = font;
    named.setStyleName(best);
    return named;
}
