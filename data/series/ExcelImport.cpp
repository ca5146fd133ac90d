#include "data/series/ExcelImport.h"

#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/SeriesAlerts.h"
#include "data/series/SeriesJob.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

QPointer<Import_Excel_DataSheet> Import_Excel_DataSheet::s_instance;
QPointer<Import_Excel> Import_Excel::s_instance;

namespace {

const QString kInvalidText = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");

QPushButton* plainButton(const QString& title)
{
    auto* b = new QPushButton(title);
    b->setAutoDefault(false);
    return b;
}

} // namespace

// ---------------------------------------------------------------- shared part

Excel_Columns_Dialog::Excel_Columns_Dialog(bool withSeriesNames, QWidget* parent) : QDialog(parent)
{
    Apply_Dialog_Background(this);
    resize(560, 520);
    auto* col = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("File:")));
    file_path = new QLineEdit;
    file_path->setReadOnly(true);
    fileRow->addWidget(file_path, 1);
    col->addLayout(fileRow);
    auto* sheetRow = new QHBoxLayout;
    sheetRow->addWidget(new QLabel(QStringLiteral("Sheet:")));
    Sheet_ComboBox = new QComboBox;
    Sheet_ComboBox->setMinimumWidth(160);
    sheetRow->addWidget(Sheet_ComboBox);
    sheetRow->addStretch();
    contains_header = new QCheckBox(QStringLiteral("First row holds the column names"));
    sheetRow->addWidget(contains_header);
    col->addLayout(sheetRow);

    m_model = new Excel_Column_Model(withSeriesNames, this);
    ColList = new QTableView;
    ColList->setModel(m_model);
    Setup_Series_Table(ColList, false);
    ColList->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::SelectedClicked);
    ColList->horizontalHeader()->resizeSection(Excel_Column_Model::StateColumn, 28);
    ColList->horizontalHeader()->resizeSection(Excel_Column_Model::ExtensionColumn, 200);
    col->addWidget(ColList, 1);
    auto* selectRow = new QHBoxLayout;
    select_all_btn = plainButton(QStringLiteral("Select All"));
    clear_all_btn = plainButton(QStringLiteral("Clear All"));
    selectRow->addWidget(select_all_btn);
    selectRow->addWidget(clear_all_btn);
    selectRow->addStretch();
    col->addLayout(selectRow);

    connect(select_all_btn, &QPushButton::clicked, this, &Excel_Columns_Dialog::Select_ALL_Pressed);
    connect(clear_all_btn, &QPushButton::clicked, this, &Excel_Columns_Dialog::Clear_All_Pressed);
    connect(Sheet_ComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_loading && i >= 0)
            Sheet_Selected(i);
    });
}

Excel_Columns_Dialog::~Excel_Columns_Dialog() = default;

void Excel_Columns_Dialog::resetCommon(const QString& path)
{
    Excel_Sheet_Number = 1;
    file_path->setText(path);
    contains_header->setChecked(true);
    m_model->setEntries({});
    m_loading = true;
    Sheet_ComboBox->clear();
    m_loading = false;
    m_book.reset();
}

namespace {
// The entries of a sheet's first row: a title of white space only is named
// like an empty one, so every column keeps an entry of its own.
QList<Excel_Column_Entry> entriesOf(const QStringList& header)
{
    QList<Excel_Column_Entry> entries;
    for (int c = 0; c < header.size(); ++c) {
        QString name = header.at(c);
        if (Trim_Str(name).isEmpty())
            name = QStringLiteral("Untitled Column %1").arg(c + 1);
        entries.append({false, Trim_Str(name), name, c});
    }
    return entries;
}
} // namespace

bool Excel_Columns_Dialog::Load_file_Func(const QString& path)
{
    auto book = std::make_unique<Xlsx_Workbook>();
    bool opened = false;
    Run_Series_Job(this, QStringLiteral("Reading the workbook, Please wait.."),
                   [&](Series_Progress&) { opened = book->open(path); });
    if (!opened) {
        Show_MessageBox(book->lastError().isEmpty() ? kInvalidText : book->lastError());
        return false;
    }
    m_book = std::move(book);
    m_loading = true;
    Sheet_ComboBox->clear();
    Sheet_ComboBox->addItems(m_book->sheetNames());
    Sheet_ComboBox->setCurrentIndex(m_book->sheetCount() > 0 ? 0 : -1);
    m_loading = false;
    Excel_Sheet_Number = 1;
    const SheetTable header = m_book->sheetCount() > 0 ? readHeader(1) : SheetTable();
    if (!header.isEmpty())
        m_model->setEntries(entriesOf(header.first()));
    return true;
}

