#pragma once
// The series generator: a sequence of whole numbers (with prefix, suffix and
// zero padding), one text repeated, or random numbers of a given number of
// digits; written as a new series file under a typed name
// (file_name_required 1) or added to the series manager's value list.
#include <QDialog>
#include <QPointer>

#include "data/series/GeneratorPane.h"

#include <functional>

class BatchWizard;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Generator_Rules_Pane;
class Series_Stepper;

class Generate_List : public QDialog {
    Q_OBJECT
public:
    explicit Generate_List(QWidget* parent = nullptr);
    static Generate_List* defaultInstance();

    // Resets every control and runs the dialog modally; the modal code.
    int Open_Wnd();
    void Reset_Controls();

    // The three rules, their fields and steppers.
    Generator_Rules_Pane* pane = nullptr;

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
    // The series manager that opened the window (null when none did): it
    // takes the values for its open list and refills its series list.
    QPointer<BatchWizard> BatchWizard_Window;

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
    void fillEmptyName(QLineEdit* field);
    QList<QWidget*> m_nameRow;  // the series-name rows
    bool m_resetting = false;
    static QPointer<Generate_List> s_instance;
};
