#include "data/ValueGenerator.h"

#include "core/util/Helpers.h"

#include <QRandomGenerator>

#include <algorithm>
#include <climits>

int Int_Value(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    long long v = 0;
    for (; i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        v = v * 10 + (text[i].unicode() - '0');
        if (v > (long long)INT_MAX + 1)
            v = (long long)INT_MAX + 1;
    }
    if (negative)
        v = -v;
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

Generator_Check Check_Generator_Settings(const Generator_Settings& s)
{
    switch (s.rule) {
    case Generator_Rule::Sequential:
        if (s.fromText.isEmpty())
            return {QStringLiteral("Please enter valid 'From' value."), Generator_Field::From};
        if (s.toText.isEmpty())
            return {QStringLiteral("Please enter valid 'To' value."), Generator_Field::To};
        if (Int_Value(s.fromText) >= Int_Value(s.toText))
            return {QStringLiteral("'From' value must be smaller than 'To' value."), Generator_Field::From};
        break;
    case Generator_Rule::Constant:
        if (s.constantValue.isEmpty())
            return {QStringLiteral("Please enter valid 'Value'."), Generator_Field::Value};
        if (s.countText.isEmpty())
            return {QStringLiteral("Please enter valid 'Count' value."), Generator_Field::Count};
        break;
    case Generator_Rule::Random:
        if (s.randCountText.isEmpty())
            return {QStringLiteral("Please enter valid 'Count' value."), Generator_Field::RandCount};
        if (s.randLengthText.isEmpty())
            return {QStringLiteral("Please enter valid 'Length' value."), Generator_Field::RandLength};
        break;
    }
    return {};
}

QString PadZero(const QString& text, int length)
{
    if (text.size() >= length)
        return text;
    return QString(length - text.size(), QLatin1Char('0')) + text;
}

int getRandomNumberBetweenMin(int min, int max)
{
    const quint32 r = QRandomGenerator::global()->generate();
    const quint32 span = quint32(max) - quint32(min) + 1u;
    return int(quint32(min) + (span ? r % span : r));
}

QString Count_Field_Rule(const QString& text)
{
    QString t = Trim_Str(text);
    if (t.isEmpty() || Int_Value(t) == 0)
        t = QStringLiteral("1");
    if (t.size() > 5)
        t = t.left(5);
    if (Int_Value(t) > 10000)
        t = QStringLiteral("10000");
    return t;
}

QString Length_Field_Rule(const QString& text)
{
    QString t = Trim_Str(text);
    if (t.isEmpty() || Int_Value(t) == 0)
        t = QStringLiteral("1");
    if (t.size() > 1)
        t = t.left(1);
    if (Int_Value(t) > 9)
        t = QStringLiteral("9");
    return t;
}

bool Integer_Field_Accepts(const QString& text)
{
    const QString t = text.trimmed();
    if (text.isEmpty())
        return true;
    if (t.isEmpty())
        return false;
    qsizetype i = 0;
    if (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+'))
        ++i;
    if (i >= t.size())
        return false;
    for (; i < t.size(); ++i)
        if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
            return false;
    return true;
}

QValidator::State OnlyIntegerValueFormatter::validate(QString& input, int&) const
{
    if (Integer_Field_Accepts(input))
        return Acceptable;
    // A lone sign may start a number.
    const QString t = input.trimmed();
    if (t == QLatin1String("-") || t == QLatin1String("+"))
        return Intermediate;
    return Invalid;
}

QString Pad_Help_Message()
{
    return QStringLiteral("Maintain number of Digits By adding 0's before smaller values. ");
}

QString Pad_Help_Text_Series()
{
    return QStringLiteral(
        "For example:\r\nIf you have to generate a series having values from '0' to '200', this option "
        "automatically converts small values such as '1' to '001' and '11' to '011' to maintain number of digits "
        "same as the highest value in the series.\r\n\r\nSimilarly, if you have selected a series starting from "
        "'001' to '00200', this option automatically converts small values such as '001' to '00001' and '0011' "
        "to '00011' to maintain number of digits same as the highest value in the series.");
}

QString Pad_Help_Text_Barcode()
{
    return QStringLiteral(
        "For example:\r\nIf you have to generate a series of barcodes having values from '0' to '200', this "
        "option automatically converts small values such as '1' to '001' and '11' to '011' to maintain number of "
        "digits same as the highest value in the series.\r\n\r\nSimilarly, if you have selected a series "
        "starting from '001' to '00200', this option automatically converts small values such as '001' to "
        "'00001' and '0011' to '00011' to maintain number of digits same as the highest value in the series.");
}

Value_Generator::Value_Generator(const Generator_Settings& s) : m_s(s)
{
    switch (s.rule) {
    case Generator_Rule::Sequential:
        m_from = Int_Value(s.fromText);
        m_count = std::max<std::int64_t>(0, std::int64_t(Int_Value(s.toText)) - m_from + 1);
        m_width = int(std::max(s.fromText.size(), s.toText.size()));
        break;
    case Generator_Rule::Constant:
        m_count = std::max(0, Int_Value(s.countText));
        break;
    case Generator_Rule::Random: {
        m_count = std::max(0, Int_Value(s.randCountText));
        const QString& L = s.randLengthText;
        if (L.size() == 1 && L[0] >= QLatin1Char('1') && L[0] <= QLatin1Char('9'))
            m_randDigits = L[0].unicode() - '0';
        break;
    }
    }
}

bool Value_Generator::next(QString* value)
{
    if (m_made >= m_count)
        return false;
    switch (m_s.rule) {
    case Generator_Rule::Sequential: {
        QString number = QString::number(std::int64_t(m_from) + m_made);
        if (m_s.padDigits)
            number = PadZero(number, m_width);
        *value = m_s.prefix + number + m_s.suffix;
        break;
    }
    case Generator_Rule::Constant:
        *value = m_s.constantValue;
        break;
    case Generator_Rule::Random: {
        int number = 0;
        if (m_randDigits > 0) {
            int lo = 1;
            for (int i = 1; i < m_randDigits; ++i)
                lo *= 10;
            const int hi = m_randDigits == 9 ? 999999999 : lo * 10 - 1;
            number = getRandomNumberBetweenMin(lo, hi);
        }
        *value = m_s.randPrefix + QString::number(number) + m_s.randSuffix;
        break;
    }
    }
    ++m_made;
    return true;
}
