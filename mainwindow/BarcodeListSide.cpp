// The list side of barcode mode: the sources of the texts and the rows of
// the batch, shown from and written into the barcode mode view's source
// value. (The list box is in BarcodeListTable.cpp.)
#include "mainwindow/BarcodeListSide.h"

#include "barcode/generation/panes/ValuePane.h"
#include "core/util/Helpers.h"
#include "data/BatchBinding.h"
#include "data/SeriesStore.h"
#include "mainwindow/BarcodeModeView.h"
#include "mainwindow/LMNWindowController.h"
#include "mainwindow/MainWindowSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kSelect = QStringLiteral("<--Select-->");
// Characters a value field is given of a row's text: as many as a line
// field takes.
constexpr qsizetype kShownChars = 32767;

} // namespace

BarcodeListSide::BarcodeListSide(BarcodeModeView* owner, Barcode_Source& source)
    : QObject(owner), m_owner(owner), m_source(source), m_transfer(m_model, owner, [] {
          const LMNWindowController* window = LMNWindowController::defaultInstance();
          return window ? window->banner_image : QImage();
      })
{
    buildBatchBox();
    buildListBox();
    connectSwitches();
    m_transfer.listChanged = [this] {
        Reload_List();
        Update_List_Count();
    };
    m_transfer.exported = [](const QString& path, const QString& message) {
        if (LMNWindowController* window = LMNWindowController::defaultInstance())
            window->Open_Export_File_Box(path, message);
    };
    connect(&m_model, &BarcodeListModel::countChanged, this, [this] { Update_List_Count(); });
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] { List_Operation_Button_State(); });
    Update_List_Count();
}

BarcodeListSide::~BarcodeListSide() = default;

// ---------------------------------------------------------------- layout

void BarcodeListSide::buildBatchBox()
{
    auto* box = new QGroupBox(tr("Batch processing"));
    box->setObjectName("batch_box");
    m_batchBox = box;
    auto* g = new QGridLayout(box);
    data_source_chkbox = new QCheckBox(tr("Data source:"), box);
    data_source_chkbox->setObjectName("data_source_chkbox");
    data_source_txt_box = new QLabel(tr("Manual"), box);
    data_source_txt_box->setObjectName("data_source_txt_box");
    auto* help = new QPushButton(QStringLiteral("?"), box);
    help->setObjectName("data_source_help_btn");
    help->setFixedSize(22, 22);
    help->setToolTip(tr("Help"));
    g->addWidget(data_source_chkbox, 0, 0);
    g->addWidget(data_source_txt_box, 0, 1);
    g->addWidget(help, 0, 2, Qt::AlignRight);

    Custom_Sheet_RD = new QRadioButton(tr("Barcode list"), box);
    Custom_Sheet_RD->setObjectName("Custom_Sheet_RD");
    Data_Set_Sheet_RD = new QRadioButton(tr("Series"), box);
    Data_Set_Sheet_RD->setObjectName("Data_Set_Sheet_RD");
    auto* sources = new QButtonGroup(box);
    sources->addButton(Custom_Sheet_RD);
    sources->addButton(Data_Set_Sheet_RD);
    Custom_Sheet_RD->setChecked(true);
    g->addWidget(Custom_Sheet_RD, 1, 0);
    g->addWidget(Data_Set_Sheet_RD, 1, 1);

    batch_chk_Gp_Bx = new QGroupBox(tr("Taken from the source"), box);
    batch_chk_Gp_Bx->setObjectName("batch_chk_Gp_Bx");
    auto* checks = new QHBoxLayout(batch_chk_Gp_Bx);
    barcode_value_chk = new QCheckBox(tr("Value"), batch_chk_Gp_Bx);
    barcode_value_chk->setObjectName("barcode_value_chk");
    barcode_header_chk = new QCheckBox(tr("Header"), batch_chk_Gp_Bx);
    barcode_header_chk->setObjectName("barcode_header_chk");
    barcode_footer_chk = new QCheckBox(tr("Footer"), batch_chk_Gp_Bx);
    barcode_footer_chk->setObjectName("barcode_footer_chk");
    auto* batchHelp = new QPushButton(QStringLiteral("?"), batch_chk_Gp_Bx);
    batchHelp->setObjectName("batch_help_btn");
    batchHelp->setFixedSize(22, 22);
    for (QWidget* w : std::initializer_list<QWidget*>{barcode_value_chk, barcode_header_chk, barcode_footer_chk})
        checks->addWidget(w);
    checks->addStretch();
    checks->addWidget(batchHelp);
    g->addWidget(batch_chk_Gp_Bx, 2, 0, 1, 3);

    buildSeriesBox(box);
    g->addWidget(series_box, 3, 0, 1, 3);

    connect(data_source_chkbox, &QCheckBox::clicked, this, [this] { barcodeData_SourceChanged(); });
    connect(Custom_Sheet_RD, &QRadioButton::clicked, this, [this] { Custom_Sheet_Check(); });
    connect(Data_Set_Sheet_RD, &QRadioButton::clicked, this, [this] { Data_Set_Sheet_Check(); });
    connect(barcode_value_chk, &QCheckBox::clicked, this, [this] { Batch_Value_Check(); });
    connect(barcode_header_chk, &QCheckBox::clicked, this, [this] { Batch_Header_Check(); });
    connect(barcode_footer_chk, &QCheckBox::clicked, this, [this] { Batch_Footer_Check(); });
    connect(help, &QPushButton::clicked, this, [this] { m_owner->Barcode_Data_Source_Help_Button(); });
    connect(batchHelp, &QPushButton::clicked, this, [this] { m_owner->Batch_Help_Button(); });
}

