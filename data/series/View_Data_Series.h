#pragma once
// The series viewer: the values of one series, read-only, with their number.
// Opened by the main window's Open_Series_Value_Box (data-source panel,
// barcode dialog, export panel).
#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;
class QTableView;
class Series_String_Model;

class View_Data_Series : public QDialog {
    Q_OBJECT
public:
    explicit View_Data_Series(QWidget* parent = nullptr);
    static View_Data_Series* defaultInstance();

    // Shows the series named file_name and runs the viewer; 1 after OK.
    int Open_Wnd();
    // Loads the series named file_name (on a worker) without running.
    void Reset_Controls();
    void OK_Btn_Clicked();

    QString file_name;  // the series shown; set by the opener
    QLabel* series_name = nullptr;
    QTableView* List = nullptr;
    QLabel* list_count = nullptr;
    QPushButton* ok_btn = nullptr;
    QStringList ListData() const;

private:
    Series_String_Model* m_model = nullptr;
    static QPointer<View_Data_Series> s_instance;
};
