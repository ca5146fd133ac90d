#pragma once
// The small windows of the print window: the preview of a print job, the
// naming of a custom label sheet and the naming of a print profile.
#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

// The preview of a print job: its sheets as they will print, zoom and page
// buttons, and Print, which closes the preview and prints the job as the
// print window's Print does (done(Print_Code)).
class Print_Preview : public QDialog {
    Q_OBJECT
public:
    explicit Print_Preview(QPrinter* printer, QWidget* parent = nullptr);
    static constexpr int Print_Code = 2;
    QPrintPreviewWidget* view = nullptr;
    QLabel* page_label = nullptr;
    QPushButton* print_btn = nullptr;
    QPushButton* close_btn = nullptr;

private:
    void showPage();
};

// Names a custom label sheet; the print window's sheet.
class Custom_Product_Label : public QDialog {
    Q_OBJECT
public:
    explicit Custom_Product_Label(QWidget* parent = nullptr);
    void OKPressed();
    void CancelPressed();
    QLineEdit* prod_number = nullptr;
    QString custom_prod_name;   // the product number OK accepted
};

// Names a print profile and chooses its printer; the print window's sheet.
class Add_Print_Profile : public QDialog {
    Q_OBJECT
public:
    explicit Add_Print_Profile(QWidget* parent = nullptr);
    // Fills the printer list (awakeFromNib).
    void Reset_Printers();
    void OKPressed();
    void CancelPressed();
    QLineEdit* Profile_name = nullptr;
    QLineEdit* pass_profile_name = nullptr;   // the name being edited
    QComboBox* Printer_ComboBox = nullptr;
    // What OK accepted: the printer and the profile's name.
    QString custom_profile_Printer;
    QString custom_print_profile_name;
};