void BarcodeListSide::buildSeriesBox(QGroupBox* box)
{
    series_box = new QWidget(box);
    series_box->setObjectName("series_box");
    auto* sg = new QGridLayout(series_box);
    sg->setContentsMargins(0, 0, 0, 0);
    const char* labels[3] = {"Value series:", "Header series:", "Footer series:"};
    const char* names[3] = {"val_combo_list", "hdr_combo_list", "ftr_combo_list"};
    const char* items[3] = {"val_combo_value", "hdr_combo_value", "ftr_combo_value"};
    QComboBox** nameCombos[3] = {&val_combo_list, &hdr_combo_list, &ftr_combo_list};
    QComboBox** itemCombos[3] = {&val_combo_value, &hdr_combo_value, &ftr_combo_value};
    for (int i = 0; i < 3; ++i) {
        auto* n = new QComboBox(series_box);
        n->setObjectName(names[i]);
        n->setMinimumWidth(150);
        auto* v = new QComboBox(series_box);
        v->setObjectName(items[i]);
        v->setMinimumWidth(150);
        v->setMaxVisibleItems(20);
        *nameCombos[i] = n;
        *itemCombos[i] = v;
        sg->addWidget(new QLabel(tr(labels[i]), series_box), i, 0);
        sg->addWidget(n, i, 1);
        sg->addWidget(v, i, 2);
        connect(n, QOverload<int>::of(&QComboBox::activated), this, [this, i] { Series_Name_Chosen(i); });
        connect(v, QOverload<int>::of(&QComboBox::activated), this, [this, i] { Series_Item_Chosen(i); });
    }
    val_list_name_txt = new QLabel(series_box);
    val_list_name_txt->setObjectName("val_list_name_txt");
    val_list_name_txt->setVisible(false);
    series_box->setVisible(false);
}

void BarcodeListSide::connectSwitches()
{
    // What the switches say goes into the source value the moment it changes,
    // whether the user or the program changed it.
    m_source.dataSource = data_source_chkbox->isChecked();
    m_source.kind = Data_Set_Sheet_RD->isChecked() ? Barcode_Source::Kind::Series : Barcode_Source::Kind::List;
    connect(data_source_chkbox, &QCheckBox::toggled, this, [this](bool on) { m_source.dataSource = on; });
    connect(Data_Set_Sheet_RD, &QRadioButton::toggled, this, [this](bool on) {
        m_source.kind = on ? Barcode_Source::Kind::Series : Barcode_Source::Kind::List;
    });
    for (int i = 0; i < 3; ++i) {
        m_source.fed[size_t(i)] = check(i)->isChecked();
        connect(check(i), &QCheckBox::toggled, this, [this, i](bool on) { m_source.fed[size_t(i)] = on; });
    }
}

