#include "data/series/SeriesGenerator.h"

#include "data/series/SeriesJob.h"

#include <QRandomGenerator>

QString PadZero(const QString& text, int length)
{
    if (text.size() >= length)
        return text;
    return QString(length - text.size(), QLatin1Char('0')) + text;
}

QString Pad_Number(qint64 n, int width)
{
    if (n >= 0)
        return PadZero(QString::number(n), width);
    // The magnitude of the most negative value does not fit in a qint64.
    const QString digits = QString::number(n).mid(1);
    return QLatin1Char('-') + PadZero(digits, width - 1);
}

bool Parse_Integer_Field(const QString& text, qint64* value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    const qsizetype digits = text.size() - i;
    if (digits < 1 || digits > Max_Integer_Field_Digits)
        return false;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
    }
    if (value)
        *value = negative ? -v : v;
    return true;
}

qint64 Sequence_Count(const Sequence_Spec& spec)
{
    // Both ends hold at most 18 digits, so the span fits in 64 bits.
    return spec.to < spec.from ? 0 : spec.to - spec.from + 1;
}

QString Sequence_Value(const Sequence_Spec& spec, qint64 i)
{
    const qint64 n = spec.from + i;
    const QString number = spec.pad ? Pad_Number(n, spec.width) : QString::number(n);
    return spec.prefix + number + spec.suffix;
}

quint32 getRandomNumberBetweenMin(quint32 min, quint32 max)
{
    if (max <= min)
        return min;
    return quint32(QRandomGenerator::global()->bounded(quint64(min), quint64(max) + 1));
}

QString Random_Value(const QString& prefix, const QString& suffix, const QString& lengthText)
{
    quint32 number = 0;
    for (int k = 1; k <= Max_Random_Length; ++k) {
        if (lengthText == QString::number(k)) {
            quint32 low = 1;
            for (int j = 1; j < k; ++j)
                low *= 10;
            number = getRandomNumberBetweenMin(low, low * 10 - 1);
            break;
        }
    }
    return prefix + QString::number(number) + suffix;
}

qint64 Generator_Spec::valueCount() const
{
    switch (rule) {
    case Sequential:
        return Sequence_Count(sequence);
    case Constant:
    case Random:
        return count > 0 ? count : 0;
    }
    return 0;
}

bool Generate_Values(const Generator_Spec& spec, Series_Progress* progress,
                     const std::function<bool(const QString&)>& sink)
{
    const qint64 n = spec.valueCount();
    if (progress) {
        progress->total = n;
        progress->done = 0;
    }
    for (qint64 i = 0; i < n; ++i) {
        if (progress && progress->stopped())
            return false;
        QString value;
        switch (spec.rule) {
        case Generator_Spec::Sequential:
            value = Sequence_Value(spec.sequence, i);
            break;
        case Generator_Spec::Constant:
            value = spec.constantValue;
            break;
        case Generator_Spec::Random:
            value = Random_Value(spec.randomPrefix, spec.randomSuffix, spec.randomLength);
            break;
        }
        if (!sink(value))
            return false;
        if (progress)
            progress->done = i + 1;
    }
    return true;
}
