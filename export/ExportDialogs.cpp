#include "export/ExportDialogs.h"
#include "export/RangeFields.h"

#include "core/canvas/LMNRenderingView.h"
#include "core/model/LMNGraphic.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/BatchServices.h"
#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/JobControl.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/ExportWriter.h"
#include "platform/MainThread.h"
#include "platform/WindowFit.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"
#include "print/OutputGate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <exception>

const QString transparent_background_question = QStringLiteral(
    "Label designs having Transparent Background can be saved only in .PNG File format.\n\nTransparent Background "
    "will be replaced with White fill when saved to Image format other than .PNG file.\n\nAre you sure, you want to "
    "continue with White Background for Transparent Label?");

namespace {

const QStringList formatExtensions{QStringLiteral("jpg"), QStringLiteral("tiff"), QStringLiteral("bmp"),
                                   QStringLiteral("png"), QStringLiteral("eps"), QStringLiteral("gif")};
constexpr int noBatchMaximum = 999999;

QSpinBox* newCount() { return New_Count_Box(1, noBatchMaximum); }

// The first line of a series file, or "".
QString firstSeriesValue(const QString& name)
{
    QFile f(Path_Join(Folders.Data_Folder_Path, name + QLatin1Char('.') + batch_file_EXT));
    if (name.isEmpty() || !f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(f.readLine());
    return QString(text).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
}

} // namespace

// ---------------------------------------------------------------- shared controls

Export_Window_Base::Export_Window_Base(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Export"));
    Apply_Dialog_Background(this);
    setAutoFillBackground(true);
    m_column = new QVBoxLayout(this);

    m_namingBox = new QGroupBox(tr("File name"));
    ex_bar_matrix_file_name = new QButtonGroup(this);
    ex_bar_cus_name = new QLineEdit;
    ex_bar_cus_name->setPlaceholderText(tr("Custom name"));
    // Shown with its naming choice only; its room stays, so nothing moves.
    Keep_Room_When_Hidden(ex_bar_cus_name);
    prefix_suffix_chk_box = new QCheckBox(tr("Add prefix and suffix"));
    prefix_sufix_box = new QGroupBox;
    auto* affixes = new QFormLayout(prefix_sufix_box);
    ex_bar_prefix = new QLineEdit;
    ex_bar_suffix = new QLineEdit;
    affixes->addRow(tr("Prefix:"), ex_bar_prefix);
    affixes->addRow(tr("Suffix:"), ex_bar_suffix);
    ex_bar_image_type_combo = new QComboBox;
    ex_bar_image_type_combo->addItems({QStringLiteral("JPEG"), QStringLiteral("TIFF"), QStringLiteral("BMP"),
                                       QStringLiteral("PNG"), QStringLiteral("EPS"), QStringLiteral("GIF")});

    export_range_box = new QGroupBox(tr("Rows"));
    auto* range = new QGridLayout(export_range_box);
    All_print_rd = new QRadioButton(tr("All"));
    Sel_print_rd = new QRadioButton(tr("Range"));
    auto* rangeGroup = new QButtonGroup(this);
    rangeGroup->addButton(All_print_rd);
    rangeGroup->addButton(Sel_print_rd);
    tot_label = new QLabel(tr("Total:"));
    Total_Text = newCount();
    from_label = new QLabel(tr("From:"));
    from_Text = newCount();
    to_label = new QLabel(tr("To:"));
    To_Text = newCount();
    range->addWidget(All_print_rd, 0, 0);
    range->addWidget(tot_label, 0, 1);
    range->addWidget(Total_Text, 0, 2);
    range->addWidget(Sel_print_rd, 1, 0);
    range->addWidget(from_label, 1, 1);
    range->addWidget(from_Text, 1, 2);
    range->addWidget(to_label, 1, 3);
    range->addWidget(To_Text, 1, 4);

    Export_Dest_Path = new QLineEdit;
    browse_btn = new QPushButton(tr("Browse..."));
    browse_btn->setAutoDefault(false);
    export_btn_on_export_image = new QPushButton(tr("Export"));
    export_btn_on_export_image->setDefault(true);
    cancel_btn = new QPushButton(tr("Cancel"));
    cancel_btn->setAutoDefault(false);

    connect(prefix_suffix_chk_box, &QCheckBox::toggled, this, [this] { Prefix_suffix_Chk_Cliecked(); });
    connect(All_print_rd, &QRadioButton::clicked, this, [this] { All_print_RD_Clicked(); });
    connect(Sel_print_rd, &QRadioButton::clicked, this, [this] { Sel_Print_RD_Clicked(); });
    connect(browse_btn, &QPushButton::clicked, this, [this] { Export_Dest_Path_Clicked(); });
    connect(ex_bar_matrix_file_name, &QButtonGroup::idClicked, this, [this] { namingChanged(); });
}

int Export_Window_Base::namingRow() const
{
    return ex_bar_matrix_file_name->checkedId();
}

void Export_Window_Base::selectNamingRow(int row)
{
    if (QAbstractButton* b = ex_bar_matrix_file_name->button(row))
        b->setChecked(true);
    namingChanged();
}

void Export_Window_Base::Add_Destination_And_Buttons()
{
    auto* dest = new QHBoxLayout;
    dest->addWidget(new QLabel(tr("Destination:")));
    dest->addWidget(Export_Dest_Path, 1);
    dest->addWidget(browse_btn);
    m_column->addLayout(dest);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_btn);
    buttons->addWidget(export_btn_on_export_image);
    m_column->addLayout(buttons);
}