// ---------------------------------------------------------------- helpers

QCheckBox* BarcodeListSide::check(int which) const
{
    return which == 0 ? barcode_value_chk : which == 1 ? barcode_header_chk : barcode_footer_chk;
}

QComboBox* BarcodeListSide::nameCombo(int which) const
{
    return which == 0 ? val_combo_list : which == 1 ? hdr_combo_list : ftr_combo_list;
}

QComboBox* BarcodeListSide::itemCombo(int which) const
{
    return which == 0 ? val_combo_value : which == 1 ? hdr_combo_value : ftr_combo_value;
}

void BarcodeListSide::setText(int which, const QString& full)
{
    // A field shows at most what a line field takes: a row's text of a
    // megabyte is not laid out whole in the value field of 2D codes (its
    // layout would take forty times the text). No symbol holds that many
    // characters, so the preview says the same; the jobs take the whole
    // text from the list.
    QString text = full;
    if (text.size() > kShownChars)
        text.truncate(kShownChars - (text.at(kShownChars - 1).isHighSurrogate() ? 1 : 0));
    ValuePane* v = m_owner->valuePane();
    if (which == 0) {
        v->setFieldText(ValuePane::Field::Value, text);
        v->setFieldText(ValuePane::Field::Value2D, text);
    } else {
        v->setFieldText(which == 1 ? ValuePane::Field::Header : ValuePane::Field::Footer, text);
    }
}

void BarcodeListSide::setTextReadOnly(int which, bool readOnly)
{
    ValuePane* v = m_owner->valuePane();
    if (which == 0) {
        v->setFieldReadOnly(ValuePane::Field::Value, readOnly);
        v->setFieldReadOnly(ValuePane::Field::Value2D, readOnly);
    } else {
        v->setFieldReadOnly(which == 1 ? ValuePane::Field::Header : ValuePane::Field::Footer, readOnly);
    }
}

void BarcodeListSide::showText(int which, bool shown)
{
    ValuePane* v = m_owner->valuePane();
    if (which == 0) {
        // The value field of the kind chosen.
        const bool twoD = m_owner->liner_or_2D_font != 0;
        v->setFieldShown(ValuePane::Field::Value, shown && !twoD);
        v->setFieldShown(ValuePane::Field::Value2D, shown && twoD);
    } else {
        v->setFieldShown(which == 1 ? ValuePane::Field::Header : ValuePane::Field::Footer, shown);
    }
}

Batch_Row_Texts BarcodeListSide::typedTexts() const
{
    ValuePane* v = m_owner->valuePane();
    return {v->typedValue(), v->fieldText(ValuePane::Field::Header), v->fieldText(ValuePane::Field::Footer)};
}

void BarcodeListSide::regenerate() { m_owner->goButtonActionPerformed(); }

// ---------------------------------------------------------------- sources

void BarcodeListSide::barcodeData_SourceChanged()
{
    Show_Hide_Datasheet_Control();
    regenerate();
}

void BarcodeListSide::Custom_Sheet_Check()
{
    // The radio group has already moved; act only on a real change.
    if (!listSource() || m_loading)
        return;
    Show_Hide_Datasheet_Control();
    regenerate();
}

void BarcodeListSide::Data_Set_Sheet_Check()
{
    if (!seriesSource() || m_loading)
        return;
    Show_Hide_Datasheet_Control();
    regenerate();
}

void BarcodeListSide::Batch_Value_Check()
{
    Bind_Data_with_Barcode_VALUE();
    regenerate();
}

void BarcodeListSide::Batch_Header_Check()
{
    Bind_Data_with_Barcode_HEADER();
    regenerate();
}

