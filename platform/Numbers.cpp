#include "platform/Numbers.h"

#include <QLocale>

#include <cmath>
#include <limits>

QString Format_Fixed_C(double value, int decimals)
{
    if (decimals < 0) decimals = 0;
    if (decimals > 17) decimals = 17;
    return QLocale::c().toString(value, 'f', decimals);
}

QString Format_Double_C(double value)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    return c.toString(value, 'g', QLocale::FloatingPointShortest);
}

double Parse_Double_C(const QString& text, bool* ok)
{
    bool good = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &good);
    if (ok) *ok = good;
    return good ? v : 0.0;
}

long long Parse_Int_C(const QString& text, bool* ok)
{
    bool good = false;
    const long long v = QLocale::c().toLongLong(text.trimmed(), &good);
    if (ok) *ok = good;
    return good ? v : 0;
}

namespace {

// Length of the numeric prefix starting at `i` (sign, digits, point, exponent).
qsizetype numericPrefix(const QString& s, qsizetype i, bool allowFraction)
{
    const qsizetype start = i;
    auto isDigit = [&](qsizetype k) { return k < s.size() && s.at(k) >= QLatin1Char('0') && s.at(k) <= QLatin1Char('9'); };
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        ++i;
    bool digits = false;
    while (isDigit(i)) { ++i; digits = true; }
    if (allowFraction && i < s.size() && s.at(i) == QLatin1Char('.')) {
        qsizetype j = i + 1;
        bool frac = false;
        while (isDigit(j)) { ++j; frac = true; }
        if (digits || frac) { i = j; digits = true; }
    }
    if (!digits)
        return 0;
    if (allowFraction && i < s.size() && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < s.size() && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
            ++j;
        if (isDigit(j)) {
            while (isDigit(j)) ++j;
            i = j;
        }
    }
    return i - start;
}

qsizetype skipSpace(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s.at(i).isSpace())
        ++i;
    return i;
}

} // namespace

double Leading_Double_C(const QString& text)
{
    const qsizetype i = skipSpace(text);
    const qsizetype n = numericPrefix(text, i, true);
    if (n == 0)
        return 0.0;
    bool ok = false;
    const double v = QLocale::c().toDouble(QStringView(text).mid(i, n), &ok);
    if (!ok || !std::isfinite(v))
        return 0.0;
    return v;
}

int Leading_Int_C(const QString& text)
{
    const qsizetype i = skipSpace(text);
    const qsizetype n = numericPrefix(text, i, false);
    if (n == 0)
        return 0;
    bool ok = false;
    const long long v = QLocale::c().toLongLong(QStringView(text).mid(i, n), &ok);
    if (!ok) {
        // Out of range: saturate like the platform's integer reading does.
        return text.at(i) == QLatin1Char('-') ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return int(v);
}