void Export_Window_Base::Prefix_suffix_Chk_Cliecked()
{
    SetObjEnabled(prefix_sufix_box, prefix_suffix_chk_box->isChecked());
}

Range_Fields Export_Window_Base::rangeFields() const
{
    return {tot_label, Total_Text, from_label, from_Text, to_label, To_Text};
}

void Export_Window_Base::All_print_RD_Clicked()
{
    All_print_rd->setChecked(true);
    rangeFields().enable(true, false);
}

void Export_Window_Base::Sel_Print_RD_Clicked()
{
    Sel_print_rd->setChecked(true);
    rangeFields().enable(false, true);
}

void Export_Window_Base::Set_Tot_Value(int value, int max, const QString& set_for)
{
    rangeFields().setTotal(value, max, set_for, batchRows());
}

void Export_Window_Base::Set_Enable_Diable_Range_Box()
{
    if (!batchRows()) {
        SetObjEnabled(export_range_box, false);
        return;
    }
    SetObjEnabled(export_range_box, true);
    if (All_print_rd->isChecked())
        All_print_RD_Clicked();
    else
        Sel_Print_RD_Clicked();
}

void Export_Window_Base::Export_Dest_Path_Clicked()
{
    QString folder;
    if (chooseFolder) {
        folder = chooseFolder();
    } else {
        folder = Choose_Folder(this, tr("Destination folder"), Export_Dest_Path->text());
    }
    if (!folder.isEmpty())
        Export_Dest_Path->setText(folder);
}

bool Export_Window_Base::checkNamePrefixRange(int customRow, const QStringList& tags, int totalRows, bool allRows)
{
    const int row = namingRow();
    if (row == customRow) {
        const QString name = Trim_Str(Remove_Reserve_Char_In_File_Name(ex_bar_cus_name->text()));
        if (name.isEmpty()) {
            Show_MessageBox(QStringLiteral("Please enter valid file name."));
            ex_bar_cus_name->setFocus();
            return false;
        }
        naming.file_name_exported = name;
    } else {
        naming.file_name_exported = tags.value(row, QStringLiteral("<DEF>"));
    }
    if (prefix_suffix_chk_box->isChecked()) {
        const QString prefix = Trim_Str(ex_bar_prefix->text());
        const QString suffix = Trim_Str(ex_bar_suffix->text());
        if (prefix.isEmpty() && suffix.isEmpty()) {
            Show_MessageBox(QStringLiteral("Please enter prefix or suffix value."));
            ex_bar_prefix->setFocus();
            return false;
        }
        naming.file_prefix_exported = prefix;
        naming.file_sufix_exported = suffix;
    } else {
        naming.file_prefix_exported.clear();
        naming.file_sufix_exported.clear();
    }
    if (allRows || All_print_rd->isChecked()) {
        Print_Start = 0;
        Total_Label = totalRows;
        Print_End = totalRows;
        rangeRows = totalRows;
    } else {
        const int from = from_Text->value();
        const int to = To_Text->value();
        if (to < from) {
            Show_MessageBox(QStringLiteral("Please select valid range."));
            from_Text->setFocus();
            return false;
        }
        Print_Start = from - 1;
        Print_End = to;
        Total_Label = to;
        rangeRows = to - (from - 1);
    }
    naming.file_path_ext = formatExtensions.value(ex_bar_image_type_combo->currentIndex(), QStringLiteral("jpg"));
    naming.export_card_counter = 0;
    return true;
}

