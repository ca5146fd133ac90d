#pragma once
// The values of the generators (the series generator and the barcode list
// generator share them): sequential numbers from a start to an end value
// with a prefix, a suffix and optional zero padding; a constant text
// repeated; random numbers of a fixed number of digits with their own prefix
// and suffix. Also the rules of the generator windows' number fields.
//
// The values are made one by one (Value_Generator::next), so a window can
// place them as they come, show its progress and stop.
#include <QString>
#include <QValidator>

#include <cstdint>

enum class Generator_Rule { Sequential, Constant, Random };

// What the generator windows' fields hold, as typed.
struct Generator_Settings {
    Generator_Rule rule = Generator_Rule::Sequential;
    // Sequential.
    QString prefix, suffix;      // used as typed (not trimmed)
    QString fromText, toText;
    bool padDigits = false;      // manage_digit_chk
    // Constant.
    QString constantValue;
    QString countText{QStringLiteral("1")};
    // Random.
    QString randPrefix, randSuffix;
    QString randLengthText{QStringLiteral("1")};
    QString randCountText{QStringLiteral("1")};
};

// The field a failed check points the user at.
enum class Generator_Field { None, From, To, Value, Count, RandCount, RandLength };

struct Generator_Check {
    QString message;   // empty when the settings can generate
    Generator_Field focus = Generator_Field::None;
    bool ok() const { return message.isEmpty(); }
};

// The checks of the chosen rule, in the order the windows make them:
// "Please enter valid 'From' value.", "Please enter valid 'To' value.",
// "'From' value must be smaller than 'To' value.", "Please enter valid
// 'Value'.", "Please enter valid 'Count' value.", "Please enter valid
// 'Length' value.". A field counts as empty when its text has no characters.
Generator_Check Check_Generator_Settings(const Generator_Settings& s);

// The integer value of a typed text as a number reader takes it: leading
// white space, an optional sign, the digits up to the first other character;
// 0 without digits; held within the 32-bit range.
int Int_Value(const QString& text);

// "0" put in front of the text until it is at least `length` characters long.
QString PadZero(const QString& text, int length);
// A uniformly distributed integer from min to max inclusive (computed in
// unsigned 32-bit arithmetic as min + r mod (max - min + 1)).
int getRandomNumberBetweenMin(int min, int max);

// The rules applied while the user types. Counts: empty or 0 becomes "1",
// more than 5 characters are cut to the first 5, above 10000 becomes
// "10000". Length: empty or 0 becomes "1", more than 1 character is cut to
// the first, above 9 becomes "9". Each answers the field's new text.
QString Count_Field_Rule(const QString& text);
QString Length_Field_Rule(const QString& text);
// The integer fields accept an edit when the new text is empty or is a whole
// decimal integer (optional sign, digits; white space around it allowed).
bool Integer_Field_Accepts(const QString& text);

// The validator of the generator windows' integer fields (Integer_Field_Accepts).
class OnlyIntegerValueFormatter : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// The help texts of the zero-padding button.
QString Pad_Help_Message();
QString Pad_Help_Text_Series();
QString Pad_Help_Text_Barcode();

class Value_Generator {
public:
    // The settings must have passed Check_Generator_Settings.
    explicit Value_Generator(const Generator_Settings& s);
    // How many values the settings make.
    std::int64_t count() const { return m_count; }
    // The next value; false after the last one.
    bool next(QString* value);
    std::int64_t made() const { return m_made; }

private:
    Generator_Settings m_s;
    std::int64_t m_count = 0;
    std::int64_t m_made = 0;
    int m_from = 0;
    int m_width = 0;
    int m_randDigits = 0;   // 0: the length text is not one of "1".."9"
};