void BarcodeListSide::Batch_Footer_Check()
{
    Bind_Data_with_Barcode_FOOTER();
    regenerate();
}

void BarcodeListSide::Show_Barcode_Val_Hdr_Ftr_Txt_Box()
{
    for (int i = 0; i < 3; ++i)
        showText(i, true);
    series_box->setVisible(false);
}

void BarcodeListSide::Show_Hide_Datasheet_Control()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    if (batchOn()) {
        data_source_txt_box->setText(tr("Batch Processing"));
        Custom_Sheet_RD->setEnabled(true);
        Data_Set_Sheet_RD->setEnabled(true);
        for (int i = 0; i < 3; ++i)
            check(i)->setChecked(true);
        SetEnabled_Recursive(batch_chk_Gp_Bx, true);
        if (!listSource()) {
            SetEnabled_Recursive(data_Sheet_Gp_Bx, false);
            for (int i = 0; i < 3; ++i)
                showText(i, false);
            series_box->setVisible(true);
            Fill_Combo_List_Reading_Data_List_File(0, QString(), 0);
        } else {
            SetEnabled_Recursive(data_Sheet_Gp_Bx, true);
            Show_Barcode_Val_Hdr_Ftr_Txt_Box();
            if (!m_model.isEmpty())
                List_Operation_Button_State();
            else
                Add_Row_Top_Menu();
            Mark_List_New_Selection_barcode(0);
        }
        for (int i = 0; i < 3; ++i)
            if (m_source.fed[size_t(i)])
                setTextReadOnly(i, true);
    } else {
        for (int i = 0; i < 3; ++i)
            check(i)->setChecked(false);
        data_source_txt_box->setText(tr("Manual"));
        Custom_Sheet_RD->setEnabled(false);
        Data_Set_Sheet_RD->setEnabled(false);
        SetEnabled_Recursive(batch_chk_Gp_Bx, false);
        SetEnabled_Recursive(data_Sheet_Gp_Bx, false);
        Show_Barcode_Val_Hdr_Ftr_Txt_Box();
        for (int i = 0; i < 3; ++i)
            setTextReadOnly(i, false);
        ValuePane* v = m_owner->valuePane();
        if (v->fieldText(ValuePane::Field::Value).isEmpty())
            v->setFieldText(ValuePane::Field::Value, tr("123456789012"));
        if (v->fieldText(ValuePane::Field::Value2D).isEmpty())
            v->setFieldText(ValuePane::Field::Value2D, tr("123456789012"));
        if (v->fieldText(ValuePane::Field::Header).isEmpty())
            v->setFieldText(ValuePane::Field::Header, m_owner->def_barcode_hdr_str.isEmpty() ? QStringLiteral("HEADER")
                                                                                      : m_owner->def_barcode_hdr_str);
        if (v->fieldText(ValuePane::Field::Footer).isEmpty())
            v->setFieldText(ValuePane::Field::Footer, tr("FOOTER"));
    }
    // The value fields follow the kind again (a series may have held them).
    m_owner->valuePane()->setSeriesManaged(batchOn() && m_source.fed[0] && seriesSource());
    m_loading = wasLoading;
    if (batchOn())
        bind_all();
}

void BarcodeListSide::bindSeries(int which)
{
    if (!m_source.fed[size_t(which)]) {
        showText(which, true);
        setTextReadOnly(which, false);
        nameCombo(which)->setVisible(false);
        itemCombo(which)->setVisible(false);
        return;
    }
    showText(which, false);
    nameCombo(which)->setVisible(true);
    itemCombo(which)->setVisible(true);
    setText(which, Trim_Str(m_source.seriesText(which)));
    setTextReadOnly(which, true);
}

void BarcodeListSide::bindList(int which)
{
    if (seriesSource()) {
        bindSeries(which);
        return;
    }
    if (!m_source.fed[size_t(which)]) {
        setTextReadOnly(which, false);
        return;
    }
    const int row = Selected_Row();
    BarcodeRow r;
    if (row >= 0 && m_model.rowAt(row, &r))
        setText(which, Trim_Str(Barcode_Row_Text(r, which)));
    setTextReadOnly(which, true);
}