bool Export_Window_Base::checkDestination()
{
    const QString dest = Export_Dest_Path->text().trimmed();
    if (dest.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select destination path."));
        Export_Dest_Path->setFocus();
        return false;
    }
    naming.file_export_Path = dest;
    return true;
}

// ---------------------------------------------------------------- card export sheet

QPointer<ExportWindow> ExportWindow::s_instance;

ExportWindow::ExportWindow(QWidget* parent) : Export_Window_Base(parent)
{
    setWindowTitle(tr("Export Label"));
    auto* naming = new QGridLayout(m_namingBox);
    exp_rad_def = new QRadioButton(tr("Default (Label)"));
    exp_rad_sn = new QRadioButton(tr("Series name"));
    exp_rad_sv = new QRadioButton(tr("Series value"));
    exp_rad_snv = new QRadioButton(tr("Series name and value"));
    exp_rad_cus = new QRadioButton(tr("Custom name"));
    namingRadios = {exp_rad_def, exp_rad_sn, exp_rad_sv, exp_rad_snv, exp_rad_cus};
    for (int i = 0; i < namingRadios.size(); ++i) {
        ex_bar_matrix_file_name->addButton(namingRadios[i], i);
        naming->addWidget(namingRadios[i], i, 0);
    }
    naming->addWidget(ex_bar_cus_name, 4, 1, 1, 2);
    Used_Seres_Label = new QLabel(tr("Series:"));
    Used_Seres_In_Design = new QComboBox;
    View_export_Series_btn = new QPushButton(tr("View..."));
    View_export_Series_btn->setAutoDefault(false);
    naming->addWidget(Used_Seres_Label, 1, 1);
    naming->addWidget(Used_Seres_In_Design, 2, 1);
    naming->addWidget(View_export_Series_btn, 2, 2);
    for (QWidget* w : {static_cast<QWidget*>(Used_Seres_Label), static_cast<QWidget*>(Used_Seres_In_Design),
                       static_cast<QWidget*>(View_export_Series_btn)})
        Keep_Room_When_Hidden(w);
    m_column->addWidget(m_namingBox);
    m_column->addWidget(prefix_suffix_chk_box);
    m_column->addWidget(prefix_sufix_box);

    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(new QLabel(tr("Format:")));
    formatRow->addWidget(ex_bar_image_type_combo);
    formatRow->addStretch();
    m_column->addLayout(formatRow);

    auto* sideBox = new QGroupBox(tr("Side"));
    auto* sides = new QHBoxLayout(sideBox);
    matrix_export_card_side = new QButtonGroup(this);
    const QStringList sideNames{tr("Both"), tr("Front"), tr("Back")};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(sideNames[i]);
        r->setEnabled(i == 1);  // only the front can be exported
        matrix_export_card_side->addButton(r, i);
        sides->addWidget(r);
    }
    m_column->addWidget(sideBox);

    Export_with_batch_chk = new QCheckBox(tr("Export one file per series row"));
    Export_with_excel_chk = new QCheckBox(this);
    Export_with_excel_chk->setVisible(false);
    m_column->addWidget(Export_with_batch_chk);
    m_column->addWidget(export_range_box);

    Add_Destination_And_Buttons();

    connect(export_btn_on_export_image, &QPushButton::clicked, this, [this] { exportOkay(); });
    connect(cancel_btn, &QPushButton::clicked, this, [this] { exportCancel(); });
    connect(View_export_Series_btn, &QPushButton::clicked, this, [this] { View_Export_Panel_Series_Clicked(); });
    connect(Export_with_batch_chk, &QCheckBox::clicked, this, [this] { Export_With_Batch_Changed(); });
    connect(matrix_export_card_side, &QButtonGroup::idClicked, this, [this] { export_card_side_CellClick(); });
}

