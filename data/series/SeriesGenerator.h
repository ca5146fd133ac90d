#pragma once
// The values the series generator makes: whole numbers from a start to an
// end value (optionally zero-padded to a common width) between a prefix and
// a suffix, one text repeated, or random numbers of a fixed number of digits.
// All arithmetic is 64-bit, so no start, end or span overflows.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QIODevice;
struct Series_Progress;

// The limits of the typed fields.
inline constexpr int Max_Generator_Count = 10000;   // constant and random counts
inline constexpr int Max_Random_Length = 9;         // digits of a random number
inline constexpr int Max_Integer_Field_Digits = 18; // start and end values

// "0" put in front of the text until it is `length` characters long.
QString PadZero(const QString& text, int length);
// The decimal form of n, zero-padded after its sign to `width` characters
// ("-7" at width 3 is "-07").
QString Pad_Number(qint64 n, int width);
// An integer field's text: an optional sign and 1 to 18 digits.
bool Parse_Integer_Field(const QString& text, qint64* value);

struct Sequence_Spec {
    QString prefix;
    QString suffix;
    qint64 from = 0;
    qint64 to = 0;
    bool pad = false;
    int width = 0;  // the longer of the two typed texts
};
// The number of values from `from` to `to` (both included); 0 when to < from.
qint64 Sequence_Count(const Sequence_Spec& spec);
// Value i (0-based) of the sequence.
QString Sequence_Value(const Sequence_Spec& spec, qint64 i);

// A uniformly distributed integer from min to max inclusive.
quint32 getRandomNumberBetweenMin(quint32 min, quint32 max);
// The random value of a length text "1" to "9": prefix, a number of exactly
// that many digits, suffix; the number 0 for any other length text.
QString Random_Value(const QString& prefix, const QString& suffix, const QString& lengthText);

// One rule with its inputs, as the dialog read them.
struct Generator_Spec {
    enum Rule { Sequential, Constant, Random } rule = Sequential;
    Sequence_Spec sequence;
    QString constantValue;
    qint64 count = 0;           // constant and random
    QString randomPrefix, randomSuffix, randomLength;
    qint64 valueCount() const;  // how many values the rule makes
};

// Makes the values one by one and hands each to `sink` (false from the sink
// ends the run), advancing the progress counters and ending early when a stop
// is asked for. Returns false when stopped or ended by the sink.
bool Generate_Values(const Generator_Spec& spec, Series_Progress* progress,
                     const std::function<bool(const QString&)>& sink);