void BarcodeListSide::Bind_Data_with_Barcode_VALUE_For_Series() { bindSeries(0); }
void BarcodeListSide::Bind_Data_with_Barcode_HEADER_For_Series() { bindSeries(1); }
void BarcodeListSide::Bind_Data_with_Barcode_FOOTER_For_Series() { bindSeries(2); }
void BarcodeListSide::Bind_Data_with_Barcode_VALUE() { bindList(0); }
void BarcodeListSide::Bind_Data_with_Barcode_HEADER() { bindList(1); }
void BarcodeListSide::Bind_Data_with_Barcode_FOOTER() { bindList(2); }

void BarcodeListSide::bind_all()
{
    for (int i = 0; i < 3; ++i) {
        if (listSource())
            bindList(i);
        else
            bindSeries(i);
    }
    set_list_value_to_text_box();
}

// ---------------------------------------------------------------- series

void BarcodeListSide::showSeriesItems(int which)
{
    QComboBox* c = itemCombo(which);
    const bool was = combo_sel;
    combo_sel = true;
    c->setCurrentIndex(-1);
    c->clear();
    c->addItems(m_source.series[size_t(which)].rows);
    combo_sel = was;
}

void BarcodeListSide::showSeriesRow()
{
    const bool was = combo_sel;
    combo_sel = true;
    for (int i = 0; i < 3; ++i)
        itemCombo(i)->setCurrentIndex(m_source.shownRow(i));
    combo_sel = was;
}

void BarcodeListSide::readSeriesName(QComboBox* combo)
{
    for (int i = 0; i < 3; ++i)
        if (combo == nameCombo(i))
            m_source.series[size_t(i)].name = combo->currentIndex() > 0 ? combo->currentText() : QString();
}

int BarcodeListSide::Balance_Datasheet_Combo_Max_Count()
{
    // Each series in use is read once, here.
    for (int i = 0; i < 3; ++i) {
        if (!m_source.seriesInUse(i))
            continue;
        Barcode_Series& series = m_source.series[size_t(i)];
        series.rows = Read_Series_Values(series.name);
        if (i == 0)
            val_list_name_txt->setText(series.name);
    }
    const int max = m_source.balance();
    for (int i = 0; i < 3; ++i)
        if (m_source.seriesInUse(i))
            showSeriesItems(i);
    showSeriesRow();
    return max;
}

void BarcodeListSide::Combo_Selection_Change(int which)
{
    if (combo_sel || which < 0 || which > 2)
        return;
    // While no row is chosen, the row of the list that changed becomes it.
    if (m_source.Last_Selected_Index == -1)
        m_source.Last_Selected_Index = itemCombo(which)->currentIndex();
    showSeriesRow();
}

void BarcodeListSide::Refresh_Data_Set_File_Name_In_Combo(QComboBox* combo, const QString& name)
{
    if (!combo)
        return;
    // The series shown keeps its place, unless a name is given.
    const QString shown = combo->currentIndex() > 0 ? combo->currentText() : QString();
    const int k = Batch_Binding::Get_Data_SetIndex_According_Name(name.isEmpty() ? shown : name);
    const QStringList names = Series_Names();
    combo->setCurrentIndex(-1);
    combo->clear();
    combo->addItem(kSelect);
    combo->addItems(names);
    combo->setCurrentIndex(k + 1 < 0 ? 0 : k + 1);
    readSeriesName(combo);
}

void BarcodeListSide::Fill_Data_Set_File_Name_In_Combo(QComboBox* combo)
{
    if (!combo)
        return;
    combo->setCurrentIndex(-1);
    combo->clear();
    if (combo == val_combo_list || combo == hdr_combo_list || combo == ftr_combo_list)
        combo->addItem(kSelect);
    combo->addItems(Series_Names());
    if (combo->count() > 0)
        combo->setCurrentIndex(0);
    readSeriesName(combo);
}