SheetTable Excel_Columns_Dialog::readHeader(int sheetNumber)
{
    SheetTable header;
    QString error;
    Run_Series_Job(this, QStringLiteral("Reading the sheet, Please wait.."), [&](Series_Progress& job) {
        header = m_book->readHeader(sheetNumber, [&job](qint64 done, qint64 total) {
            job.total = total;
            job.done = done;
            return !job.stopped();
        });
        error = m_book->lastError();
    });
    if (header.isEmpty() && !error.isEmpty())
        Show_MessageBox(error);
    return header;
}

void Excel_Columns_Dialog::Sheet_Selected(int position)
{
    if (!m_book)
        return;
    Excel_Sheet_Number = position + 1;
    const SheetTable header = readHeader(Excel_Sheet_Number);
    if (header.isEmpty()) {
        // A sheet without rows leaves the entries as they were; one that
        // cannot be read (said already) offers no columns to import from.
        if (!m_book->lastError().isEmpty())
            m_model->setEntries({});
        return;
    }
    m_model->setEntries(entriesOf(header.first()));
}

void Excel_Columns_Dialog::Create_List(const QString& name, bool state, const QString& seriesName, int column)
{
    const QString t = Trim_Str(name);
    if (t.isEmpty())
        return;
    QList<Excel_Column_Entry> entries = m_model->entries();
    entries.append({state, t, seriesName, column});
    m_model->setEntries(entries);
}

bool Excel_Columns_Dialog::Get_Selection_State(int row) const
{
    return row >= 0 && row < m_model->entries().size() && m_model->entries().at(row).State;
}

bool Excel_Columns_Dialog::Check_For_One_Extension_Selection() const
{
    for (const Excel_Column_Entry& e : m_model->entries())
        if (e.State)
            return true;
    return false;
}

void Excel_Columns_Dialog::Select_ALL_Pressed()
{
    for (int i = 0; i < m_model->entries().size(); ++i)
        m_model->setState(i, true);
}

void Excel_Columns_Dialog::Clear_All_Pressed()
{
    for (int i = 0; i < m_model->entries().size(); ++i)
        m_model->setState(i, false);
}

QList<Excel_Column_Entry> Excel_Columns_Dialog::ListData_xl() const
{
    return m_model->entries();
}

Sheet_Cells Excel_Columns_Dialog::readTable(const Sheet_Keep& keep, bool* ok)
{
    Sheet_Cells table;
    m_rowsRead = 0;
    if (!m_book) {
        *ok = true;
        return table;
    }
    QString error;
    const int sheet = Excel_Sheet_Number;
    const bool ran = Run_Series_Job(this, QStringLiteral("Reading the sheet, Please wait.."), [&](Series_Progress& job) {
        table = m_book->readSheet(sheet, [&job](qint64 done, qint64 total) {
            job.total = total;
            job.done = done;
            return !job.stopped();
        }, keep);
        error = m_book->lastError();
    });
    *ok = ran && !m_book->stopped() && error.isEmpty();
    if (ran && !m_book->stopped() && !error.isEmpty()) {
        // Nothing was written or added.
        Show_MessageBox(error);
    }
    if (!*ok)
        return {};
    m_rowsRead = table.rowCount();
    return table;
}

int Excel_Columns_Dialog::firstDataRow() const
{
    return contains_header->isChecked() ? 1 : 0;
}

// ---------------------------------------------------------------- columns to series

int Excel_Columns_Dialog::openFor(const QString& path)
{
    if (!Reset_Controls(path))
        return 0;
    raise();
    activateWindow();
    const int code = Run_Modal_Dialog(*this);
    hide();
    // The workbook is let go with the window: nothing of it stays in memory.
    m_book.reset();
    return code;
}

