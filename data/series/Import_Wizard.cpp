#include "data/series/Import_Wizard.h"

#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/ExcelImport.h"
#include "data/series/SeriesImport.h"
#include "data/series/SeriesJob.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

QPointer<Import_Wizard> Import_Wizard::s_instance;

namespace {
const QString kInvalidText = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");
}

Import_Wizard::Import_Wizard(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Import Series"));
    Apply_Dialog_Background(this);
    resize(560, 500);
    auto* col = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    col->addLayout(grid, 1);
    int r = 0;
    auto pathRow = [&](QRadioButton*& radio, const QString& title, QLineEdit*& path, QPushButton*& browse) {
        radio = new QRadioButton(title);
        grid->addWidget(radio, r++, 0, 1, 3);
        path = new QLineEdit;
        browse = new QPushButton(QStringLiteral("Browse..."));
        browse->setAutoDefault(false);
        grid->addWidget(path, r, 1);
        grid->addWidget(browse, r++, 2);
    };
    auto nameRow = [&](QLineEdit*& field) {
        auto* label = new QLabel(QStringLiteral("Series name:"));
        field = new QLineEdit;
        auto* row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(field, 1);
        grid->addLayout(row, r++, 1, 1, 2);
        m_nameRow << label << field;
    };
    grid->setColumnMinimumWidth(0, 14);
    grid->setColumnStretch(1, 1);

    pathRow(Excel_RD, QStringLiteral("Spreadsheet (.xlsx)"), Excel_path, Excel_btn);
    pathRow(Text_RD, QStringLiteral("Text file (.txt, .csv, .rtf)"), Text_path, Text_btn);
    nameRow(Text_file_name);
    Mnul_RD = new QRadioButton(QStringLiteral("Paste or type the values, one a line"));
    grid->addWidget(Mnul_RD, r++, 0, 1, 3);
    ManualEdit = new QPlainTextEdit;
    ManualEdit->setMinimumHeight(110);
    grid->addWidget(ManualEdit, r++, 1, 1, 2);
    nameRow(Manual_file_name);
    pathRow(Image_RD, QStringLiteral("Folder of pictures (one path a value)"), Image_path, Image_btn);
    nameRow(Image_file_name);

    auto* buttons = new QHBoxLayout;
    help_btn = new QPushButton(QStringLiteral("Help"));
    cancel_btn = new QPushButton(QStringLiteral("Cancel"));
    ok_btn = new QPushButton(QStringLiteral("OK"));
    for (QPushButton* b : {help_btn, cancel_btn, ok_btn})
        b->setAutoDefault(false);
    buttons->addWidget(help_btn);
    buttons->addStretch();
    buttons->addWidget(cancel_btn);
    buttons->addWidget(ok_btn);
    col->addLayout(buttons);

    connect(Excel_RD, &QRadioButton::clicked, this, &Import_Wizard::Excel_RD_Pressed);
    connect(Text_RD, &QRadioButton::clicked, this, &Import_Wizard::Text_RD_Pressed);
    connect(Mnul_RD, &QRadioButton::clicked, this, &Import_Wizard::Manual_RD_Pressed);
    connect(Image_RD, &QRadioButton::clicked, this, &Import_Wizard::Image_RD_Pressed);
    connect(Excel_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Excel_Pressed);
    connect(Text_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Text_Pressed);
    connect(Image_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Image_Pressed);
    connect(ok_btn, &QPushButton::clicked, this, &Import_Wizard::OKPressed);
    connect(cancel_btn, &QPushButton::clicked, this, &Import_Wizard::CancelPressed);
    connect(help_btn, &QPushButton::clicked, this, &Import_Wizard::HelpPressed);
}

Import_Wizard* Import_Wizard::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

