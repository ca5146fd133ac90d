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


namespace {

bool takesPart(const LMNGraphic* item)
{
    if (!item)
        return false;
    const LMNKind k = item->kind();
    return k == LMNKind::Text || k == LMNKind::Image || k == LMNKind::Barcode;
}

bool designingMode() { return Designing_Mode_Active(); }

QList<LMNGraphic*> pointers(const QList<LMNGraphicPtr>& items)
{
    QList<LMNGraphic*> out;
    out.reserve(items.size());
    for (const LMNGraphicPtr& p : items)
        out << p.get();
    return out;
}

} // namespace

Batch_Binding::Batch_Binding() = default;

Batch_Binding::~Batch_Binding()
{
    // The viewer outlives the design: it lets go of these rows.
    if (Data_From_Excel* viewer = Data_From_Excel::Data_From_Excel_Window(); viewer && viewer->rows() == &m_excel)
        viewer->setRows(nullptr);
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

// The series the taking-part items name, each once with its position in the
// series folder and its values; a series that is not in the folder is left out.
QList<Series_Column> Batch_Binding::Create_Dataset_binding_table(const QList<LMNGraphic*>& items)
{
    QList<Series_Column> table;
    const QStringList folder = Series_Names();
    for (LMNGraphic* item : items) {
        if (!takesPart(item) || item->data_source_type != 1)
            continue;
        for (const QString& name : seriesOf(item)) {
            if (name.isEmpty())
                continue;
            bool known = false;
            for (const Series_Column& c : table)
                known = known || Same_Series_Name(c.name, name);
            if (known)
                continue;
            int position = -1;
            for (int i = 0; i < folder.size() && position < 0; ++i)
                if (Same_Series_Name(folder.at(i), name))
                    position = i;
            if (position < 0)
                continue;
            bool exists = false;
            const QStringList values = Read_Series_Values(name, &exists);
            if (exists)
                table << Series_Column{name, true, values, position};
        }
    }
    return table;
}

int Batch_Binding::Calculate_data_table_rows(const QList<Series_Column>& table)
{
    int rows = 0;
    for (const Series_Column& c : table)
        rows = std::max(rows, int(c.values.size()));
    return rows;
}

int Batch_Binding::Calculate_Excel_table_rows() const
{
    return m_excel.rowCount();
}

bool Batch_Binding::Check_Front_Side_Dataset_Is_Used(const QList<LMNGraphic*>& items)
{
    return std::any_of(items.begin(), items.end(), boundToSeries);
}

bool Batch_Binding::Check_Front_Side_Excel_Binding_Is_Used(const QList<LMNGraphic*>& items)
{
    return std::any_of(items.begin(), items.end(), boundToSpreadsheet);
}

void Batch_Binding::Check_Data_Sheet_Value_Use_or_Not(const QList<LMNGraphic*>& items, Batch_Row_Count& count)
{
    count.Use_Data_Sheet_Values = Check_Front_Side_Dataset_Is_Used(items);
    count.Data_table_rows =
        count.Use_Data_Sheet_Values ? Calculate_data_table_rows(Create_Dataset_binding_table(items)) : 0;
}

void Batch_Binding::Check_Excel_Binding_Value_Use_or_Not(const QList<LMNGraphic*>& items, Batch_Row_Count& count) const
{
    count.Excel_table_rows = Calculate_Excel_table_rows();
    count.Use_Excel_Binding_Values = Check_Front_Side_Excel_Binding_Is_Used(items) && count.Excel_table_rows > 0;
}

Batch_Row_Count Batch_Binding::Count_Rows() const
{
    Batch_Row_Count count;
    count.designing = true;
    try {
        Run_On_Main_Thread_And_Wait([&] {
            const QList<LMNGraphic*> live =
                App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Get_Front_Controls_Array() : QList<LMNGraphic*>();
            Check_Data_Sheet_Value_Use_or_Not(live, count);
            Check_Excel_Binding_Value_Use_or_Not(live, count);
            count.Get_total_Card_count();
        });
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
    return count;
}

std::shared_ptr<const Design_Rows> Batch_Binding::Make_Rows(const Batch_Row_Count& count) const
{
    std::shared_ptr<const Design_Rows> rows;
    Run_On_Main_Thread_And_Wait([&] {
        const QList<LMNGraphic*> live =
            App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Get_Front_Controls_Array() : QList<LMNGraphic*>();
        QList<QByteArray> archives;
        QMap<int, QStringList> excel;
        const int excelRows = Calculate_Excel_table_rows();
        for (LMNGraphic* item : live) {
            if (!item)
                continue;
            archives << item->encodeWithCoder();
            // The spreadsheet column an item reads, read once.
            if (boundToSpreadsheet(item) && count.Use_Excel_Binding_Values && !excel.contains(item->excel_col_indx)) {
                QStringList values;
                values.reserve(excelRows);
                for (int r = 0; r < excelRows; ++r)
                    values << m_excel.Get_Item_Text(r, item->excel_col_indx);
                excel.insert(item->excel_col_indx, values);
            }
        }
        // The box a barcode is centred in is not part of the archive.
        QList<QRectF> boxes;
        for (LMNGraphic* item : live)
            if (item)
                boxes << item->bar_image_ctrl_bounds;
        rows = std::make_shared<const Design_Rows>(count, archives, boxes,
                                                   count.Use_Data_Sheet_Values ? Create_Dataset_binding_table(live)
                                                                               : QList<Series_Column>(),
                                                   excel);
    });
    return rows;
}

void Batch_Binding::Clear_Delete_Excel_table_rows()
{
    m_excel.Clear_Rows();
    if (Data_From_Excel* viewer = Data_From_Excel::Data_From_Excel_Window(); viewer && Is_Main_Thread())
        viewer->Reset_Controls();
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

QString Batch_Binding::Get_First_Value_Of_Excel_Binding(int col) const
{
    if (m_excel.rowCount() == 0) {
        Show_NSLog_Message(QStringLiteral("The spreadsheet source has no rows."));
        return QString();
    }
    const QString v = m_excel.Get_Item_Text(0, col);
    return (col >= 1 && v.isEmpty()) ? QStringLiteral(" ") : v;
}

void Batch_Binding::Select_first_row_value_for_design()
{
    const std::shared_ptr<const Design_Rows> rows = Make_Rows(Count_Rows());
    Run_On_Main_Thread_And_Wait([&] {
        if (!App_Services().Main_App_wnd || !rows)
            return;
        rows->Assign_Batch_Values_To_Control(0, App_Services().Main_App_wnd->Get_Front_Controls_Array());
        App_Services().Main_App_wnd->Refresh_Canvas();
    });
}

// ---------------------------------------------------------------- the rows of a job

Design_Rows::Design_Rows(const Batch_Row_Count& count, const QList<QByteArray>& archives,
                         const QList<QRectF>& barcodeBoxes, const QList<Series_Column>& series,
                         const QMap<int, QStringList>& excel)
    : Batch_Row_Source(count), m_archives(archives), m_boxes(barcodeBoxes), m_series(series), m_excel(excel)
{
    m_copies = decode();
}

Design_Rows::~Design_Rows()
{
    // Items belong to the GUI thread; so do their copies. The last owner may
    // be a worker that ends while the GUI thread waits for it: the copies are
    // handed over, not waited for.
    if (!m_copies.isEmpty() && !Is_Main_Thread()) {
        auto copies = std::make_shared<QList<LMNGraphicPtr>>(std::move(m_copies));
        Post_To_Main_Thread([copies] { copies->clear(); });
    }
}

QList<LMNGraphicPtr> Design_Rows::decode() const
{
    QList<LMNGraphicPtr> copies;
    for (qsizetype i = 0; i < m_archives.size(); ++i) {
        QString error;
        std::unique_ptr<LMNGraphic> copy = LMNGraphic::initWithCoder(m_archives.at(i), &error);
        if (!copy) {
            Show_NSLog_Message(error);
            continue;
        }
        copy->bar_image_ctrl_bounds = m_boxes.value(i);
        copies << LMNGraphicPtr(copy.release());
    }
    return copies;
}

QList<LMNGraphic*> Design_Rows::Graphics_array_Batch() const
{
    return pointers(m_copies);
}

int Design_Rows::printQuantity(int row) const
{
    return row >= 0 && row < rowCount() ? 1 : 0;
}

QString Design_Rows::seriesValue(int row, const QString& series) const
{
    int position = -1;
    return seriesValueAt(row, series, &position);
}

QString Design_Rows::seriesValueAt(int row, const QString& name, int* position) const
{
    *position = -1;
    for (const Series_Column& c : m_series) {
        if (!Same_Series_Name(c.name, name))
            continue;
        *position = c.position;
        return row >= 0 && row < c.values.size() ? c.values.at(row) : QString();
    }
    return QString();
}

QString Design_Rows::Get_sel_row_col_value_of_Excel(int row, int col) const
{
    const auto it = m_excel.constFind(col);
    if (it == m_excel.constEnd() || row < 0 || row >= it->size())
        return QString();
    return it->at(row);
}

void Design_Rows::Assign_Batch_Values_To_Control(int row, const QList<LMNGraphic*>& items) const
{
    try {
        for (LMNGraphic* item : items) {
            if (!takesPart(item))
                continue;
            const LMNKind kind = item->kind();
            if (item->data_source_type == 1 && m_count.Use_Data_Sheet_Values) {
                int p = -1;
                QString v = Trim_Str(seriesValueAt(row, item->batch_list_name, &p));
                item->batch_list_index = p;
                if (kind == LMNKind::Text) {
                    item->Set_text_value(v);
                } else if (kind == LMNKind::Image) {
                    const bool over = MainWindowServices::Image_Is_Over_Size(v, false, false);
                    static_cast<LMNImage*>(item)->setFilePath(over ? QString() : v);
                } else {
                    if (!App_Services().Barcode_Gen_Var) {
                        Show_NSLog_Message(QStringLiteral("No barcode dialog to draw a bound barcode."));
                        continue;
                    }
                    App_Services().Barcode_Gen_Var->Set_Barcode_Prop_To_Control(item);
                    if (p == -1 && v.isEmpty()) {
                        v = item->linear_or_2d != 0 ? item->two_d_font_val : item->linear_font_val;
                    } else if (v.isEmpty()) {
                        item->Set_Barcode_image(PtImage());
                        continue;
                    }
                    int hp = -1;
                    QString h = Trim_Str(seriesValueAt(row, item->batch_hdr_list_name, &hp));
                    item->batch_hdr_list_index = hp;
                    if (h.isEmpty() && hp == -1)
                        h = item->header_val;
                    int fp = -1;
                    QString f = Trim_Str(seriesValueAt(row, item->batch_ftr_list_name, &fp));
                    item->batch_ftr_list_index = fp;
                    if (f.isEmpty() && fp == -1)
                        f = item->footer_val;
                    item->Set_Barcode_image(App_Services().Barcode_Gen_Var->Get_Image_From_Val(v, h, f));
                    const QRectF box = item->bar_image_ctrl_bounds;
                    item->setXPosition(box.left() + box.width() / 2 - item->width() / 2);
                    item->setYPosition(box.top() + box.height() / 2 - item->height() / 2);
                }
            } else if (item->data_source_type == 2 && m_count.Use_Excel_Binding_Values) {
                const QString v = Trim_Str(Get_sel_row_col_value_of_Excel(row, item->excel_col_indx));
                if (kind == LMNKind::Text) {
                    item->Set_text_value(v);
                } else if (kind == LMNKind::Image) {
                    const bool over = MainWindowServices::Image_Is_Over_Size(v, false, false);
                    static_cast<LMNImage*>(item)->setFilePath(over ? QString() : v);
                } else {
                    if (!App_Services().Barcode_Gen_Var) {
                        Show_NSLog_Message(QStringLiteral("No barcode dialog to draw a bound barcode."));
                        continue;
                    }
                    App_Services().Barcode_Gen_Var->Set_Barcode_Prop_To_Control(item);
                    item->Set_Barcode_image(App_Services().Barcode_Gen_Var->Get_Image_From_Val(v, item->header_val, item->footer_val));
                }
            }
        }
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

PtImage Design_Rows::Generate_Batch_Image_For_Differ_Value(const QList<LMNGraphic*>& items)
{
    try {
        return LMNRenderingView::image_From_Card_Graphics(items, true);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return {};
    }
}

PtImage Design_Rows::Set_data_table_value_to_card(int row) const
{
    // All of it on the GUI thread, which also keeps two callers apart.
    PtImage image;
    Run_On_Main_Thread_And_Wait([&] {
        // The main window's canvas is not redrawn while the card is filled.
        struct In_Process {
            bool was = App_Services().Main_App_wnd && App_Services().Main_App_wnd->Card_Value_In_Process;
            In_Process()
            {
                if (App_Services().Main_App_wnd)
                    App_Services().Main_App_wnd->Card_Value_In_Process = true;
            }
            ~In_Process()
            {
                if (App_Services().Main_App_wnd)
                    App_Services().Main_App_wnd->Card_Value_In_Process = was;
            }
        } inProcess;
        const QList<LMNGraphic*> items = Graphics_array_Batch();
        Assign_Batch_Values_To_Control(row, items);
        image = Generate_Batch_Image_For_Differ_Value(items);
    });
    return image;
}

PtImage Design_Rows::currentImage() const
{
    // Fresh copies of the design as it was when the job was made.
    PtImage image;
    Run_On_Main_Thread_And_Wait([&] {
        const QList<LMNGraphicPtr> copies = decode();
        try {
            image = LMNRenderingView::image_From_Card_Graphics(pointers(copies), false);
        } catch (const std::exception& e) {
            Show_NSLog_Message(QString::fromUtf8(e.what()));
        }
    });
    return image;
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
                                             const std::function<void(const QString&)>& openSeries,
                                             Excel_Rows* sheetRows)
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
    if (Data_From_Excel* viewer = Data_From_Excel::defaultInstance()) {
        viewer->setRows(sheetRows);
        viewer->Open_Wnd();
    }
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
            App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Get_Front_Controls_Array() : QList<LMNGraphic*>();
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
    Run_On_Main_Thread_And_Wait([] {
        if (App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Refresh_Canvas();
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
        if (!App_Services().Main_App_wnd)
            return;
        LMNGraphicView* view = App_Services().Main_App_wnd->graphicView();
        LMNDocument* document = view ? view->document() : nullptr;
        if (!document)
            return;
        // Unchanged items stay as they are; either way the selection is not
        // restored: nothing is selected afterwards.
        const QList<LMNGraphic*> live = App_Services().Main_App_wnd->Get_Front_Controls_Array();
        bool same = live.size() == backup.size();
        for (qsizetype i = 0; same && i < live.size(); ++i)
            same = live.at(i) && live.at(i)->encodeWithCoder() == backup.at(i);
        if (same) {
            view->changeSelectionIndexes({});
            view->_Selected_Graphic = nullptr;
            return;
        }
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
        App_Services().Main_App_wnd->Refresh_Canvas();
    });
}

void Batch_Binding::Set_Graphic_Array_According_Side(const std::function<void()>& selectFrontSide)
{
    if (!designingMode())
        return;
    Run_On_Main_Thread_And_Wait([] {
        if (App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Card_Value_In_Process = false;
    });
    if (Design_Start_Option() == QLatin1String("G") && selectFrontSide)
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