bool Excel_Columns_Dialog::columnsChosen() const
{
    if (m_model->entries().isEmpty()) {
        Show_MessageBox(QStringLiteral("There is no column."));
        return false;
    }
    if (!Check_For_One_Extension_Selection()) {
        Show_MessageBox(QStringLiteral("No column is selected."));
        return false;
    }
    return true;
}

Import_Excel_DataSheet::Import_Excel_DataSheet(QWidget* parent) : Excel_Columns_Dialog(true, parent)
{
    setWindowTitle(QStringLiteral("Import Series from a Spreadsheet"));
    auto* col = static_cast<QVBoxLayout*>(layout());
    auto* modeRow = new QHBoxLayout;
    Each_col_RD = new QRadioButton(QStringLiteral("One series for each ticked column"));
    Fill_col_RD = new QRadioButton(QStringLiteral("All ticked columns into one series"));
    modeRow->addWidget(Each_col_RD);
    modeRow->addWidget(Fill_col_RD);
    modeRow->addStretch();
    col->addLayout(modeRow);

    fill_box = new QGroupBox;
    auto* fillCol = new QVBoxLayout(fill_box);
    auto* targetRow = new QHBoxLayout;
    fill_new_rd = new QRadioButton(QStringLiteral("New series"));
    fill_replace_rd = new QRadioButton(QStringLiteral("Replace a series"));
    fill_append_rd = new QRadioButton(QStringLiteral("Add to a series"));
    for (QRadioButton* r : {fill_new_rd, fill_replace_rd, fill_append_rd})
        targetRow->addWidget(r);
    targetRow->addStretch();
    fillCol->addLayout(targetRow);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Series name:")));
    list_name = new QLineEdit;
    List_ComboBox = new QComboBox;
    nameRow->addWidget(list_name, 1);
    nameRow->addWidget(List_ComboBox, 1);
    fillCol->addLayout(nameRow);
    col->addWidget(fill_box);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_btn = plainButton(QStringLiteral("Cancel"));
    ok_btn = plainButton(QStringLiteral("OK"));
    buttons->addWidget(cancel_btn);
    buttons->addWidget(ok_btn);
    col->addLayout(buttons);

    connect(Each_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Each_Col_RD_Click);
    connect(Fill_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Fill_Col_RD_Click);
    connect(fill_new_rd, &QRadioButton::clicked, this, [this] { Fill_Type_CellClick(0); });
    connect(fill_replace_rd, &QRadioButton::clicked, this, [this] { Fill_Type_CellClick(1); });
    connect(fill_append_rd, &QRadioButton::clicked, this, [this] { Fill_Type_CellClick(2); });
    connect(ok_btn, &QPushButton::clicked, this, &Import_Excel_DataSheet::OKPressed);
    connect(cancel_btn, &QPushButton::clicked, this, &Import_Excel_DataSheet::CancelPressed);
}

Import_Excel_DataSheet* Import_Excel_DataSheet::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

bool Import_Excel_DataSheet::Reset_Controls(const QString& path)
{
    Fill_Type_CellClick(0);
    Each_Col_RD_Click();
    resetCommon(path);
    list_name->clear();
    List_ComboBox->clear();
    if (!Load_file_Func(path))
        return false;
    List_ComboBox->addItems(Series_Names());
    if (List_ComboBox->count() > 0)
        List_ComboBox->setCurrentIndex(0);
    return true;
}

int Import_Excel_DataSheet::Open_excel_datasheet_Wnd(const QString& path)
{
    return openFor(path);
}

void Import_Excel_DataSheet::Each_Col_RD_Click()
{
    Each_col_RD->setChecked(true);
    Fill_col_RD->setChecked(false);
    SetObjEnabled(fill_box, false);
    ColList->setColumnHidden(Excel_Column_Model::HeaderColumn, false);
}

void Import_Excel_DataSheet::Fill_Col_RD_Click()
{
    Each_col_RD->setChecked(false);
    Fill_col_RD->setChecked(true);
    SetObjEnabled(fill_box, true);
    ColList->setColumnHidden(Excel_Column_Model::HeaderColumn, true);
}

