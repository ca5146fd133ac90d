#include "mainwindow/files/CardPresets.h"

#include <QLocale>

#include <iterator>

namespace {

struct Inches {
    float w, h;
};

constexpr Inches kPvc[] = {{3.37f, 2.13f}, {3.31f, 2.06f}, {3.62f, 2.38f}, {3.88f, 2.62f},
                           {3.5f, 1.75f},  {3.25f, 2.34f}, {2.88f, 2.12f}};
constexpr Inches kOther[] = {{3.94f, 4.09f}, {2.36f, 1.58f}, {2.95f, 1.58f}, {2.95f, 1.58f},
                             {3.54f, 2.13f}, {3.54f, 2.36f}, {2.36f, 3.54f}, {5.91f, 4.96f}};

bool isPvc(const QString& stock) { return stock == QLatin1String("PVC Card"); }

const Inches* lookup(const QString& stock, int index)
{
    if (isPvc(stock))
        return index >= 0 && index < int(std::size(kPvc)) ? &kPvc[index] : nullptr;
    return index >= 0 && index < int(std::size(kOther)) ? &kOther[index] : nullptr;
}

float toMM(float inches) { return float(double(inches) * 25.4); }

} // namespace

QSizeF Get_My_card_Size(const QString& stock, const QString& orientation, int index)
{
    double w = 30, h = 30;
    if (index != -1) {
        const Inches* p = lookup(stock, index);
        const Inches in = p ? *p : Inches{30.0f, 30.0f};
        w = toMM(in.w);
        h = toMM(in.h);
    }
    if (orientation == QLatin1String("V"))
        return QSizeF(h, w);
    return QSizeF(w, h);
}

int Card_Preset_Count(const QString& stock)
{
    return isPvc(stock) ? int(std::size(kPvc)) : int(std::size(kOther));
}

QString Card_Preset_Label(const QString& stock, int index)
{
    const Inches* p = lookup(stock, index);
    if (!p)
        return QString();
    const QLocale c = QLocale::c();
    return QStringLiteral("%1 x %2 in (%3 x %4 mm)")
        .arg(c.toString(p->w, 'g', 3), c.toString(p->h, 'g', 3), c.toString(toMM(p->w), 'f', 1),
             c.toString(toMM(p->h), 'f', 1));
}
