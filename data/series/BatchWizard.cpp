#include "data/series/BatchWizard.h"

#include "core/canvas/LMNZoomingScrollView.h"
#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "data/Spreadsheet.h"
#include "data/series/Generate_List.h"
#include "data/series/Import_Wizard.h"
#include "data/series/SeriesAlerts.h"
#include "data/series/SeriesJob.h"
#include "data/series/SeriesModels.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

QPointer<BatchWizard> BatchWizard::s_instance;

namespace {

QPushButton* addButton(QVBoxLayout* col, const QString& title)
{
    auto* b = new QPushButton(title);
    b->setAutoDefault(false);
    col->addWidget(b);
    return b;
}

// The row to select after rows were removed: the one now at the last removed
// position, else the first; -1 for an empty list.
int rowAfterRemoval(int lastRemoved, int size)
{
    if (size <= 0)
        return -1;
    return lastRemoved < size ? lastRemoved : 0;
}

} // namespace

BatchWizard::BatchWizard(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Batch Processing Series"));
    Apply_Dialog_Background(this);
    resize(680, 480);

    m_series = new Series_String_Model(QStringLiteral("Available Series"), this);
    m_values = new Series_String_Model(QStringLiteral("Values"), this);

    auto* top = new QHBoxLayout(this);

    // First screen: the series of the folder.
    avl_list_box = new QWidget;
    {
        auto* col = new QVBoxLayout(avl_list_box);
        col->setContentsMargins(0, 0, 0, 0);
        List = new QTableView;
        List->setModel(m_series);
        Setup_Series_Table(List, true);
        List->setEditTriggers(QAbstractItemView::NoEditTriggers);
        col->addWidget(List, 1);
        batch_list_count = new QLabel;
        col->addWidget(batch_list_count);
    }
    top->addWidget(avl_list_box, 1);
    btn_box1 = new QWidget;
    {
        auto* col = new QVBoxLayout(btn_box1);
        col->setContentsMargins(0, 0, 0, 0);
        new_btn = addButton(col, QStringLiteral("New Series"));
        open_btn = addButton(col, QStringLiteral("Open Series"));
        generate_btn = addButton(col, QStringLiteral("Generate Series..."));
        import_btn = addButton(col, QStringLiteral("Import Series..."));
        delete_btn = addButton(col, QStringLiteral("Delete Series"));
        col->addStretch();
        help_btn = addButton(col, QStringLiteral("Help"));
        close_btn = addButton(col, QStringLiteral("Close"));
    }
    top->addWidget(btn_box1);

    // Second screen: the values of one series.
    list_value_box = new QWidget;
    {
        auto* col = new QVBoxLayout(list_value_box);
        col->setContentsMargins(0, 0, 0, 0);
        auto* nameRow = new QHBoxLayout;
        nameRow->addWidget(new QLabel(QStringLiteral("Series name:")));
        batch_list_name = new QLineEdit;
        nameRow->addWidget(batch_list_name, 1);
        col->addLayout(nameRow);
        update_list_name = new QLineEdit;
        update_list_name->setVisible(false);
        col->addWidget(update_list_name);
        List_value = new QTableView;
        List_value->setModel(m_values);
        Setup_Series_Table(List_value, true);
        List_value->setEditTriggers(QAbstractItemView::NoEditTriggers);
        col->addWidget(List_value, 1);
        batch_value_count = new QLabel;
        col->addWidget(batch_value_count);
    }
    top->addWidget(list_value_box, 1);
    btn_box2 = new QWidget;
    {
        auto* col = new QVBoxLayout(btn_box2);
        col->setContentsMargins(0, 0, 0, 0);
        import_value_btn = addButton(col, QStringLiteral("Import Values..."));
        generate_value_btn = addButton(col, QStringLiteral("Generate Values..."));
        delete_rows_btn = addButton(col, QStringLiteral("Delete Rows"));
        export_btn = addButton(col, QStringLiteral("Export..."));
        save_btn = addButton(col, QStringLiteral("Save"));
        col->addStretch();
        back_btn = addButton(col, QStringLiteral("Back"));
        help2_btn = addButton(col, QStringLiteral("Help"));
        close2_btn = addButton(col, QStringLiteral("Close"));
    }
    top->addWidget(btn_box2);

    Update_Value_Wnd = new Update_Ex_Num(this, this);

    connect(new_btn, &QPushButton::clicked, this, &BatchWizard::AddNew_Btn_Clicked);
    connect(open_btn, &QPushButton::clicked, this, &BatchWizard::Update_Btn_Clicked);
    connect(generate_btn, &QPushButton::clicked, this, &BatchWizard::CreateSeries_Btn_Clicked);
    connect(import_btn, &QPushButton::clicked, this, &BatchWizard::Import_Btn_Clicked);
    connect(delete_btn, &QPushButton::clicked, this, &BatchWizard::Delete_List_Btn_Clicked);
    connect(help_btn, &QPushButton::clicked, this, &BatchWizard::Help_Btn_Clicked);
    connect(close_btn, &QPushButton::clicked, this, &BatchWizard::Close_Btn_Clicked);
    connect(import_value_btn, &QPushButton::clicked, this, &BatchWizard::Import_Value_Btn_Clicked);
    connect(generate_value_btn, &QPushButton::clicked, this, &BatchWizard::Series_Value_Btn_Clicked);
    connect(delete_rows_btn, &QPushButton::clicked, this, &BatchWizard::Delete_Rows_Btn_Clicked);
    connect(export_btn, &QPushButton::clicked, this, &BatchWizard::Export_Value_Btn_Clicked);
    connect(save_btn, &QPushButton::clicked, this, [this] { Save_Btn_Clicked(); });
    connect(back_btn, &QPushButton::clicked, this, &BatchWizard::Back_Btn_Clicked);
    connect(help2_btn, &QPushButton::clicked, this, &BatchWizard::Help_Btn_Clicked);
    connect(close2_btn, &QPushButton::clicked, this, &BatchWizard::Close_Btn_Clicked);
    connect(List, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { doubleClickInTable(List, i.row()); });
    connect(List_value, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { doubleClickInTable(List_value, i.row()); });

    Show_hide_first_screen(false);
    Show_hide_Last_screen(true);
    Update_batch_List_Count();
    Update_Value_List_Count();
}

