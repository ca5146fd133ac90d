#pragma once
// The series generator: a sequence of whole numbers (with prefix, suffix and
// zero padding), one text repeated, or random numbers of a given number of
// digits; written as a new series file under a typed name
// (file_name_required 1) or added to the series manager's value list.
#include <QDialog>
#include <QPointer>

#include <functional>

class QCheckBox;
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

class Generate_List : public QDialog {
    Q_OBJECT
public:
    explicit Generate_List(QWidget* parent = nullptr);
    static Generate_List* defaultInstance();

    // Resets every control and runs the dialog modally; the modal code.
    int Open_Wnd();
    void Reset_Controls();

    void Sequintial_Radio_Pressed();
    void Constant_Radio_Pressed();
    void Random_Radio_Pressed();
    // Validates, generates and delivers; ends with 1 when done. Stays open
    // after a refused value, a No to the replace question, a Stop or a
    // failed write.
    void OKPressed();
    void CancelPressed();
    void Help_btn_Pressed();
    // The rules of the count and length fields, applied after each edit.
    void controlTextDidChange(QLineEdit* field);
    // Keep a stepper and its field equal: from the stepper when it was the
    // sender, else from the field.
    void Count_Stepper_Pressed(bool fromStepper);
    void Random_Length_Stepper_Pressed(bool fromStepper);
    void Random_Count_Stepper_Pressed(bool fromStepper);

    // 1: a new series file under the typed name; else the manager's value list.
    int file_name_required = 0;
    // 1: the series manager refills its series list after a run.
    int file_name_Insert = 0;

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
    QLineEdit* seq_file_name = nullptr;
    QLineEdit* const_file_name = nullptr;
    QLineEdit* rndm_file_name = nullptr;
    QPushButton* ok_btn = nullptr;
    QPushButton* cancel_btn = nullptr;

private:
    void enableFor(int rule);
    void fillEmptyName(QLineEdit* field);
    bool focusAfter(const QString& message, QLineEdit* field);
    QList<QWidget*> m_nameRow;  // the series-name fields and their labels
    static QPointer<Generate_List> s_instance;
};
