#include "mainwindow/files/RecordText.h"

#include "platform/Numbers.h"

#include <QLocale>
#include <QStringList>

#include <charconv>
#include <cmath>

namespace {

// Strict, fast reading of a whole number text in the C locale: optional
// blanks around, an optional sign, digits with an optional point and
// exponent. No group separators, no "inf" or "nan".
bool Strict_Number(const QString& text, double& out, bool integer)
{
    char buf[64];
    int n = 0;
    qsizetype i = 0, end = text.size();
    while (i < end && text.at(i).isSpace()) ++i;
    while (end > i && text.at(end - 1).isSpace()) --end;
    if (i < end && text.at(i) == QLatin1Char('+'))
        ++i;
    if (end - i <= 0 || end - i >= qsizetype(sizeof buf))
        return false;
    bool digit = false;
    for (; i < end; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (!(c == u'-' || (!integer && (c == u'.' || c == u'e' || c == u'E' || c == u'+'))))
            return false;
        buf[n++] = char(c);
    }
    if (!digit)
        return false;
    if (integer) {
        long long v = 0;
        const auto r = std::from_chars(buf, buf + n, v);
        if (r.ec != std::errc() || r.ptr != buf + n)
            return false;
        out = double(v);
        return true;
    }
    const auto r = std::from_chars(buf, buf + n, out);
    return r.ec == std::errc() && r.ptr == buf + n && std::isfinite(out);
}

[[noreturn]] void fail(const char* what, const QString& text)
{
    QString shown = text.left(40);
    if (text.size() > 40)
        shown += QStringLiteral("...");
    throw File_Format_Error(QStringLiteral("%1: \"%2\" cannot be read").arg(QLatin1String(what), shown));
}

// A tiny scanner over "{a, b}" and "{{a, b}, {c, d}}" forms.
struct Scanner {
    const QString& s;
    qsizetype i = 0;
    void space()
    {
        while (i < s.size() && s.at(i).isSpace())
            ++i;
    }
    bool take(QChar c)
    {
        space();
        if (i < s.size() && s.at(i) == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool number(double& out)
    {
        space();
        const qsizetype start = i;
        while (i < s.size()) {
            const QChar c = s.at(i);
            if (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+')
                || c == QLatin1Char('e') || c == QLatin1Char('E'))
                ++i;
            else
                break;
        }
        if (i == start)
            return false;
        return Strict_Number(s.mid(start, i - start), out, false);
    }
    bool pair(double& a, double& b) { return take(QLatin1Char('{')) && number(a) && take(QLatin1Char(',')) && number(b) && take(QLatin1Char('}')); }
    bool atEnd()
    {
        space();
        return i == s.size();
    }
};

QString styleSuffix(const QFont& f)
{
    const bool bold = f.bold();
    const bool italic = f.italic();
    if (bold && italic)
        return QStringLiteral("-BoldItalic");
    if (bold)
        return QStringLiteral("-Bold");
    if (italic)
        return QStringLiteral("-Italic");
    return QString();
}

} // namespace

QString Flag_Text(bool v) { return v ? QStringLiteral("Y") : QStringLiteral("N"); }
QString Int_Text(qint64 v) { return QString::number(v); }
QString Real_Text(double v) { return Format_Fixed_C(v, 2); }

QString Point_Text(const QPointF& p)
{
    return QStringLiteral("{%1, %2}").arg(Format_Double_C(p.x()), Format_Double_C(p.y()));
}

QString Size_Text(const QSizeF& s)
{
    return QStringLiteral("{%1, %2}").arg(Format_Double_C(s.width()), Format_Double_C(s.height()));
}

QString Rect_Text(const QRectF& r)
{
    return QStringLiteral("{%1, %2}").arg(Point_Text(r.topLeft()), Size_Text(r.size()));
}

QString Convert_Color_to_String(const QColor& colour)
{
    // Three decimals tell every one of the 256 levels of a channel apart, so
    // a colour reads back as it was chosen.
    const QColor c = colour.isValid() ? colour.toRgb() : QColor(Qt::black);
    const int parts[4] = {c.red(), c.green(), c.blue(), c.alpha()};
    QStringList out;
    for (int p : parts)
        out << Format_Fixed_C(p / 255.0, 3);
    return out.join(QLatin1Char(':'));
}

QColor Convert_String_to_Color(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char(':'));
    float v[4] = {0, 0, 0, 0};
    for (int n = 0; n < 4 && n < fields.size(); ++n) {
        const QString f = fields.at(n).trimmed();
        if (f.isEmpty())
            continue;   // an empty field reads as 0, as a missing one does
        double d = 0;
        if (!Strict_Number(f, d, false) || d < 0.0 || d > 1.0)
            fail("colour", text);
        v[n] = float(d);
    }
    // Each channel to its 8-bit level, as a colour of these fractions draws:
    // what was written with three decimals comes back exactly, and shorter
    // forms of older files read as they always drew.
    const QColor c = QColor::fromRgbF(v[0], v[1], v[2], v[3]);
    return QColor(c.red(), c.green(), c.blue(), c.alpha());
}

QString Convert_Font_to_String(const QFont& font)
{
    double size = font.pointSizeF();
    if (!(size > 0))
        size = font.pixelSize() > 0 ? font.pixelSize() : 12.0;
    return QStringLiteral("%1%2::::%3").arg(font.family(), styleSuffix(font), Format_Fixed_C(size, 2));
}

QFont Convert_String_to_Font(const QString& text)
{
    const qsizetype sep = text.indexOf(QStringLiteral("::::"));
    if (sep < 0)
        fail("font", text);
    QString name = text.left(sep);
    double size = 0;
    if (!Strict_Number(text.mid(sep + 4), size, false) || size <= 0.0 || size > 4000.0)
        fail("font size", text);
    bool bold = false, italic = false;
    struct Style { const char* suffix; bool bold; bool italic; };
    static const Style styles[] = {{"-BoldItalic", true, true},  {"-BoldOblique", true, true},
                                   {"-Bold", true, false},       {"-Italic", false, true},
                                   {"-Oblique", false, true},    {"-Regular", false, false},
                                   {"-Roman", false, false}};
    for (const Style& st : styles) {
        const QLatin1String suf(st.suffix);
        if (name.size() > suf.size() && name.endsWith(suf)) {
            name.chop(suf.size());
            bold = st.bold;
            italic = st.italic;
            break;
        }
    }
    QFont f(name);
    f.setPointSizeF(size);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QString Element_String(const QVariant& v, const char* what)
{
    if (v.typeId() != QMetaType::QString)
        throw File_Format_Error(QStringLiteral("%1: a text was expected").arg(QLatin1String(what)));
    return v.toString();
}

bool Read_Flag(const QString& text) { return text == QLatin1String("Y"); }

qint64 Read_Int(const QString& text, qint64 lo, qint64 hi, const char* what)
{
    double d = 0;
    if (!Strict_Number(text, d, true) || d < double(lo) || d > double(hi))
        fail(what, text);
    return qint64(d);
}

double Read_Real(const QString& text, double lo, double hi, const char* what)
{
    double v = 0;
    if (!Strict_Number(text, v, false) || v < lo || v > hi)
        fail(what, text);
    return v;
}

QPointF Read_Point(const QString& text, double limit, const char* what)
{
    Scanner sc{text};
    double x = 0, y = 0;
    if (!sc.pair(x, y) || !sc.atEnd() || std::fabs(x) > limit || std::fabs(y) > limit)
        fail(what, text);
    return {x, y};
}

QSizeF Read_Size(const QString& text, double limit, const char* what)
{
    Scanner sc{text};
    double w = 0, h = 0;
    if (!sc.pair(w, h) || !sc.atEnd() || w < 0 || h < 0 || w > limit || h > limit)
        fail(what, text);
    return {w, h};
}

QRectF Read_Rect(const QString& text, double limit, const char* what)
{
    Scanner sc{text};
    double x = 0, y = 0, w = 0, h = 0;
    if (!sc.take(QLatin1Char('{')) || !sc.pair(x, y) || !sc.take(QLatin1Char(',')) || !sc.pair(w, h)
        || !sc.take(QLatin1Char('}')) || !sc.atEnd())
        fail(what, text);
    if (std::fabs(x) > limit || std::fabs(y) > limit || w < 0 || h < 0 || w > limit || h > limit)
        fail(what, text);
    return {x, y, w, h};
}

double Read_Field_Number(const QString& text, double limit, const char* what)
{
    const QString t = text.trimmed();
    // The lenient reading turns what is no number into 0; a number that is
    // not finite is damage, not typing.
    const QString lower = t.toLower();
    for (const char* bad : {"nan", "+nan", "-nan", "inf", "+inf", "-inf"})
        if (lower.startsWith(QLatin1String(bad)))
            fail(what, text);
    // The numeric prefix: sign, digits, a point and digits, an exponent only
    // when digits follow it.
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        ++i;
    const qsizetype mantStart = i;
    while (i < t.size() && t.at(i).isDigit() && t.at(i).unicode() < 128) ++i;
    if (i < t.size() && t.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < t.size() && t.at(i).isDigit() && t.at(i).unicode() < 128) ++i;
    }
    if (i == mantStart || (i == mantStart + 1 && t.at(mantStart) == QLatin1Char('.')))
        return 0.0;
    if (i < t.size() && (t.at(i) == QLatin1Char('e') || t.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < t.size() && (t.at(j) == QLatin1Char('+') || t.at(j) == QLatin1Char('-')))
            ++j;
        if (j < t.size() && t.at(j).isDigit() && t.at(j).unicode() < 128) {
            while (j < t.size() && t.at(j).isDigit() && t.at(j).unicode() < 128) ++j;
            i = j;
        }
    }
    bool ok = false;
    double v = QLocale::c().toDouble(QStringView(t).left(i), &ok);
    if (!ok) {
        // Overflow gives an infinity (damage); underflow gives 0.
        if (std::isinf(v))
            fail(what, text);
        v = 0;
    }
    if (!std::isfinite(v) || std::fabs(v) > limit)
        fail(what, text);
    return v;
}