ExportWindow* ExportWindow::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

bool ExportWindow::Check_List_Name_Exist_In_Used_Ser_Combo(const QString& name) const
{
    const QString n = Trim_Str(name);
    if (n.isEmpty() || n == QLatin1String("<--Select-->"))
        return true;
    for (int i = 0; i < Used_Seres_In_Design->count(); ++i)
        if (Used_Seres_In_Design->itemText(i) == n)
            return true;
    return false;
}

void ExportWindow::Reset_Controls()
{
    const bool batch = rowCount.batch();
    selectNamingRow(0);
    ex_bar_image_type_combo->setCurrentIndex(0);
    prefix_suffix_chk_box->setChecked(false);
    ex_bar_prefix->clear();
    ex_bar_suffix->clear();
    Prefix_suffix_Chk_Cliecked();
    ex_bar_cus_name->clear();
    Used_Seres_In_Design->clear();
    for (const QString& s : usedSeries)
        if (!Check_List_Name_Exist_In_Used_Ser_Combo(s))
            Used_Seres_In_Design->addItem(Trim_Str(s));
    matrix_export_card_side->button(1)->setChecked(true);   // only the front can be exported
    export_card_side = QStringLiteral("F");
    for (int row = 1; row <= 3; ++row)
        namingRadios[row]->setEnabled(batch);
    Export_with_batch_chk->setEnabled(rowCount.Use_Data_Sheet_Values);
    Export_with_batch_chk->setChecked(rowCount.Use_Data_Sheet_Values);
    Export_with_excel_chk->setChecked(rowCount.Use_Excel_Binding_Values);
    from_Text->setValue(1);
    All_print_RD_Clicked();
    Export_With_Batch_Changed();
    Export_Dest_Path->clear();
    Show_Hide_export_Range_Box();
    export_barcode_file_name_CellClick();
    export_btn_on_export_image->setFocus();
}

bool ExportWindow::batchRows() const
{
    return Export_with_batch_chk->isChecked() || Export_with_excel_chk->isChecked();
}

void ExportWindow::Export_With_Batch_Changed()
{
    const Batch_Row_Count rows = rowCount.only(Export_with_batch_chk->isChecked(),
                                               Export_with_excel_chk->isChecked());
    const int total = rows.batch() ? rows.Total_Batch_Excel_Card : 1;
    Set_Tot_Value(total, total, QStringLiteral("A"));
    Set_Enable_Diable_Range_Box();
}

void ExportWindow::export_card_side_CellClick()
{
    static const QStringList sides{QStringLiteral("BOTH"), QStringLiteral("F"), QStringLiteral("B")};
    export_card_side = sides.value(matrix_export_card_side->checkedId(), QStringLiteral("F"));
    Show_NSLog_Message(export_card_side);
}

void ExportWindow::Show_Hide_export_Range_Box()
{
    export_range_box->setVisible(rowCount.batch());
    Export_with_batch_chk->setVisible(rowCount.Use_Data_Sheet_Values);
    adjustSize();
}

void ExportWindow::export_barcode_file_name_CellClick()
{
    const int row = namingRow();
    const bool series = row >= 1 && row <= 3;
    for (QWidget* w : {static_cast<QWidget*>(Used_Seres_Label), static_cast<QWidget*>(Used_Seres_In_Design),
                       static_cast<QWidget*>(View_export_Series_btn)}) {
        w->setEnabled(series);
        w->setVisible(series);
    }
    ex_bar_cus_name->setEnabled(row == 4);
    ex_bar_cus_name->setVisible(row == 4);
}

void ExportWindow::View_Export_Panel_Series_Clicked()
{
    const QString name = Trim_Str(Used_Seres_In_Design->currentText());
    if (name.isEmpty() || name == QLatin1String("<--Select-->")) {
        Show_MessageBox(QStringLiteral("Please select the series."));
        return;
    }
    if (App_Services().Batch_Services)
        App_Services().Batch_Services->Open_Series_Value_Box(name);
}

int ExportWindow::Open_Wnd()
{
    Reset_Controls();
    return Run_Window_Modal(*this);
}

