#include "data/BatchBinding.h"

#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNImage.h"
#include "core/util/BarcodeServices.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "data/Data_From_Excel.h"
#include "data/SeriesStore.h"
#include "platform/MainThread.h"

#include <QComboBox>
#include <QFileInfo>
#include <QWidget>

#include <algorithm>

PtImage Barcode_output_image;
Batch_Binding* Batch_Binding_Var = nullptr;

namespace {

bool takesPart(const LMNGraphic* item)
{
    if (!item)
        return false;
    const LMNKind k = item->kind();
    return k == LMNKind::Text || k == LMNKind::Image || k == LMNKind::Barcode;
}

bool designingMode() { return Barcode_Setting_Or_Designing_Mode != 0; }

QList<LMNGraphic*> pointers(const QList<LMNGraphicPtr>& items)
{
    QList<LMNGraphic*> out;
    out.reserve(items.size());
    for (const LMNGraphicPtr& p : items)
        out << p.get();
    return out;
}

} // namespace

Batch_Binding::Batch_Binding()
{
    Batch_Binding_Var = this;
}

Batch_Binding::~Batch_Binding()
{
    if (Batch_Binding_Var == this)
        Batch_Binding_Var = nullptr;
    // Items belong to the GUI thread; so do their copies.
    QList<LMNGraphicPtr> copies;
    {
        QMutexLocker lock(&m_lock);
        copies.swap(m_copies);
    }
    if (!copies.isEmpty() && !Is_Main_Thread())
        Run_On_Main_Thread_And_Wait([&] { copies.clear(); });
}

// ---------------------------------------------------------------- spreadsheet source

QString Batch_Binding::Excel_Source_Path() const
{
    QMutexLocker lock(&m_lock);
    return m_excelSourcePath;
}

void Batch_Binding::setExcel_Source_Path(const QString& path)
{
    QMutexLocker lock(&m_lock);
    m_excelSourcePath = path;
}

bool Batch_Binding::Excel_Binding_Use() const
{
    QMutexLocker lock(&m_lock);
    return m_excelBindingUse;
}

void Batch_Binding::setExcel_Binding_Use(bool use)
{
    QMutexLocker lock(&m_lock);
    m_excelBindingUse = use;
}

bool Batch_Binding::Offers_Spreadsheet_Source(int itemSource) const
{
    return itemSource == 2 || m_excel.rowCount() > 0;
}

// ---------------------------------------------------------------- copies of the design

void Batch_Binding::takeCopiesOnGuiThread()
{
    QList<LMNGraphicPtr> copies;
    const QList<LMNGraphic*> live = Main_App_wnd ? Main_App_wnd->Get_Front_Controls_Array() : QList<LMNGraphic*>();
    for (LMNGraphic* item : live) {
        if (!item)
            continue;
        QString error;
        std::unique_ptr<LMNGraphic> copy = LMNGraphic::initWithCoder(item->encodeWithCoder(), &error);
        if (copy) {
            // The box a barcode is centred in is not part of the archive.
            copy->bar_image_ctrl_bounds = item->bar_image_ctrl_bounds;
            copies << LMNGraphicPtr(copy.release());
        }
        else
            Show_NSLog_Message(error);
    }
    QList<LMNGraphicPtr> old;
    {
        QMutexLocker lock(&m_lock);
        old.swap(m_copies);
        m_copies = copies;
        m_haveCopies = true;
    }
    // `old` goes here, on the GUI thread.
}

void Batch_Binding::Take_Batch_Copies()
{
    Run_On_Main_Thread_And_Wait([this] { takeCopiesOnGuiThread(); });
}

QList<LMNGraphic*> Batch_Binding::Graphics_array_Batch() const
{
    QMutexLocker lock(&m_lock);
    return pointers(m_copies);
}

QList<LMNGraphic*> Batch_Binding::frontItems() const { return Graphics_array_Batch(); }

// ---------------------------------------------------------------- counting

namespace {

bool boundToSeries(const LMNGraphic* item)
{
    return takesPart(item) && item->data_source_type == 1 && item->print_object == 0;
}

bool boundToSpreadsheet(const LMNGraphic* item)
{
    return takesPart(item) && item->data_source_type == 2;
}

// The series names a bound item reads (a barcode also its header and footer).
QStringList seriesOf(const LMNGraphic* item)
{
    QStringList names{item->batch_list_name};
    if (item->kind() == LMNKind::Barcode)
        names << item->batch_hdr_list_name << item->batch_ftr_list_name;
    return names;
}

} // namespace

