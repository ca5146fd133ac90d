#pragma once
// Numbers as they are written in and read from files: always the C locale,
// whatever the user's locale.
#include <QString>

// "%0.<decimals>f" in the C locale.
QString Format_Fixed_C(double value, int decimals);

// The shortest text that reads back as the same double.
QString Format_Double_C(double value);

// Strict parse of a whole (trimmed) text; *ok tells whether it was a number.
double Parse_Double_C(const QString& text, bool* ok = nullptr);
long long Parse_Int_C(const QString& text, bool* ok = nullptr);

// Lenient reading of the number at the start of a text, as text fields
// give their value: leading white space is skipped, the longest numeric
// prefix is read, 0 when there is none. Never fails.
double Leading_Double_C(const QString& text);
int Leading_Int_C(const QString& text);