BatchWizard::~BatchWizard() = default;

BatchWizard* BatchWizard::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

int BatchWizard::Open_Wnd()
{
    Reset_Controls();
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

void BatchWizard::Reset_Controls()
{
    Check_Path_And_Create_Files();
    Show_hide_first_screen(false);
    Show_hide_Last_screen(true);
    Fill_List();
}

// ---------------------------------------------------------------- lists

void BatchWizard::Fill_List()
{
    m_series->clear();
    Update_batch_List_Count();
    QStringList names;
    for (const QString& n : Series_Names()) {
        const QString t = Trim_Str(n);
        if (!t.isEmpty())
            names << t;
    }
    m_series->setValues(names);
    Update_batch_List_Count();
}

void BatchWizard::Create_Avail_List(const QString& name)
{
    const QString t = Trim_Str(name);
    if (t.isEmpty())
        return;
    m_series->append({t});
    Update_batch_List_Count();
}

void BatchWizard::Create_Value_List(const QString& value)
{
    Create_Value_List(QStringList{value});
}

void BatchWizard::Create_Value_List(const QStringList& values)
{
    QStringList kept;
    kept.reserve(values.size());
    for (const QString& v : values) {
        const QString t = Trim_Str(v);
        if (!t.isEmpty())
            kept << t;
    }
    m_values->append(kept);
    Update_Value_List_Count();
}

QStringList BatchWizard::ListData() const { return m_series->values(); }
QStringList BatchWizard::ListData_value() const { return m_values->values(); }

void BatchWizard::Replace_Value_At(int row, const QString& value)
{
    m_values->replaceAt(row, value);
    Update_Value_List_Count();
}

QString BatchWizard::Get_List_Name_Text(int row) const
{
    return row >= 0 && row < m_series->size() ? Trim_Str(m_series->values().at(row)) : QString();
}

QString BatchWizard::Get_Value_Text(int row) const
{
    return row >= 0 && row < m_values->size() ? Trim_Str(m_values->values().at(row)) : QString();
}

void BatchWizard::Update_batch_List_Count()
{
    batch_list_count->setText(QStringLiteral("Total List : %1").arg(m_series->size()));
}

void BatchWizard::Update_Value_List_Count()
{
    batch_value_count->setText(QStringLiteral("Total Rows : %1").arg(m_values->size()));
}

void BatchWizard::Mark_List_New_Selection(int row) { Select_Only_Row(List, row); }
void BatchWizard::Mark_List_New_Selection_Value(int row) { Select_Only_Row(List_value, row); }

void BatchWizard::Show_hide_first_screen(bool hide)
{
    avl_list_box->setVisible(!hide);
    btn_box1->setVisible(!hide);
    if (!hide)
        update_list_name->clear();
}

void BatchWizard::Show_hide_Last_screen(bool hide)
{
    list_value_box->setVisible(!hide);
    btn_box2->setVisible(!hide);
}

bool BatchWizard::firstScreenShown() const { return !avl_list_box->isHidden(); }

bool BatchWizard::Selection_Check()
{
    if (m_series->size() == 0) {
        Show_MessageBox(QStringLiteral("Available list is empty."));
        return false;
    }
    const QList<int> rows = Selected_Table_Rows(List);
    if (rows.isEmpty() || Get_List_Name_Text(rows.first()).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select a record from the available list to continue."));
        List->setFocus();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- first screen

void BatchWizard::AddNew_Btn_Clicked()
{
    Show_hide_first_screen(true);
    Show_hide_Last_screen(false);
    batch_list_name->setText(default_file_name);
    update_list_name->clear();
    m_values->clear();
    Update_Value_List_Count();
    batch_list_name->setFocus();
    batch_list_name->selectAll();
}

void BatchWizard::Update_Btn_Clicked()
{
    try {
        if (!Selection_Check())
            return;
        Open_Series(Get_List_Name_Text(Selected_Table_Rows(List).first()));
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void BatchWizard::Open_Series(const QString& name)
{
    // A series that cannot be written cannot be edited.
    QFile probe(Series_File_Path(name));
    if (!probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        Show_MessageBox(QStringLiteral("Error in file accessing."));
        return;
    }
    probe.close();

    QStringList values;
    const bool done = Run_Series_Job(this, QString(), [&](Series_Progress& p) {
        const QStringList raw = Read_Series_Values(name);
        p.total = raw.size();
        values.reserve(raw.size());
        qint64 n = 0;
        for (const QString& v : raw) {
            if (p.stopped())
                return;
            const QString t = Trim_Str(v);
            if (!t.isEmpty())
                values << t;
            p.done = ++n;
        }
    });
    if (!done || !Check_Value_List_Room(0, values.size()))
        return;
    Show_hide_first_screen(true);
    Show_hide_Last_screen(false);
    batch_list_name->setText(name);
    update_list_name->setText(name);
    m_values->setValues(values);
    Update_Value_List_Count();
}

void BatchWizard::CreateSeries_Btn_Clicked()
{
    Generate_List* g = Generate_List::defaultInstance();
    g->file_name_required = 1;
    g->file_name_Insert = 1;
    g->BatchWizard_Window = this;
    g->Open_Wnd();
}

void BatchWizard::Import_Btn_Clicked()
{
    Import_Wizard* w = Import_Wizard::defaultInstance();
    w->file_name_required = 1;
    w->file_name_Insert = 1;
    w->BatchWizard_Window = this;
    w->Open_Wnd();
    raise();
    activateWindow();
}

void BatchWizard::Delete_List_Btn_Clicked()
{
    try {
        bool Msg_Apply_All_Chk_for_in_use = false;   // "Apply to all" of the in-use alert
        if (!Selection_Check())
            return;
        if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure want to delete selected Batch Processing Series?")))
            return;
        const QList<int> rows = Selected_Table_Rows(List);
        bool kept = false;
        QList<int> removed;
        for (int row : rows) {
            const QString name = Get_List_Name_Text(row);
            if (name.isEmpty())
                continue;
            if (Series_In_Use(name)) {
                kept = true;
                if (!Msg_Apply_All_Chk_for_in_use) {
                    if (Show_Series_In_Use_Alert(
                            name, QStringLiteral("Batch Processing Series can't be delete because it is currently in use.")))
                        Msg_Apply_All_Chk_for_in_use = true;
                }
                continue;
            }
            Delete_Series_File(name);
            if (Series_Exists(name))
                kept = true;  // the folder did not let it go
            else
                removed << row;
        }
        if (kept) {
            Fill_List();
            return;
        }
        m_series->removeRowsAt(removed);
        Update_batch_List_Count();
        if (!removed.isEmpty())
            Mark_List_New_Selection(rowAfterRemoval(removed.last(), m_series->size()));
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void BatchWizard::Help_Btn_Clicked() { Open_Help_File(); }

void BatchWizard::Close_Btn_Clicked() { done(0); }

// ---------------------------------------------------------------- second screen

int BatchWizard::Load_Number_Window()
{
    MessageRequest r;
    r.kind = MessageKind::Question;
    r.text = QStringLiteral("The list already holds values.");
    r.informativeText = QStringLiteral("Replace them with the new values, or add the new values after them?");
    r.buttons = {QStringLiteral("Replace"), QStringLiteral("Add"), QStringLiteral("Cancel")};
    r.defaultButton = 1;
    r.escapeButton = 2;
    switch (Raise_Message(r)) {
    case 0:
        return 1;
    case 1:
        return 0;
    default:
        return 2;
    }
}

void BatchWizard::Import_Value_Btn_Clicked()
{
    if (m_values->size() > 0) {
        const int code = Load_Number_Window();
        if (code == 1) {
            m_values->clear();
            Update_Value_List_Count();
        } else if (code != 0) {
            return;
        }
    }
    Import_Wizard* w = Import_Wizard::defaultInstance();
    w->file_name_required = 0;
    w->file_name_Insert = 1;
    w->BatchWizard_Window = this;
    w->Open_Wnd();
    raise();
    activateWindow();
}

void BatchWizard::Series_Value_Btn_Clicked()
{
    if (m_values->size() > 0) {
        const int code = Load_Number_Window();
        if (code == 1) {
            m_values->clear();
            Update_Value_List_Count();
        } else if (code != 0) {
            return;
        }
    }
    Generate_List* g = Generate_List::defaultInstance();
    g->file_name_required = 0;
    g->file_name_Insert = 1;
    g->BatchWizard_Window = this;
    g->Open_Wnd();
}

void BatchWizard::Delete_Rows_Btn_Clicked()
{
    if (m_values->size() == 0) {
        Show_MessageBox(QStringLiteral("List is empty."));
        List_value->setFocus();
        return;
    }
    const QList<int> rows = Selected_Table_Rows(List_value);
    if (rows.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select at least one record from the list to continue."));
        List_value->setFocus();
        return;
    }
    m_values->removeRowsAt(rows);
    Update_Value_List_Count();
    Mark_List_New_Selection_Value(rowAfterRemoval(rows.last(), m_values->size()));
}

bool BatchWizard::Save_Btn_Clicked()
{
    try {
        if (m_values->size() == 0) {
            Show_MessageBox(QStringLiteral("List is empty."));
            List_value->setFocus();
            return false;
        }
        const QString oldName = update_list_name->text();
        const QString name = Remove_Reserve_Char_In_File_Name(batch_list_name->text());
        if (name.isEmpty()) {
            Show_MessageBox(QStringLiteral("Please enter valid series name."));
            batch_list_name->setFocus();
            return false;
        }
        if (!oldName.isEmpty() ? Series_In_Use(oldName) : Series_In_Use(name)) {
            Show_MessageBox(!oldName.isEmpty()
                                ? QStringLiteral("Batch Processing Series can't be update because it is currently in use.")
                                : QStringLiteral("Batch Processing Series can't be create because it is currently in use."));
            return false;
        }
        // The same series under another spelling of its name is not another series.
        const bool sameSeries = !oldName.isEmpty() && name.compare(oldName, Qt::CaseInsensitive) == 0;
        const bool exists = Series_Exists(name);
        if (exists && !sameSeries) {
            // Another existing series: never replace one in use.
            if (Series_In_Use(name)) {
                Show_MessageBox(
                    QStringLiteral("Batch Processing Series can't be create because it is currently in use."));
                return false;
            }
            if (!Show_YES_NO_MessageBox(
                    QStringLiteral("Batch Processing Series already exists. Do you want to replace it?")))
                return false;
        }
        const QString oldPath = !oldName.isEmpty() && Series_Exists(oldName) ? Series_File_Path(oldName) : QString();
        // A change of case only is a rename to the new spelling.
        const QString path = sameSeries && name != oldName
                                 ? Path_Join(Folders.Data_Folder_Path, name + QLatin1Char('.') + batch_file_EXT)
                                 : Series_File_Path(name);
        const QStringList values = Series_Values_For_Writing(m_values->values(), SeriesValues::TrimDropEmpty);
        bool written = false;
        Run_Series_Job(this, QString(), [&](Series_Progress&) { written = Write_Series_File_At(path, values); });
        if (!written) {
            Show_MessageBox(QStringLiteral("Error in file accessing."));
            return false;
        }
        // Renamed: the old file goes only now that the new one is written.
        if (!oldPath.isEmpty() && (sameSeries || !exists) && QFileInfo(oldPath) != QFileInfo(path))
            Delete_File(oldPath);
        raise();
        Show_hide_first_screen(false);
        Show_hide_Last_screen(true);
        Fill_List();
        const int row = int(ListData().indexOf(name));
        if (row >= 0)
            Mark_List_New_Selection(row);
        return true;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        Show_MessageBox(QStringLiteral("Error in file accessing."));
        return false;
    }
}

QString BatchWizard::exportPathFromPanel()
{
    if (chooseExportPath)
        return chooseExportPath();
    QFileDialog panel(this, QStringLiteral("Export"));
    panel.setObjectName(QStringLiteral("Export_Series_Panel"));
    panel.setOption(QFileDialog::DontUseNativeDialog, true);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setFileMode(QFileDialog::AnyFile);
    savePanel = &panel;
    if (!accessoryVC) {
        accessoryVC = new AccessoryViewController(this);
        accessoryVC->setObjectName(QStringLiteral("accessoryVC"));
    }
    // Every export starts on the spreadsheet format.
    accessoryVC->ext_btn->setCurrentIndex(0);
    accessoryVC->placeIn(&panel);
    panel.selectFile(Remove_Reserve_Char_In_File_Name(batch_list_name->text()));
    accessoryVC->selectFormat();
    const QString chosen = Run_Chooser(panel);
    // The accessory outlives the panel: it waits, hidden, for the next export.
    accessoryVC->hide();
    accessoryVC->setParent(this);
    accessoryVC->setSavePanel(nullptr);
    savePanel = nullptr;
    return chosen;
}

void BatchWizard::Export_Value_Btn_Clicked()
{
    try {
        if (m_values->size() == 0) {
            Show_MessageBox(QStringLiteral("List is empty."));
            List_value->setFocus();
            return;
        }
        QString path = exportPathFromPanel();
        if (path.isEmpty())
            return;
        raise();
        const QString ext = QFileInfo(path).suffix().toLower();
        const bool workbook = ext == QLatin1String("xlsx");
        if (!workbook && ext != QLatin1String("txt"))
            path += QStringLiteral(".txt");
        const QStringList values = m_values->values();
        bool written = false;
        const bool finished = Run_Series_Job(this, QString(), [&](Series_Progress& p) {
            if (workbook) {
                SheetTable rows;
                rows.reserve(values.size() + 1);
                rows << QStringList{QStringLiteral("Batch Value")};
                for (const QString& v : values)
                    rows << QStringList{v};
                written = SpreadsheetWriter::WriteWorkbook(path, rows, false);
                return;
            }
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return;
            p.total = values.size();
            QByteArray chunk;
            qint64 n = 0;
            for (const QString& v : values) {
                if (p.stopped()) {
                    file.cancelWriting();
                    return;
                }
                chunk += v.toUtf8();
                chunk += '\n';
                if (chunk.size() >= (1 << 20)) {
                    if (file.write(chunk) != chunk.size()) {
                        file.cancelWriting();
                        return;
                    }
                    chunk.clear();
                }
                p.done = ++n;
            }
            written = file.write(chunk) == chunk.size() && file.commit();
        });
        if (!finished)
            return;
        if (!written) {
            Show_MessageBox(QStringLiteral("Error in file accessing."));
            return;
        }
        Open_Export_File_Box(path, QStringLiteral("Record has been exported successfully."));
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        Show_MessageBox(QStringLiteral("Error in file accessing."));
    }
}

void BatchWizard::Open_Export_File_Box(const QString& Export_File_Path, const QString& Export_File_Message)
{
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Open_Export_File_Box(Export_File_Path, Export_File_Message);
}

void BatchWizard::Back_Btn_Clicked()
{
    Show_hide_first_screen(false);
    Show_hide_Last_screen(true);
}

void BatchWizard::doubleClickInTable(QTableView* table, int row)
{
    if (table == List) {
        if (Selected_Table_Rows(List).size() > 1) {
            Show_MessageBox(QStringLiteral("Please select only one record to update."));
            return;
        }
        Update_Btn_Clicked();
    } else if (table == List_value && row >= 0 && row < m_values->size()) {
        Update_Value_Wnd->Open_Wnd(row, Get_Value_Text(row));
    }
}

// ---------------------------------------------------------------- value editor

Update_Ex_Num::Update_Ex_Num(BatchWizard* owner, QWidget* parent) : QDialog(parent), BatchWizard_Window(owner)
{
    setWindowTitle(QStringLiteral("Update Value"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    col->addWidget(new QLabel(QStringLiteral("Value:")));
    m_ex_num_str = new QLineEdit;
    m_ex_num_str->setMinimumWidth(320);
    col->addWidget(m_ex_num_str);
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    cancel->setAutoDefault(false);
    ok->setDefault(true);
    row->addWidget(cancel);
    row->addWidget(ok);
    col->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &Update_Ex_Num::OKPressed);
    connect(cancel, &QPushButton::clicked, this, &Update_Ex_Num::CancelPressed);
}

int Update_Ex_Num::Open_Wnd(int row, const QString& value)
{
    m_ex_num_str->setText(Trim_Str(value));
    m_s_number = Trim_Str(value);
    m_ex_num_index = row;
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

void Update_Ex_Num::OKPressed()
{
    const QString text = m_ex_num_str->text();
    if (text == m_s_number) {
        done(1);
        return;
    }
    const QString value = Trim_Str(text);
    if (value.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter a valid value."));
        m_ex_num_str->setFocus();
        return;
    }
    if (BatchWizard_Window)
        BatchWizard_Window->Replace_Value_At(m_ex_num_index, value);
    m_ex_num_str->clear();
    m_s_number.clear();
    m_ex_num_index = -1;
    done(1);
}

void Update_Ex_Num::CancelPressed()
{
    m_ex_num_str->clear();
    m_s_number.clear();
    m_ex_num_index = -1;
    done(0);
}