int Import_Wizard::Open_Wnd()
{
    Reset_Controls();
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

void Import_Wizard::Reset_Controls()
{
    Check_Path_And_Create_Files();
    for (QLineEdit* f : {Excel_path, Text_path, Image_path, Text_file_name, Manual_file_name, Image_file_name})
        f->clear();
    ManualEdit->clear();
    for (QWidget* w : m_nameRow)
        w->setVisible(file_name_required == 1);
    selectSource(0);
}

void Import_Wizard::selectSource(int option)
{
    import_option = option;
    Excel_RD->setChecked(option == 0);
    Text_RD->setChecked(option == 1);
    Mnul_RD->setChecked(option == 2);
    Image_RD->setChecked(option == 3);
    Enable_Disable_Excel_Option(option == 0);
    Enable_Disable_Text_Option(option == 1);
    Enable_Disable_Manual_Option(option == 2);
    Enable_Disable_Image_Option(option == 3);
}

void Import_Wizard::Excel_RD_Pressed() { selectSource(0); }
void Import_Wizard::Text_RD_Pressed() { selectSource(1); }
void Import_Wizard::Manual_RD_Pressed() { selectSource(2); }
void Import_Wizard::Image_RD_Pressed() { selectSource(3); }

namespace {
void prefillName(QLineEdit* field, bool enable)
{
    if (enable && Trim_Str(field->text()).isEmpty())
        field->setText(default_file_name);
}
} // namespace

void Import_Wizard::Enable_Disable_Excel_Option(bool enable)
{
    SetObjEnabled(Excel_btn, enable);
    SetObjEnabled(Excel_path, enable);
}

void Import_Wizard::Enable_Disable_Text_Option(bool enable)
{
    SetObjEnabled(Text_btn, enable);
    SetObjEnabled(Text_path, enable);
    SetObjEnabled(Text_file_name, enable);
    prefillName(Text_file_name, enable);
}

void Import_Wizard::Enable_Disable_Manual_Option(bool enable)
{
    ManualEdit->setReadOnly(!enable);
    SetObjEnabled(ManualEdit, enable);
    SetObjEnabled(Manual_file_name, enable);
    prefillName(Manual_file_name, enable);
}

void Import_Wizard::Enable_Disable_Image_Option(bool enable)
{
    SetObjEnabled(Image_btn, enable);
    SetObjEnabled(Image_path, enable);
    SetObjEnabled(Image_file_name, enable);
    prefillName(Image_file_name, enable);
}

// ---------------------------------------------------------------- browsing

void Import_Wizard::Browse_Excel_Pressed()
{
    MainWindowServices::Delete_Excel_File_Temp_Folder();
    const QString path = chooseExcel ? chooseExcel()
                                     : Choose_Open_File(this, QStringLiteral("Spreadsheet"),
                                                        QStringLiteral("Spreadsheets (*.xlsx *.XLSX)"));
    if (path.isEmpty())
        return;
    Excel_path->setText(path);
    OKPressed();
}

void Import_Wizard::Browse_Text_Pressed()
{
    const QString path =
        chooseText ? chooseText()
                   : Choose_Open_File(this, QStringLiteral("Text file"),
                                      QStringLiteral("Text files (*.txt *.TXT *.rtf *.RTF *.csv *.CSV)"));
    if (path.isEmpty())
        return;
    Text_path->setText(path);
    OKPressed();
}

void Import_Wizard::Browse_Image_Pressed()
{
    const QString path = chooseFolder ? chooseFolder()
                                      : Choose_Folder(this, QStringLiteral("Picture folder"));
    if (path.isEmpty())
        return;
    Image_path->setText(path);
    OKPressed();
}

// ---------------------------------------------------------------- imports

bool Import_Wizard::deliver(const QString& name, const QStringList& values)
{
    if (file_name_required == 1) {
        const QStringList lines = Series_Values_For_Writing(values, SeriesValues::DropEmpty);
        bool written = false;
        Run_Series_Job(this, QString(), [&](Series_Progress&) { written = Write_Series_File(name, lines); });
        if (!written) {
            Show_MessageBox(QStringLiteral("Error in file accessing."));
            return false;
        }
    } else if (BatchWizard_Window) {
        if (!Check_Value_List_Room(BatchWizard_Window->ListData_value().size(), values.size()))
            return false;
        BatchWizard_Window->Create_Value_List(values);
    }
    if (file_name_Insert == 1 && BatchWizard_Window)
        BatchWizard_Window->Fill_List();
    return true;
}

namespace {
// The typed name, refused when nothing is left after the clean-up.
bool nameIsValid(const QString& typed)
{
    if (!Remove_Reserve_Char_In_File_Name(typed).isEmpty())
        return true;
    Show_MessageBox(QStringLiteral("Please enter valid series name."));
    return false;
}
} // namespace

bool Import_Wizard::Create_And_Save_Text_Data_Sheet(const QString& path)
{
    const bool named = file_name_required == 1;
    if (named && !nameIsValid(Text_file_name->text()))
        return false;
    QStringList values;
    QString note;
    Import_Read_Result result = Import_Read_Result::Invalid;
    if (!Run_Series_Job(this, QString(),
                        [&](Series_Progress& p) { result = Import_Series_File_Values(path, &values, &p, &note); }))
        return false;
    if (result == Import_Read_Result::Unreadable) {
        Show_MessageBox(QStringLiteral("Please select a valid file."));
        return false;
    }
    if (result == Import_Read_Result::Invalid) {
        Show_MessageBox(kInvalidText);
        return false;
    }
    QString name;
    if (named) {
        name = Series_Target_Name(Text_file_name->text(), false, false);
        if (name.isNull())
            return false;
    }
    if (!deliver(name, values))
        return false;
    // Bytes that did not decode were imported as U+FFFD: the user is told where.
    if (!note.isEmpty())
        Show_MessageBox(note);
    return true;
}

bool Import_Wizard::Create_And_Save_Manual_Paste_data_Sheet()
{
    const bool named = file_name_required == 1;
    if (named && !nameIsValid(Manual_file_name->text()))
        return false;
    const QString text = Trim_Str(ManualEdit->toPlainText());
    if (text.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter some data."));
        return false;
    }
    if (Has_Unpaired_Surrogate(text)) {
        Show_MessageBox(kInvalidText + QStringLiteral("\n\nOR\n\nRecipient number is skipped because of using "
                                                      "'Skip Duplicate Numbers' or 'Exclusion List' option."));
        return false;
    }
    QString name;
    if (named) {
        name = Series_Target_Name(Manual_file_name->text(), false, false);
        if (name.isNull())
            return false;
    }
    // To a series file each non-empty line goes as typed; the value list
    // trims every line and leaves out the blank ones itself.
    return deliver(name, Manual_Paste_Lines(text));
}

bool Import_Wizard::Create_And_Save_Image_data_Sheet(const QString& folder)
{
    const bool named = file_name_required == 1;
    if (named && !nameIsValid(Image_file_name->text()))
        return false;
    QString name;
    if (named) {
        name = Series_Target_Name(Image_file_name->text(), false, false);
        if (name.isNull())
            return false;
    }
    QStringList values;
    if (!Run_Series_Job(this, QString(), [&](Series_Progress& p) { values = Picture_Folder_Values(folder, &p); }))
        return false;
    if (values.isEmpty()) {
        // Nothing is written: a series that was there stays as it was.
        Show_MessageBox(QStringLiteral("The selected folder does not contains any image with supported extension."));
        return false;
    }
    return deliver(name, values);
}

void Import_Wizard::OKPressed()
{
    try {
        switch (import_option) {
        case 0: {
            const QString path = Excel_path->text();
            if (MainWindowServices::Check_And_Validate_File_Path(path))
                return;
            if (file_name_required != 1) {
                Import_Excel* dialog = Import_Excel::defaultInstance();
                dialog->open_mode = QStringLiteral("D");
                dialog->BatchWizard_Window = BatchWizard_Window;
                dialog->Open_excel_Wnd(path);
            } else {
                hide();
                Import_Excel_DataSheet* dialog = Import_Excel_DataSheet::defaultInstance();
                dialog->file_name_Insert = file_name_Insert;
                dialog->BatchWizard_Window = BatchWizard_Window;
                dialog->Open_excel_datasheet_Wnd(path);
            }
            done(1);
            return;
        }
        case 1:
            if (MainWindowServices::Check_And_Validate_File_Path(Text_path->text()))
                return;
            if (Create_And_Save_Text_Data_Sheet(Text_path->text()))
                done(1);
            return;
        case 2:
            if (Create_And_Save_Manual_Paste_data_Sheet())
                done(1);
            return;
        case 3:
            if (MainWindowServices::Check_And_Validate_File_Path(Image_path->text()))
                return;
            if (Create_And_Save_Image_data_Sheet(Image_path->text()))
                done(1);
            return;
        default:
            return;
        }
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
        done(1);
    }
}

void Import_Wizard::CancelPressed() { done(0); }

void Import_Wizard::HelpPressed() { Open_Help_File(); }