void BarcodeListSide::Fill_Combo_List_Reading_Data_List_File(int, const QString&, int)
{
    for (int i = 0; i < 3; ++i)
        if (nameCombo(i)->count() <= 1)
            Fill_Data_Set_File_Name_In_Combo(nameCombo(i));
}

void BarcodeListSide::Refresh_All_Series_Combobox()
{
    for (int i = 0; i < 3; ++i)
        Refresh_Data_Set_File_Name_In_Combo(nameCombo(i), QString());
}

void BarcodeListSide::Series_Name_Chosen(int which)
{
    QComboBox* names = nameCombo(which);
    Barcode_Series& series = m_source.series[size_t(which)];
    series.name = names->currentIndex() > 0 ? names->currentText() : QString();
    if (series.name.isEmpty()) {
        // No series: its item list holds one empty item and waits.
        series.rows = QStringList(QString());
        showSeriesItems(which);
        itemCombo(which)->setEnabled(false);
    } else {
        itemCombo(which)->setEnabled(true);
        Balance_Datasheet_Combo_Max_Count();
    }
    showSeriesRow();
    // The series read again may have let the chosen row go: every field
    // shows the row its list shows.
    for (int i = 0; i < 3; ++i)
        bindSeries(i);
    set_list_value_to_text_box();
}

void BarcodeListSide::Series_Item_Chosen(int which)
{
    if (combo_sel)
        return;
    // The row chosen is the source's: every item list and field follows it.
    m_source.Last_Selected_Index = itemCombo(which)->currentIndex();
    Combo_Selection_Change(which);
    for (int i = 0; i < 3; ++i)
        bindSeries(i);
    set_list_value_to_text_box();
}

// ---------------------------------------------------------------- the row shown

void BarcodeListSide::set_list_value_to_text_box()
{
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode() || m_loading)
        return;
    if (seriesSource()) {
        if (m_owner->Check_And_Validat_Barcode(false, false))
            regenerate();
        return;
    }
    const int row = Selected_Row();
    if (row < 0) {
        if (m_model.isEmpty()) {
            // An empty list feeds empty texts.
            for (int i = 0; i < 3; ++i)
                if (m_source.fed[size_t(i)])
                    setText(i, QString());
            regenerate();
        }
        return;
    }
    BarcodeRow r;
    if (!m_model.rowAt(row, &r))
        return;
    // Only the texts the list feeds change; a typed one stays as typed.
    for (int i = 0; i < 3; ++i)
        if (m_source.fed[size_t(i)])
            setText(i, Trim_Str(Barcode_Row_Text(r, i)));
    if (m_owner->Check_And_Validat_Barcode(false, false))
        regenerate();
}

void BarcodeListSide::Select_First_Value_For_Barcode_Setting_Mode()
{
    if (Designing_Mode_Active())
        return;
    Select_Valid_Value_For_Barcode_Setting_Mode(0);
}

void BarcodeListSide::Select_Valid_Value_For_Barcode_Setting_Mode(int row)
{
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode())
        return;
    if (listSource()) {
        Mark_List_New_Selection_barcode(row);
        bind_all();
        return;
    }
    // The row chosen is the one every item list shows from now on.
    m_source.Last_Selected_Index = row < 0 ? -1 : row;
    showSeriesRow();
    bind_all();
}

// ---------------------------------------------------------------- import

void BarcodeListSide::showImportedRows()
{
    Mark_List_New_Selection_barcode(0);
    bind_all();
}

bool BarcodeListSide::placeImported(const std::function<bool()>& import)
{
    const bool wasLoading = m_loading;
    m_loading = true;   // no preview per placed chunk
    const bool placed = import();
    m_loading = wasLoading;
    if (placed)
        showImportedRows();
    return placed;
}

void BarcodeListSide::Import_List_Button()
{
    placeImported([this] { return m_transfer.Import_List_Button(); });
}