void ExportWindow::exportOkay()
{
    try {
        const int row = namingRow();
        naming.file_series_exported.clear();
        if (row >= 1 && row <= 3) {
            const QString series = Trim_Str(Used_Seres_In_Design->currentText());
            if (series.isEmpty()) {
                Show_MessageBox(QStringLiteral("Please select series name."));
                return;
            }
            naming.file_series_exported = series;
        }
        const QStringList tags{QStringLiteral("<DEF>"), QStringLiteral("<SN>"), QStringLiteral("<SV>"),
                               QStringLiteral("<SNV>")};
        if (!checkNamePrefixRange(4, tags, rowCount.Total_Batch_Excel_Card, false) || !checkDestination())
            return;
        done(1);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void ExportWindow::exportCancel()
{
    naming = Export_Naming();
    done(0);
}

// ---------------------------------------------------------------- barcode export dialog

QPointer<Export_Barcode> Export_Barcode::s_instance;

Export_Barcode::Export_Barcode(QWidget* parent) : Export_Window_Base(parent)
{
    setWindowTitle(tr("Export Barcode"));
    auto* naming = new QGridLayout(m_namingBox);
    exp_rad_def = new QRadioButton(tr("Default (Barcode)"));
    exp_rad_sv = new QRadioButton(tr("Barcode value"));
    exp_rad_sn = new QRadioButton(tr("Series name"));
    exp_rad_snv = new QRadioButton(tr("Series name and value"));
    exp_rad_hdr = new QRadioButton(tr("Header"));
    exp_rad_ftr = new QRadioButton(tr("Footer"));
    exp_rad_cus = new QRadioButton(tr("Custom name"));
    namingRadios = {exp_rad_def, exp_rad_sv, exp_rad_sn, exp_rad_snv, exp_rad_hdr, exp_rad_ftr, exp_rad_cus};
    for (int i = 0; i < namingRadios.size(); ++i) {
        ex_bar_matrix_file_name->addButton(namingRadios[i], i);
        naming->addWidget(namingRadios[i], i / 2, i % 2);
    }
    naming->addWidget(ex_bar_cus_name, 3, 1);
    m_column->addWidget(m_namingBox);
    m_column->addWidget(prefix_suffix_chk_box);
    m_column->addWidget(prefix_sufix_box);
    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(new QLabel(tr("Format:")));
    formatRow->addWidget(ex_bar_image_type_combo);
    formatRow->addStretch();
    m_column->addLayout(formatRow);
    m_column->addWidget(export_range_box);
    skip_inavlid_chk = new QCheckBox(tr("Skip rows whose barcode cannot be generated"));
    m_column->addWidget(skip_inavlid_chk);
    Add_Destination_And_Buttons();

    connect(export_btn_on_export_image, &QPushButton::clicked, this, [this] { OKPressed(); });
    connect(cancel_btn, &QPushButton::clicked, this, [this] { CancelPressed(); });
    connect(skip_inavlid_chk, &QCheckBox::toggled, this, [this] { Skip_Inavlid_Checked(); });
}

Export_Barcode* Export_Barcode::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

void Export_Barcode::Reset_Controls()
{
    Export_Dest_Path->clear();
    skip_inavlid_chk->setChecked(false);
    from_Text->setValue(1);
    All_print_RD_Clicked();
    // "All" exports every row: the dialog shows no total to type.
    Total_Text->setVisible(false);
    tot_label->setVisible(false);
    Set_Tot_Value(rowCount.Total_Batch_Excel_Card, rowCount.Total_Batch_Excel_Card, QStringLiteral("A"));
    exp_rad_sn->setEnabled(seriesNames);
    exp_rad_snv->setEnabled(seriesNames);
    selectNamingRow(0);
    ex_bar_image_type_combo->setCurrentIndex(0);
    prefix_suffix_chk_box->setChecked(false);
    ex_bar_prefix->clear();
    ex_bar_suffix->clear();
    ex_bar_cus_name->clear();
    Prefix_suffix_Chk_Cliecked();
    if (batchValues)
        Set_Enable_Diable_Range_Box();
    else
        SetObjEnabled(export_range_box, false);
    Show_Hide_Range_Box();
    export_btn_on_export_image->setFocus();
}

void Export_Barcode::Show_Hide_Range_Box()
{
    export_range_box->setVisible(batchValues);
    skip_inavlid_chk->setVisible(batchValues);
    adjustSize();
}

void Export_Barcode::export_barcode_file_name_CellClick()
{
    const bool custom = namingRow() == 6;
    ex_bar_cus_name->setEnabled(custom);
    ex_bar_cus_name->setVisible(custom);
}

void Export_Barcode::Skip_Inavlid_Checked()
{
    // The box is read when the job is made.
}

int Export_Barcode::Open_Export_Dialog()
{
    Reset_Controls();
    return Run_Window_Modal(*this);
}

void Export_Barcode::OKPressed()
{
    try {
        const QStringList tags{QStringLiteral("<DEF>"), QStringLiteral("<BV>"), QStringLiteral("<BS>"),
                               QStringLiteral("<BSV>"), QStringLiteral("<BH>"), QStringLiteral("<BF>")};
        if (!checkNamePrefixRange(6, tags, rowCount.Total_Batch_Excel_Card, !batchValues) || !checkDestination())
            return;
        done(1);
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void Export_Barcode::CancelPressed()
{
    naming = Export_Naming();
    done(0);
}

// ---------------------------------------------------------------- the command

namespace {

// Writes one file after the keep-or-replace question was asked: says so when
// it could not be written.
void Write_Single_File(const QString& path, const PtImage& image, bool show_msg, bool increase_dpi,
                       Job_Control& control)
{
    QString error;
    if (Export_File_Function(path, image, show_msg, show_msg, increase_dpi, nullptr, &error, &control)
        == ExportWriteResult::Failed)
        Show_MessageBox(QStringLiteral("The file could not be written.\n%1\n%2").arg(path, error));
}

// The card as it stands, its front side's items rendered, to one file at
// 600 DPI; with `show_msg` the after-export box follows.
void Export_Single_File(const QString& path, bool show_msg, Job_Control& control)
{
    const QList<LMNGraphic*> items = App_Services().Main_App_wnd
        ? App_Services().Main_App_wnd->Get_Front_Controls_Array() : QList<LMNGraphic*>();
    Write_Single_File(path, LMNRenderingView::image_From_Card_Graphics(items, false), show_msg, true, control);
}

// The barcode of the preview to one file (the invalid-data picture when
// the preview shows none), with the after-export box.
void Export_Single_File_Barcode(const QString& path, const Batch_Row_Source& rows, Job_Control& control)
{
    const PtImage image = rows.currentImage();
    if (image.isNull())
        Write_Single_File(path, App_Services().Batch_Services->Invalid_Barcode_Data_Image(), true, false, control);
    else
        Write_Single_File(path, image, true, true, control);
}

std::shared_ptr<Job_Handle<ExportJobReport>> exportCards(BatchServices* main, const Batch_Row_Count& count)
{
    ExportWindow* sheet = ExportWindow::defaultInstance();
    QStringList used;
    if (App_Services().Main_App_wnd) {
        // The series of the items that print: texts, pictures and barcodes
        // shown and marked for printing (a barcode's header and footer too).
        for (LMNGraphic* item : App_Services().Main_App_wnd->Get_Front_Controls_Array()) {
            if (!item || item->data_source_type != 1 || item->print_object != 0 || !item->ctrl_is_visible)
                continue;
            const LMNKind kind = item->kind();
            if (kind != LMNKind::Text && kind != LMNKind::Image && kind != LMNKind::Barcode)
                continue;
            used << item->batch_list_name;
            if (kind == LMNKind::Barcode)
                used << item->batch_hdr_list_name << item->batch_ftr_list_name;
        }
    }
    sheet->usedSeries = used;
    sheet->rowCount = count;
    if (sheet->Open_Wnd() != 1)
        return nullptr;
    main->Set_Front_Back_Value_To_Print_Export_Mail();
    // The sources whose box is on.
    const Batch_Row_Count job_rows = count.only(sheet->Export_with_batch_chk->isChecked(),
                                                sheet->Export_with_excel_chk->isChecked());

    Export_Naming naming = sheet->naming;
    if (!job_rows.batch()) {
        // One file of the card as it is: a job of its own.
        Job_Control control;
        const QString path = naming.Export_Name_With_Options(firstSeriesValue(naming.file_series_exported),
                                                             naming.file_series_exported, 1);
        const QString target = Check_And_Show_Keep_Replace_File_Msg(path, false, control);
        if (target.isEmpty() && control.Stop_Processing_Now)
            return nullptr;
        Export_Single_File(target, true, control);
        // A design started as "G" is shown on its front again, as after the
        // batch, print and mail roads.
        if (main->Start_Card_Option() == QLatin1String("G"))
            main->Set_Graphic_Array_According_Side();
        return nullptr;
    }
    CardExportJob job;
    job.destination = naming.file_export_Path;
    job.Print_Start = sheet->Print_Start;
    job.Total_Label = sheet->All_print_rd->isChecked() ? job_rows.Total_Batch_Excel_Card : sheet->Total_Label;
    job.naming = naming;
    job.rows = main->Make_Batch_Rows_Of(job_rows.Use_Data_Sheet_Values, job_rows.Use_Excel_Binding_Values);
    job.host = main->Main_wnd();
    return Export_Batch_File(job);
}

std::shared_ptr<Job_Handle<ExportJobReport>> exportBarcodes(BatchServices* main, const Batch_Rows& rows)
{
    // The typed value must encode; with the list or a series feeding the
    // value, the job starts from the first row that encodes (the print
    // command's checks).
    if (!Barcode_Output_Checks(*rows))
        return nullptr;
    const Batch_Row_Count& count = rows->count();
    const BarcodeModeState state = main->Barcode_Mode_State();
    const bool batch = count.Use_Data_Sheet_Values;
    Export_Barcode* dialog = Export_Barcode::defaultInstance();
    dialog->rowCount = count;
    dialog->batchValues = batch;
    dialog->seriesNames = state.dataSource && state.seriesFeeds && state.valueChecked;
    if (dialog->Open_Export_Dialog() != 1)
        return nullptr;
    const QString ext = dialog->naming.file_path_ext.toLower();
    if (state.linear && state.transparentBackground && ext != QLatin1String("png")
        && !Show_YES_NO_MessageBox(transparent_background_question))
        return nullptr;

    Export_Naming naming = dialog->naming;
    const QString seriesName = dialog->seriesNames ? state.valueSeries : QString();
    if (batch) {
        BarcodeExportJob job;
        job.destination = naming.file_export_Path;
        job.Print_Start = dialog->Print_Start;
        job.Total_Label = dialog->All_print_rd->isChecked() ? count.Total_Batch_Excel_Card : dialog->Total_Label;
        job.naming = naming;
        job.seriesName = seriesName;
        job.skipInvalid = dialog->skip_inavlid_chk->isChecked();
        job.invalidImage = main->Invalid_Barcode_Data_Image();
        job.rows = rows;
        job.host = main->Main_wnd();
        return Export_Batch_File_Barcode(job);
    }
    // One file of the barcode as typed: a job of its own.
    Job_Control control;
    const QString path = naming.Export_Barcode_Name_With_Options(state.value, Trim_Str(state.header),
                                                                 Trim_Str(state.footer), seriesName, 1);
    const QString target = Check_And_Show_Keep_Replace_File_Msg(path, false, control);
    if (target.isEmpty() && control.Stop_Processing_Now)
        return nullptr;
    Export_Single_File_Barcode(target, *rows, control);
    return nullptr;
}

} // namespace

std::shared_ptr<Job_Handle<ExportJobReport>> Export_Command()
{
    BatchServices* main = App_Services().Batch_Services;
    if (!main)
        return nullptr;
    try {
        if (!Designing_Mode_Active()) {
            const Batch_Row_Count count = main->Check_Series_Or_Excel_Use_or_not();
            if (count.Total_Barcode_Label_wd_Batch <= 0) {
                Show_MessageBox(QStringLiteral("List is empty."));
                main->Focus_Barcode_List();
                return nullptr;
            }
            main->Draw_2d_barcode_again_for_manual();
            // The rows of the job: what the checks read is what is written.
            const Batch_Rows rows = main->Make_Batch_Rows();
            return rows ? exportBarcodes(main, rows) : nullptr;
        }
        return exportCards(main, main->Check_Series_Or_Excel_Use_or_not());
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
    return nullptr;
}