void Import_Excel_DataSheet::Fill_Type_CellClick(int option)
{
    fill_col_option = option;
    fill_new_rd->setChecked(option == 0);
    fill_replace_rd->setChecked(option == 1);
    fill_append_rd->setChecked(option != 0 && option != 1);
    list_name->setVisible(option == 0);
    List_ComboBox->setVisible(option != 0);
}

void Import_Excel_DataSheet::OKPressed()
{
    try {
        if (!columnsChosen())
            return;
        if (Each_col_RD->isChecked()) {
            Create_file_For_Col_Func();
            return;
        }
        if (fill_col_option != 0 && Trim_Str(List_ComboBox->currentText()).isEmpty()) {
            Show_MessageBox(QStringLiteral("Please select list name."));
            return;
        }
        if (fill_col_option == 0 && Trim_Str(list_name->text()).isEmpty()) {
            Show_MessageBox(QStringLiteral("Please enter list name."));
            list_name->setFocus();
            return;
        }
        Insert_file_Func();
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

bool Import_Excel_DataSheet::Create_file_For_Col_Func()
{
    const QList<Excel_Column_Entry> entries = m_model->entries();
    // Every ticked column must give a name to write under.
    for (int i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).State)
            continue;
        if (Remove_Reserve_Char_In_File_Name(Trim_Str(entries.at(i).Header)).isEmpty()) {
            Show_MessageBox(QStringLiteral("Please enter valid series name."));
            Select_Only_Row(ColList, i);
            return false;
        }
    }
    QList<int> ticked;
    for (const Excel_Column_Entry& entry : entries)
        if (entry.State)
            ticked << entry.column;
    // Each series is written straight from the table into its file, one
    // after the other: nothing is kept of the table beside it.
    bool read = false;
    const Sheet_Cells table = readTable({}, &read);
    if (!read)
        return false;
    const qsizetype first = firstDataRow();
    if (m_rowsRead == 0) {
        Show_MessageBox(QStringLiteral("There is no data in selected sheet.\nPlease select another Sheet/Excel File.\n")
                        + kInvalidText);
        done(1);
        return true;
    }
    // The answers of this import: keep or replace, each with "apply to all".
    int keepOrReplace = 0;
    bool keepOrReplaceForAll = false;
    bool Msg_Apply_All_Chk_for_in_use = false;
    QStringList failed;
    for (const Excel_Column_Entry& entry : entries) {
        if (!entry.State)
            continue;
        const QString name = Remove_Reserve_Char_In_File_Name(Trim_Str(entry.Header));
        QString path = Series_File_Path(name);
        if (Series_Exists(name)) {
            if (Series_In_Use(name)) {
                if (!Msg_Apply_All_Chk_for_in_use
                    && Show_Series_In_Use_Alert(name, QStringLiteral("Batch processing Series is already in use.")))
                    Msg_Apply_All_Chk_for_in_use = true;
                continue;
            }
            if (!keepOrReplaceForAll) {
                bool all = false;
                const int answer = Ask_Keep_Or_Replace_Series(name, &all);
                keepOrReplace = answer == 4 ? 4 : answer + (all ? 2 : 0);
                keepOrReplaceForAll = all;
            }
            const int flag = keepOrReplace;
            if (flag == 4)
                continue;
            if (flag == 1 || flag == 3)
                path = Series_Keep_Both_Path(name);
        }
        const int column = entry.column;
        const Series_Value_Source values{std::max<qsizetype>(0, table.rowCount() - first), [&](qsizetype i) {
                                              return table.cell(first + i, column);
                                          }};
        bool written = false;
        Run_Series_Job(this, QString(), [&](Series_Progress&) {
            written = Write_Series_Values_At(path, values, SeriesValues::TrimKeepEmpty);
        });
        if (!written)
            failed << name;
    }
    if (file_name_Insert == 1 && BatchWizard_Window)
        BatchWizard_Window->Fill_List();
    if (!failed.isEmpty())
        Show_MessageBox(QStringLiteral("Error in file accessing.\n\n") + failed.join(QLatin1Char('\n')));
    done(1);
    return true;
}

