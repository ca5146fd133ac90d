#pragma once
// The series manager: every series of the series folder on its first screen
// (new, open, generate, import, delete); the values of one series on its
// second screen (add by import or generation, delete rows, edit one value,
// export to a workbook or a text file, save under a name).
//
// One instance (defaultInstance); Open_Wnd runs it modally. It hands itself
// to the importers and the generator it opens, which give their values to
// its open value list and have it refill its series list.
#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <functional>

class AccessoryViewController;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class Series_String_Model;
class Update_Ex_Num;

class BatchWizard : public QDialog {
    Q_OBJECT
public:
    explicit BatchWizard(QWidget* parent = nullptr);
    ~BatchWizard() override;
    static BatchWizard* defaultInstance();

    // Makes sure the folders exist, shows the series list and runs the window
    // modally; returns the modal code (0 after Close).
    int Open_Wnd();
    // Open_Wnd without running: the first screen with a fresh series list.
    void Reset_Controls();

    // ---- For the importers, the generator and the value editor ----
    void Fill_List();
    // Adds a value to the value list: trimmed; an empty one is left out.
    void Create_Value_List(const QString& value);
    void Create_Value_List(const QStringList& values);
    QStringList ListData() const;
    QStringList ListData_value() const;
    QTableView* List_value = nullptr;
    // Replaces the value at a row (the value editor).
    void Replace_Value_At(int row, const QString& value);

    // ---- Small methods ----
    void Show_hide_first_screen(bool hide);
    void Show_hide_Last_screen(bool hide);
    void Create_Avail_List(const QString& name);
    QString Get_List_Name_Text(int row) const;
    QString Get_Value_Text(int row) const;
    void Update_batch_List_Count();
    void Update_Value_List_Count();
    void Mark_List_New_Selection(int row);
    void Mark_List_New_Selection_Value(int row);
    bool firstScreenShown() const;

    // ---- Actions of the first screen ----
    void AddNew_Btn_Clicked();
    void Update_Btn_Clicked();
    void CreateSeries_Btn_Clicked();
    void Import_Btn_Clicked();
    void Delete_List_Btn_Clicked();
    void Help_Btn_Clicked();
    void Close_Btn_Clicked();
    // ---- Actions of the second screen ----
    void Import_Value_Btn_Clicked();
    void Series_Value_Btn_Clicked();
    void Delete_Rows_Btn_Clicked();
    void Export_Value_Btn_Clicked();
    // Saves the value list; true when it was written.
    bool Save_Btn_Clicked();
    void Back_Btn_Clicked();
    // Double clicks: a series opens it, a value opens the value editor.
    void doubleClickInTable(QTableView* table, int row);

    // The replace-or-add question before values are added to a non-empty
    // list: 1 replace them, 0 add after them, anything else stop.
    int Load_Number_Window();

    // Export: where the save panel would write (tests set it).
    std::function<QString()> chooseExportPath;

    // ---- Controls ----
    QWidget* avl_list_box = nullptr;
    QTableView* List = nullptr;
    QLabel* batch_list_count = nullptr;
    QWidget* btn_box1 = nullptr;
    QPushButton* new_btn = nullptr;
    QPushButton* open_btn = nullptr;
    QPushButton* generate_btn = nullptr;
    QPushButton* import_btn = nullptr;
    QPushButton* delete_btn = nullptr;
    QPushButton* help_btn = nullptr;
    QPushButton* close_btn = nullptr;

    QWidget* list_value_box = nullptr;
    QLabel* batch_value_count = nullptr;
    QLineEdit* batch_list_name = nullptr;
    QLineEdit* update_list_name = nullptr;  // hidden: the series being edited
    QWidget* btn_box2 = nullptr;
    QPushButton* import_value_btn = nullptr;
    QPushButton* generate_value_btn = nullptr;
    QPushButton* delete_rows_btn = nullptr;
    QPushButton* export_btn = nullptr;
    QPushButton* save_btn = nullptr;
    QPushButton* back_btn = nullptr;
    QPushButton* help2_btn = nullptr;
    QPushButton* close2_btn = nullptr;

    Update_Ex_Num* Update_Value_Wnd = nullptr;

    // The export's save panel while it is open (made anew each time), and its
    // format accessory, made at the first export and kept for the next ones.
    QPointer<QFileDialog> savePanel;
    AccessoryViewController* accessoryVC = nullptr;

private:
    bool Selection_Check();
    QString exportPathFromPanel();
    void Open_Series(const QString& name);
    void Open_Export_File_Box(const QString& Export_File_Path, const QString& Export_File_Message);

    Series_String_Model* m_series = nullptr;
    Series_String_Model* m_values = nullptr;
    static QPointer<BatchWizard> s_instance;
};

// The value editor of the series manager: changes one value of the list.
class Update_Ex_Num : public QDialog {
    Q_OBJECT
public:
    explicit Update_Ex_Num(BatchWizard* owner, QWidget* parent = nullptr);

    // Loads the value at a row and runs the editor; the modal code.
    int Open_Wnd(int row, const QString& value);
    // OK: unchanged text ends with 1; trimmed empty text is refused ("Please
    // enter a valid value."); else the manager's value becomes the trimmed text.
    void OKPressed();
    void CancelPressed();

    QLineEdit* m_ex_num_str = nullptr;  // the edited value
    QString m_s_number;                 // the value before editing
    int m_ex_num_index = -1;            // its row

private:
    BatchWizard* BatchWizard_Window;
};
