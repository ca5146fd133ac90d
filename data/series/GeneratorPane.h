#pragma once
// The rules pane of the value generators (the series generator and the
// barcode list generator): the three rules with their fields and steppers,
// the rules of the typed counts and length, and the checks that turn the
// fields into a Generator_Spec.
#include <QWidget>

#include "data/series/SeriesGenerator.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// A stepper: two small arrow buttons over an integer value.
class Series_Stepper : public QWidget {
    Q_OBJECT
public:
    Series_Stepper(int minimum, int maximum, QWidget* parent = nullptr);
    int value() const { return m_value; }
    // Sets the value within the range; no signal.
    void setValue(int value);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    // One step up or down, as a click on an arrow does (emits stepped).
    void stepBy(int steps);
    QToolButton* up = nullptr;
    QToolButton* down = nullptr;
signals:
    void stepped(int value);

private:
    int m_min, m_max, m_value;
};

// The text a count field (`length` false: 1 to 10000, at most five
// characters) or the length field (`length` true: 1 to 9, one character)
// keeps after an edit: empty or 0 gives "1", a longer text its first
// characters, a larger value the largest.
QString Generator_Field_Rule(const QString& text, bool length);

class Generator_Rules_Pane : public QWidget {
    Q_OBJECT
public:
    explicit Generator_Rules_Pane(QWidget* parent = nullptr);

    // Sequential, texts empty, counts and length "1", steppers 1, no padding.
    void reset();
    // Turns the rule's radio on and enables its controls only (emits ruleSelected).
    void selectRule(Generator_Spec::Rule rule);
    Generator_Spec::Rule rule() const;
    // Puts a widget on the extra row of a rule's section (a series name).
    void setRuleExtra(Generator_Spec::Rule rule, QWidget* widget);

    // The field rules, after each edit of a count or the length field.
    void controlTextDidChange(QLineEdit* field);
    // Keep a stepper and its field equal: from the stepper when it was the
    // sender, else from the field.
    void Count_Stepper_Pressed(bool fromStepper);
    void Random_Length_Stepper_Pressed(bool fromStepper);
    void Random_Count_Stepper_Pressed(bool fromStepper);
    // The padding explanation ("Maintain number of Digits ...") with `helpText` under it.
    void Help_btn_Pressed();

    // The values the fields describe. A refused field shows its message
    // ("Please enter valid 'From' value." ...), gets the focus, and the
    // answer is false.
    bool readSpec(Generator_Spec* spec);

    QString helpText;  // the informative text of the help box

    QRadioButton* radioButton_Sequntial = nullptr;
    QRadioButton* radioButton_Constant = nullptr;
    QRadioButton* radioButton_Random = nullptr;
    QLineEdit* prefix_txt = nullptr;
    QLineEdit* suffix_txt = nullptr;
    QLineEdit* from_txt = nullptr;
    QLineEdit* to_txt = nullptr;
    QCheckBox* manage_digit_chk = nullptr;
    QPushButton* help_btn = nullptr;
    QLineEdit* value_txt = nullptr;
    QLineEdit* count_txt = nullptr;
    Series_Stepper* count_stepper = nullptr;
    QLineEdit* rand_prefix_txt = nullptr;
    QLineEdit* rand_suffix_txt = nullptr;
    QLineEdit* rand_length_txt = nullptr;
    Series_Stepper* rand_length_stepper = nullptr;
    QLineEdit* rand_count_txt = nullptr;
    Series_Stepper* rand_count_stepper = nullptr;

signals:
    void ruleSelected(int rule);

private:
    QGridLayout* m_grid = nullptr;
    int m_extraRow[3] = {0, 0, 0};
    QList<QWidget*> m_extra[3];
};

// The informative text of the series generator's help box.
extern const QString Series_Generator_Help_Text;