bool BarcodeListSide::Load_text_file_Func(const QString& path)
{
    return placeImported([&] { return m_transfer.Load_text_file_Func(path); });
}

void BarcodeListSide::Excel_List_Button()
{
    if (!m_transfer.Excel_List_Button())
        return;
    Reload_List();
    showImportedRows();
}

void BarcodeListSide::Create_List_Button()
{
    m_transfer.Create_List_Button();
    Reload_List();
    showImportedRows();
}

// ---------------------------------------------------------------- rows

Batch_Rows BarcodeListSide::Make_Rows(const BarcodeSettings& jobSettings) const
{
    return m_source.Make_Rows(m_model.rows(), jobSettings, typedTexts());
}

bool BarcodeListSide::rowTexts(int row, QString& value, QString& header, QString& footer) const
{
    Batch_Row_Texts texts = typedTexts();
    const bool ok = m_source.rowTexts(m_model.rows(), row, texts);
    value = texts.value;
    header = texts.header;
    footer = texts.footer;
    return ok;
}

void BarcodeListSide::Fill_Mode_State(BarcodeModeState& state) const
{
    const Batch_Row_Texts typed = typedTexts();
    m_source.Fill_Mode_State(state);
    state.linear = m_owner->liner_or_2D_font == 0;
    state.value = typed.value;
    state.header = typed.header;
    state.footer = typed.footer;
    state.settings = m_owner->Barcode_Settings();
    state.transparentBackground = state.settings.fill_transparent;
}

// ---------------------------------------------------------------- settings files

void BarcodeListSide::Restore_Source_State(const Barcode_Source_State& state, const std::vector<BarcodeRow>& rows)
{
    m_loading = true;
    m_model.Load_Rows(rows);
    m_source.Last_Selected_Index = -1;
    Custom_Sheet_RD->setChecked(state.customList);
    Data_Set_Sheet_RD->setChecked(!state.customList);
    data_source_chkbox->setChecked(state.dataSource);
    const QString seriesNames[3] = {state.valueSeries, state.headerSeries, state.footerSeries};
    for (int i = 0; i < 3; ++i) {
        Refresh_Data_Set_File_Name_In_Combo(nameCombo(i), seriesNames[i]);
        // A series shown offers its items (a new project left them disabled).
        if (!m_source.series[size_t(i)].name.isEmpty())
            itemCombo(i)->setEnabled(true);
    }
    m_loading = false;
    Show_Hide_Datasheet_Control();
    if (!state.dataSource)
        return;
    // The file's own choice of texts, then the row of the items it had chosen.
    m_loading = true;
    const bool checks[3] = {state.valueChecked, state.headerChecked, state.footerChecked};
    for (int i = 0; i < 3; ++i)
        check(i)->setChecked(checks[i]);
    if (!state.customList) {
        Balance_Datasheet_Combo_Max_Count();
        const QString items[3] = {state.valueItem, state.headerItem, state.footerItem};
        for (int i = 0; i < 3 && m_source.Last_Selected_Index < 0; ++i)
            if (m_source.seriesInUse(i))
                m_source.Last_Selected_Index = int(m_source.series[size_t(i)].rows.indexOf(items[i]));
        showSeriesRow();
    }
    m_loading = false;
    Bind_Data_with_Barcode_VALUE();
    Bind_Data_with_Barcode_HEADER();
    Bind_Data_with_Barcode_FOOTER();
    set_list_value_to_text_box();
}

void BarcodeListSide::Clear_Series_Choice()
{
    const bool was = combo_sel;
    combo_sel = true;
    m_source.Last_Selected_Index = -1;
    for (int i = 0; i < 3; ++i) {
        Barcode_Series& series = m_source.series[size_t(i)];
        series.name.clear();
        series.rows.clear();
        if (nameCombo(i)->count() > 0)
            nameCombo(i)->setCurrentIndex(0);
        itemCombo(i)->setCurrentIndex(-1);
        itemCombo(i)->setEnabled(false);
    }
    val_list_name_txt->clear();
    combo_sel = was;
}
