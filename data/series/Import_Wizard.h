#pragma once
// The import wizard: makes the values of a series from a spreadsheet (its
// columns chosen in the spreadsheet dialogs), a text, CSV or RTF file, pasted
// text or a folder of pictures. With file_name_required 1 it writes a new
// series file under the typed name; otherwise it adds the values to the
// series manager's value list.
#include <QDialog>
#include <QPointer>

#include <functional>

class BatchWizard;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class Import_Wizard : public QDialog {
    Q_OBJECT
public:
    explicit Import_Wizard(QWidget* parent = nullptr);
    static Import_Wizard* defaultInstance();

    // Resets the controls (spreadsheet source, empty fields) and runs the
    // wizard modally; the modal code (1 after an import).
    int Open_Wnd();
    void Reset_Controls();

    void Excel_RD_Pressed();
    void Text_RD_Pressed();
    void Manual_RD_Pressed();
    void Image_RD_Pressed();
    void Enable_Disable_Excel_Option(bool enable);
    void Enable_Disable_Text_Option(bool enable);
    void Enable_Disable_Manual_Option(bool enable);
    void Enable_Disable_Image_Option(bool enable);

    // Browse: the chosen item goes into its path field and the import starts.
    void Browse_Excel_Pressed();
    void Browse_Text_Pressed();
    void Browse_Image_Pressed();

    // Runs the chosen import; ends the wizard with 1 when it succeeded.
    void OKPressed();
    void CancelPressed();
    void HelpPressed();

    // The imports; true when the wizard may close.
    bool Create_And_Save_Text_Data_Sheet(const QString& path);
    bool Create_And_Save_Manual_Paste_data_Sheet();
    bool Create_And_Save_Image_data_Sheet(const QString& folder);

    int import_option = 0;       // 0 spreadsheet, 1 text file, 2 pasted text, 3 picture folder
    int file_name_required = 0;  // 1: a series file under a typed name
    int file_name_Insert = 0;    // 1: the series manager refills its series list
    // The series manager that opened the window (null when none did): it
    // takes the values for its open list and refills its series list.
    QPointer<BatchWizard> BatchWizard_Window;

    // What the browse panels would choose (tests set them).
    std::function<QString()> chooseExcel, chooseText, chooseFolder;

    QRadioButton* Excel_RD = nullptr;
    QRadioButton* Text_RD = nullptr;
    QRadioButton* Mnul_RD = nullptr;
    QRadioButton* Image_RD = nullptr;
    QLineEdit* Excel_path = nullptr;
    QLineEdit* Text_path = nullptr;
    QLineEdit* Image_path = nullptr;
    QPushButton* Excel_btn = nullptr;
    QPushButton* Text_btn = nullptr;
    QPushButton* Image_btn = nullptr;
    QLineEdit* Text_file_name = nullptr;
    QLineEdit* Manual_file_name = nullptr;
    QLineEdit* Image_file_name = nullptr;
    QPlainTextEdit* ManualEdit = nullptr;
    QPushButton* ok_btn = nullptr;
    QPushButton* cancel_btn = nullptr;
    QPushButton* help_btn = nullptr;

private:
    // The values' destination: the series file of an approved name, or the
    // manager's value list when no name is needed. False when nothing was delivered.
    bool deliver(const QString& name, const QStringList& values);
    void selectSource(int option);
    QList<QWidget*> m_nameRow;  // the series-name fields and their labels
    static QPointer<Import_Wizard> s_instance;
};