bool Import_Excel_DataSheet::Insert_file_Func()
{
    const QString typed = fill_col_option != 0 ? List_ComboBox->currentText() : list_name->text();
    const QString name = Remove_Reserve_Char_In_File_Name(typed);
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter valid series name."));
        return false;
    }
    const bool exists = Series_Exists(name);
    if (exists && Series_In_Use(name)) {
        Show_MessageBox(QStringLiteral("Batch Processing Series can't be create because it is currently in use."));
        return false;
    }
    if (fill_col_option == 0 && exists
        && !Show_YES_NO_MessageBox(QStringLiteral("Batch Processing Series already exists. Do you want to replace it?")))
        return false;
    QList<int> ticked;
    for (const Excel_Column_Entry& entry : m_model->entries())
        if (entry.State)
            ticked << entry.column;
    // The series is written straight from the table into its file.
    bool read = false;
    const Sheet_Cells table = readTable({}, &read);
    if (!read)
        return false;
    if (m_rowsRead == 0) {
        // Nothing to write: the series stays as it was.
        Show_MessageBox(kInvalidText);
        done(1);
        return true;
    }
    // The ticked cells of each row in turn.
    const qsizetype first = firstDataRow();
    const qsizetype width = ticked.size();
    const Series_Value_Source values{std::max<qsizetype>(0, table.rowCount() - first) * width, [&](qsizetype i) {
                                          return table.cell(first + i / width, ticked.at(i % width));
                                      }};
    const bool append = fill_col_option != 0 && fill_col_option != 1;
    bool written = false;
    Run_Series_Job(this, QString(), [&](Series_Progress&) {
        written = Write_Series_Values_At(Series_File_Path(name), values, SeriesValues::TrimKeepEmpty, append);
    });
    if (!written) {
        Show_MessageBox(QStringLiteral("Error in file accessing."));
        return false;
    }
    if (file_name_Insert == 1 && BatchWizard_Window)
        BatchWizard_Window->Fill_List();
    done(1);
    return true;
}

// ---------------------------------------------------------------- columns to the value list

Import_Excel::Import_Excel(QWidget* parent) : Excel_Columns_Dialog(false, parent)
{
    setWindowTitle(QStringLiteral("Import Values from a Spreadsheet"));
    auto* col = static_cast<QVBoxLayout*>(layout());
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_btn = plainButton(QStringLiteral("Cancel"));
    ok_btn = plainButton(QStringLiteral("OK"));
    buttons->addWidget(cancel_btn);
    buttons->addWidget(ok_btn);
    col->addLayout(buttons);
    connect(ok_btn, &QPushButton::clicked, this, &Import_Excel::OKPressed);
    connect(cancel_btn, &QPushButton::clicked, this, &Import_Excel::CancelPressed);
}

Import_Excel* Import_Excel::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

bool Import_Excel::Reset_Controls(const QString& path)
{
    resetCommon(path);
    return Load_file_Func(path);
}

int Import_Excel::Open_excel_Wnd(const QString& path)
{
    return openFor(path);
}

void Import_Excel::OKPressed()
{
    try {
        if (!columnsChosen())
            return;
        Insert_file_Func();
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void Import_Excel::Insert_file_Func()
{
    QList<int> ticked;
    for (const Excel_Column_Entry& entry : m_model->entries())
        if (entry.State)
            ticked << entry.column;
    // The values go into the manager's list as strings: the budget of the
    // read counts them (each held in this list, the manager's and its model).
    Sheet_Keep keep;
    keep.columns = ticked;
    keep.bytesPerUnit = 2;
    keep.bytesPerText = 96;
    bool read = false;
    const Sheet_Cells table = readTable(keep, &read);
    if (!read)
        return;
    if (m_rowsRead == 0) {
        Show_MessageBox(kInvalidText);
        done(1);
        return;
    }
    QStringList values;
    for (qsizetype r = firstDataRow(); r < table.rowCount(); ++r)
        for (int column : ticked) {
            const QString v = Trim_Str(table.cell(r, column));
            if (!v.isEmpty())
                values << v;
        }
    if (BatchWizard_Window) {
        if (!Check_Value_List_Room(BatchWizard_Window->ListData_value().size(), values.size()))
            return;
        BatchWizard_Window->Create_Value_List(values);
    }
    done(1);
}