Batch_Row_Count Batch_Binding::Count_Rows() const
{
    Batch_Row_Count count;
    count.designing = true;
    try {
        QList<LMNGraphic*> live;
        Run_On_Main_Thread_And_Wait([&] {
            if (Main_App_wnd)
                live = Main_App_wnd->Get_Front_Controls_Array();
            // The series table counts the series that a taking-part item
            // names; a series counts once, however many items read it.
            QStringList counted;
            int seriesRows = 0;
            for (LMNGraphic* item : live) {
                if (boundToSeries(item))
                    count.Use_Data_Sheet_Values = true;
                if (boundToSpreadsheet(item))
                    count.Use_Excel_Binding_Values = true;
                if (!takesPart(item) || item->data_source_type != 1)
                    continue;
                for (const QString& name : seriesOf(item)) {
                    if (Get_Data_SetIndex_According_Name(name) < 0)
                        continue;
                    bool known = false;
                    for (const QString& c : counted)
                        known = known || Same_Series_Name(c, name);
                    if (known)
                        continue;
                    counted << name;
                    bool exists = false;
                    const QStringList values = Read_Series_Values(name, &exists);
                    if (exists)
                        seriesRows = std::max(seriesRows, int(values.size()));
                }
            }
            const int excelRows = m_excel.rowCount();
            if (count.Use_Excel_Binding_Values && excelRows == 0)
                count.Use_Excel_Binding_Values = false;
            count.Data_table_rows = seriesRows;
            count.Excel_table_rows = excelRows;
            count = count.only(true, true);
        });
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
    return count;
}

void Batch_Binding::Prepare_Job_Rows()
{
    try {
        const Batch_Row_Count count = Count_Rows();
        Take_Batch_Copies();
        {
            QMutexLocker lock(&m_lock);
            m_table.clear();
            m_jobCount = count;
        }
        if (count.Use_Data_Sheet_Values) {
            Create_Dataset_binding_table();
            Calculate_data_table_rows();
        } else {
            QMutexLocker lock(&m_lock);
            m_dataRows = 0;
        }
        if (count.Use_Excel_Binding_Values) {
            Calculate_Excel_table_rows();
        } else {
            QMutexLocker lock(&m_lock);
            m_excelRows = 0;
        }
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

bool Batch_Binding::Check_Front_Side_Dataset_Is_Used() const
{
    for (LMNGraphic* item : frontItems())
        if (boundToSeries(item))
            return true;
    return false;
}

bool Batch_Binding::Check_Front_Side_Excel_Binding_Is_Used() const
{
    for (LMNGraphic* item : frontItems())
        if (boundToSpreadsheet(item))
            return true;
    return false;
}

void Batch_Binding::Create_Dataset_binding_table()
{
    try {
        QList<Series_Column> table;
        for (const QString& name : Series_Names())
            table << Series_Column{name, false, {}};
        {
            QMutexLocker lock(&m_lock);
            m_table = table;
        }
        for (LMNGraphic* item : frontItems()) {
            if (!takesPart(item) || item->data_source_type != 1)
                continue;
            Add_dataset_col_in_binding_table(item->batch_list_name, item->batch_list_index);
            if (item->kind() == LMNKind::Barcode) {
                Add_dataset_col_in_binding_table(item->batch_hdr_list_name, item->batch_hdr_list_index);
                Add_dataset_col_in_binding_table(item->batch_ftr_list_name, item->batch_ftr_list_index);
            }
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Batch_Binding::Add_dataset_col_in_binding_table(const QString& name, int /*index*/)
{
    // The position found by name wins over the remembered one.
    const int at = Get_Data_SetIndex_According_Name(name);
    if (at < 0)
        return;
    bool exists = false;
    const QStringList values = Read_Series_Values(name, &exists);
    if (!exists)
        return;
    QMutexLocker lock(&m_lock);
    if (at >= m_table.size())
        return;
    m_table[at].loaded = true;
    m_table[at].values = values;
}

void Batch_Binding::Calculate_data_table_rows()
{
    QMutexLocker lock(&m_lock);
    int rows = 0;
    for (const Series_Column& c : m_table)
        if (c.loaded)
            rows = std::max(rows, int(c.values.size()));
    m_dataRows = rows;
}

int Batch_Binding::Calculate_Excel_table_rows()
{
    const int rows = m_excel.rowCount();
    QMutexLocker lock(&m_lock);
    m_excelRows = rows;
    return rows;
}

void Batch_Binding::Clear_Delete_Excel_table_rows()
{
    m_excel.Clear_Rows();
    if (Data_From_Excel_Window && Is_Main_Thread())
        Data_From_Excel_Window->Reset_Controls();
}

int Batch_Binding::Data_table_rows() const
{
    QMutexLocker lock(&m_lock);
    return m_dataRows;
}

int Batch_Binding::Excel_table_rows() const
{
    QMutexLocker lock(&m_lock);
    return m_excelRows;
}

QList<Series_Column> Batch_Binding::data_table_content() const
{
    QMutexLocker lock(&m_lock);
    return m_table;
}

// ---------------------------------------------------------------- look-ups

int Batch_Binding::Get_Data_SetIndex_According_Name(const QString& name)
{
    if (name.isEmpty())
        return -1;
    const QStringList names = Series_Names();
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString Batch_Binding::Get_sel_row_col_value_of_dataset(int row, int col) const
{
    QMutexLocker lock(&m_lock);
    if (col < 0 || col >= m_table.size() || row < 0)
        return QString();
    const Series_Column& c = m_table.at(col);
    if (!c.loaded || row >= c.values.size())
        return QString();
    return c.values.at(row);
}

QString Batch_Binding::Get_sel_row_col_value_of_Excel(int row, int col) const
{
    {
        QMutexLocker lock(&m_lock);
        if (row < 0 || row >= m_excelRows)
            return QString();
    }
    return m_excel.Get_Item_Text(row, col);
}

QString Batch_Binding::Get_First_Value_Of_Excel_Binding(int col) const
{
    if (m_excel.rowCount() == 0) {
        Show_NSLog_Message(QStringLiteral("The spreadsheet source has no rows."));
        return QString();
    }
    const QString v = m_excel.Get_Item_Text(0, col);
    return (col >= 1 && v.isEmpty()) ? QStringLiteral(" ") : v;
}

// ---------------------------------------------------------------- filling

QString Batch_Binding::seriesValue(int row, const QString& name, int* position) const
{
    // The position in the folder as it is now: -1 for a series gone since
    // the count. The values come from the table entry of that very name, so
    // a series added or removed meanwhile never shifts another one's values.
    *position = Get_Data_SetIndex_According_Name(name);
    if (*position < 0 || row < 0)
        return QString();
    QMutexLocker lock(&m_lock);
    for (const Series_Column& c : m_table)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return c.loaded && row < c.values.size() ? c.values.at(row) : QString();
    return QString();
}

void Batch_Binding::Assign_Batch_Values_To_Control(int row, const QList<LMNGraphic*>& items)
{
    Batch_Row_Count fill;
    {
        QMutexLocker lock(&m_lock);
        fill = m_jobCount;
    }
    try {
        for (LMNGraphic* item : items) {
            if (!takesPart(item))
                continue;
            const LMNKind kind = item->kind();
            if (item->data_source_type == 1 && fill.Use_Data_Sheet_Values) {
                int p = -1;
                QString v = Trim_Str(seriesValue(row, item->batch_list_name, &p));
                item->batch_list_index = p;
                if (kind == LMNKind::Text) {
                    item->Set_text_value(v);
                } else if (kind == LMNKind::Image) {
                    const bool over = MainWindowServices::Image_Is_Over_Size(v, false, false);
                    static_cast<LMNImage*>(item)->setFilePath(over ? QString() : v);
                } else {
                    if (!Barcode_Gen_Var) {
                        Show_NSLog_Message(QStringLiteral("No barcode dialog to draw a bound barcode."));
                        continue;
                    }
                    Barcode_Gen_Var->Set_Barcode_Prop_To_Control(item);
                    if (p == -1 && v.isEmpty()) {
                        v = item->linear_or_2d != 0 ? item->two_d_font_val : item->linear_font_val;
                    } else if (v.isEmpty()) {
                        item->Set_Barcode_image(PtImage());
                        continue;
                    }
                    int hp = -1;
                    QString h = Trim_Str(seriesValue(row, item->batch_hdr_list_name, &hp));
                    item->batch_hdr_list_index = hp;
                    if (h.isEmpty() && hp == -1)
                        h = item->header_val;
                    int fp = -1;
                    QString f = Trim_Str(seriesValue(row, item->batch_ftr_list_name, &fp));
                    item->batch_ftr_list_index = fp;
                    if (f.isEmpty() && fp == -1)
                        f = item->footer_val;
                    const PtImage image = Barcode_Gen_Var->Get_Image_From_Val(v, h, f);
                    Barcode_output_image = image;
                    item->Set_Barcode_image(image);
                    const QRectF box = item->bar_image_ctrl_bounds;
                    item->setXPosition(box.left() + box.width() / 2 - item->width() / 2);
                    item->setYPosition(box.top() + box.height() / 2 - item->height() / 2);
                }
            } else if (item->data_source_type == 2 && fill.Use_Excel_Binding_Values) {
                const QString v = Trim_Str(Get_sel_row_col_value_of_Excel(row, item->excel_col_indx));
                if (kind == LMNKind::Text) {
                    item->Set_text_value(v);
                } else if (kind == LMNKind::Image) {
                    const bool over = MainWindowServices::Image_Is_Over_Size(v, false, false);
                    static_cast<LMNImage*>(item)->setFilePath(over ? QString() : v);
                } else {
                    if (!Barcode_Gen_Var) {
                        Show_NSLog_Message(QStringLiteral("No barcode dialog to draw a bound barcode."));
                        continue;
                    }
                    Barcode_Gen_Var->Set_Barcode_Prop_To_Control(item);
                    const PtImage image = Barcode_Gen_Var->Get_Image_From_Val(v, item->header_val, item->footer_val);
                    Barcode_output_image = image;
                    item->Set_Barcode_image(image);
                }
            }
        }
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

PtImage Batch_Binding::Generate_Batch_Image_For_Differ_Value(const QList<LMNGraphic*>& items)
{
    try {
        return LMNRenderingView::image_From_Card_Graphics(items, true);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return {};
    }
}

PtImage Batch_Binding::Set_data_table_value_to_card(int row, const QString& /*side*/, bool /*printBox*/)
{
    // All of it on the GUI thread, which also keeps two callers apart.
    PtImage image;
    Run_On_Main_Thread_And_Wait([&] {
        bool have = false;
        {
            QMutexLocker lock(&m_lock);
            have = m_haveCopies;
        }
        if (!have)
            takeCopiesOnGuiThread();
        const QList<LMNGraphic*> items = Graphics_array_Batch();
        Assign_Batch_Values_To_Control(row, items);
        image = Generate_Batch_Image_For_Differ_Value(items);
    });
    return image;
}

void Batch_Binding::Select_first_row_value_for_design()
{
    Prepare_Job_Rows();
    Run_On_Main_Thread_And_Wait([&] {
        if (!Main_App_wnd)
            return;
        Assign_Batch_Values_To_Control(0, Main_App_wnd->Get_Front_Controls_Array());
        Main_App_wnd->Refresh_Canvas();
    });
}

// ---------------------------------------------------------------- combos and panel buttons

void Batch_Binding::Fill_Excel_Col_Name_In_Combo(QComboBox* combo) const
{
    if (!combo)
        return;
    combo->setCurrentIndex(-1);
    combo->clear();
    combo->addItems(m_excel.columnTitles());
}

void Batch_Binding::Remove_Excel_Col_Name_In_Combo(QComboBox* combo)
{
    if (!combo || combo->count() != 3)
        return;
    const int at = combo->findText(QStringLiteral("Excel"));
    if (at >= 0)
        combo->removeItem(at);
}

void Batch_Binding::View_batch_Series_Button(const QString& sourceChoice, const QString& series,
                                             const std::function<void(const QString&)>& openSeries)
{
    if (sourceChoice == QLatin1String("Manual"))
        return;
    if (sourceChoice == QLatin1String("Series")) {
        const QString name = Trim_Str(series);
        if (name.isEmpty() || name == QLatin1String("<--Select-->")) {
            Show_MessageBox(QStringLiteral("Please select the series."));
            return;
        }
        if (openSeries)
            openSeries(name);
        return;
    }
    if (Data_From_Excel* viewer = Data_From_Excel::defaultInstance())
        viewer->Open_Wnd();
}

void Batch_Binding::Data_Source_Help_Button()
{
    Long_SMS_Dlg* box = Long_SMS_Dlg::defaultInstance();
    if (!box)
        return;
    box->title_val = QStringLiteral("Batch Processing Settings Help :");
    box->msg_val_str = QStringLiteral(
        "Select Data Source as 'Manual' to enter value manually.\n"
        "Select 'Series' to fetch the value from the list of existing Batch Processing Series.");
    box->apply_chk_show = false;
    box->show_single_button = true;
    box->Open_Long_sms_Dialog();
}

// ---------------------------------------------------------------- design back-up

void Batch_Binding::Create_Design_Backup_Array()
{
    Run_On_Main_Thread_And_Wait([&] {
        QList<QByteArray> archives;
        const QList<LMNGraphic*> live =
            Main_App_wnd ? Main_App_wnd->Get_Front_Controls_Array() : QList<LMNGraphic*>();
        for (LMNGraphic* item : live) {
            if (!item)
                continue;
            try {
                archives << item->encodeWithCoder();
            } catch (const std::exception& e) {
                Show_NSLog_Message(QString::fromUtf8(e.what()));
            }
        }
        QMutexLocker lock(&m_lock);
        m_backup.clear();
        m_backup << archives;
    });
}

void Batch_Binding::Set_Front_Back_Value_To_Print_Export_Mail()
{
    if (!designingMode())
        return;
    Create_Design_Backup_Array();
    Prepare_Job_Rows();
    Run_On_Main_Thread_And_Wait([] {
        if (Main_App_wnd)
            Main_App_wnd->Refresh_Canvas();
    });
}

bool Batch_Binding::Has_Design_Backup() const
{
    QMutexLocker lock(&m_lock);
    return !m_backup.isEmpty();
}

QList<QByteArray> Batch_Binding::Design_Backup() const
{
    QMutexLocker lock(&m_lock);
    return m_backup.isEmpty() ? QList<QByteArray>() : m_backup.first();
}

void Batch_Binding::Create_Card_Design_Again()
{
    if (!designingMode())
        return;
    const QList<QByteArray> backup = Design_Backup();
    if (!Has_Design_Backup())
        return;  // no back-up: the canvas is never emptied for nothing
    Run_On_Main_Thread_And_Wait([&] {
        if (!Main_App_wnd)
            return;
        LMNGraphicView* view = Main_App_wnd->graphicView();
        LMNDocument* document = view ? view->document() : nullptr;
        if (!document)
            return;
        // Unchanged items stay as they are (and stay selected).
        const QList<LMNGraphic*> live = Main_App_wnd->Get_Front_Controls_Array();
        bool same = live.size() == backup.size();
        for (qsizetype i = 0; same && i < live.size(); ++i)
            same = live.at(i) && live.at(i)->encodeWithCoder() == backup.at(i);
        if (same)
            return;
        document->Enable_Disable_Undo_Registraion(false);
        view->delete_all_control();
        QList<LMNGraphicPtr> items;
        QList<int> indexes;
        for (const QByteArray& archive : backup) {
            std::unique_ptr<LMNGraphic> item = LMNGraphic::initWithCoder(archive);
            if (!item)
                continue;
            LMNGraphicView::check_barcode_and_set_control_bounds(item.get());
            indexes << int(items.size());
            items << LMNGraphicPtr(item.release());
        }
        if (!items.isEmpty())
            document->insertGraphics(items, indexes);
        document->Enable_Disable_Undo_Registraion(true);
        Main_App_wnd->Refresh_Canvas();
    });
}

void Batch_Binding::Set_Graphic_Array_According_Side(const std::function<void()>& selectFrontSide)
{
    if (!designingMode())
        return;
    Card_Value_In_Process = 0;
    if (Start_Card_Option == QLatin1String("G") && selectFrontSide)
        Run_On_Main_Thread_And_Wait(selectFrontSide);
}

void Batch_Binding::Draw_2d_barcode_again_for_manual(bool twoD, bool fromBatch,
                                                     const std::function<void()>& regenerate)
{
    if (!fromBatch && twoD && regenerate)
        Run_On_Main_Thread_And_Wait(regenerate);
}

bool Batch_Binding::Check_Dir_Is_Exist(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isDir();
}

void Batch_Binding::SetFocus(QWidget* control)
{
    if (!control)
        return;
    Run_On_Main_Thread_And_Wait([control] {
        if (QWidget* w = control->window())
            w->activateWindow();
        control->setFocus(Qt::OtherFocusReason);
    });
}
