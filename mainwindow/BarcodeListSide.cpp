// The list side of barcode mode: sources of the texts, the barcode list and
// its commands, import and export, batch rows.
#include "mainwindow/BarcodeListSide.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/BarcodeRows.h"
#include "barcode/generation/panes/BarcodeSettingsPane.h"
#include "barcode/generation/panes/ValuePane.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "data/barcodelist/BarcodeListFiles.h"
#include "data/barcodelist/ListDialogs.h"
#include "data/series/SeriesJob.h"
#include "mainwindow/BarcodeModeView.h"
#include "mainwindow/LMNWindowController.h"
#include "mainwindow/MainWindowSupport.h"
#include "platform/MainThread.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kSelect = QStringLiteral("<--Select-->");
const QString kListEmpty = QStringLiteral("List is empty.");

bool Is_Ascii(const QString& s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 128; });
}

} // namespace

BarcodeListSide::BarcodeListSide(BarcodeModeView* owner) : QObject(owner), m_owner(owner)
{
    buildBatchBox();
    buildListBox();
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

void BarcodeListSide::buildListBox()
{
    data_Sheet_Gp_Bx = new QGroupBox(tr("Barcode list"));
    data_Sheet_Gp_Bx->setObjectName("data_Sheet_Gp_Bx");
    m_listBox = data_Sheet_Gp_Bx;
    auto* col = new QVBoxLayout(data_Sheet_Gp_Bx);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    auto button = [&](const char* name, const char* icon, const QString& text, const QString& tip) {
        auto* b = new QToolButton(data_Sheet_Gp_Bx);
        b->setObjectName(name);
        b->setIcon(QIcon::fromTheme(QLatin1String(icon)));
        b->setText(text);
        b->setToolTip(tip);
        b->setToolButtonStyle(b->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextBesideIcon);
        buttons->addWidget(b);
        return b;
    };
    add_list_btn = button("add_list_btn", "list-add", tr("Add"), tr("Add a row below the selected row"));
    delete_list_btn = button("delete_list_btn", "list-remove", tr("Delete"), tr("Delete the selected rows"));
    move_top_list_btn = button("move_top_list_btn", "go-top", tr("Top"), tr("Swap the selected row with the first row"));
    move_up_list_btn = button("move_up_list_btn", "go-up", tr("Up"), tr("Move the selected row up"));
    move_down_list_btn = button("move_down_list_btn", "go-down", tr("Down"), tr("Move the selected row down"));
    move_last_list_btn = button("move_last_list_btn", "go-bottom", tr("Last"), tr("Swap the selected row with the last row"));
    // The moves show their arrows only (their names are in the tips).
    for (QToolButton* b : {move_top_list_btn, move_up_list_btn, move_down_list_btn, move_last_list_btn})
        if (!b->icon().isNull())
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    buttons->addWidget(list_menu_btn = new QToolButton(data_Sheet_Gp_Bx));
    buttons->addStretch();
    col->addLayout(buttons);
    // The file commands on a second row, so the box fits beside the settings
    // on a small screen.
    auto* files = new QHBoxLayout;
    files->setSpacing(4);
    auto fileButton = [&](const char* name, const char* icon, const QString& text, const QString& tip) {
        auto* b = new QPushButton(QIcon::fromTheme(QLatin1String(icon)), text, data_Sheet_Gp_Bx);
        b->setObjectName(name);
        b->setToolTip(tip);
        files->addWidget(b);
        return b;
    };
    import_list_btn = fileButton("import_list_btn", "document-import", tr("Import..."),
                             tr("Import a text, CSV or RTF file"));
    excel_list_btn = fileButton("excel_list_btn", "x-office-spreadsheet", tr("Spreadsheet..."),
                            tr("Import columns of a spreadsheet"));
    create_list_btn = fileButton("create_list_btn", "view-list-details", tr("Generate..."),
                             tr("Generate sequential, constant or random values"));
    export_list_btn = fileButton("export_list_btn", "document-export", tr("Export..."),
                             tr("Export the list as a text file or a spreadsheet"));
    list_menu_btn->setObjectName("list_menu_btn");
    list_menu_btn->setText(tr("List"));
    list_menu_btn->setPopupMode(QToolButton::InstantPopup);
    list_menu = new QMenu(list_menu_btn);
    list_menu->setObjectName("list_menu");
    const struct {
        const char* text;
        void (BarcodeListSide::*action)();
    } commands[] = {
        {"Delete selected rows", &BarcodeListSide::Del_Sel_Row_Menu},
        {"Delete blank rows", &BarcodeListSide::Del_Empty_Row_Menu},
        {"Delete all rows", &BarcodeListSide::Del_All_Row_Menu},
        {nullptr, nullptr},
        {"Add a row at the top", &BarcodeListSide::Add_Row_Top_Menu},
        {"Add a row at the bottom", &BarcodeListSide::Add_Row_Bottom_Menu},
        {"Add a row below the selection", &BarcodeListSide::Add_Row_Selection_Menu},
        {nullptr, nullptr},
        {"Clear values", &BarcodeListSide::Clear_Bar_Value_Menu},
        {"Clear headers", &BarcodeListSide::Clear_Bar_Hdr_Menu},
        {"Clear footers", &BarcodeListSide::Clear_Bar_Ftr_Menu},
        {"Clear print quantities", &BarcodeListSide::Clear_Print_Qnt_Menu},
        {"Clear all texts", &BarcodeListSide::Clear_All_Record_Menu},
    };
    for (const auto& c : commands) {
        if (!c.text) {
            list_menu->addSeparator();
            continue;
        }
        QAction* a = list_menu->addAction(tr(c.text));
        const auto action = c.action;
        connect(a, &QAction::triggered, this, [this, action] { (this->*action)(); });
    }
    list_menu_btn->setMenu(list_menu);
    files->addStretch();
    col->addLayout(files);

    List = new QTableView(data_Sheet_Gp_Bx);
    List->setObjectName("List");
    List->setModel(&m_model);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    List->setWordWrap(false);
    List->setAlternatingRowColors(true);
    List->setContextMenuPolicy(Qt::CustomContextMenu);
    // Every row as high as the others: the view never measures rows.
    List->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    List->verticalHeader()->setDefaultSectionSize(List->fontMetrics().height() + 6);
    List->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Headers keep their size while the list is empty.
    List->verticalHeader()->setMinimumWidth(List->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 8);
    List->horizontalHeader()->setMinimumHeight(List->horizontalHeader()->sizeHint().height());
    List->horizontalHeader()->setStretchLastSection(true);
    List->setColumnWidth(0, 180);
    List->setColumnWidth(1, 130);
    List->setColumnWidth(2, 130);
    col->addWidget(List, 1);
    tot_row_count = new QLabel(data_Sheet_Gp_Bx);
    tot_row_count->setObjectName("tot_row_count");
    col->addWidget(tot_row_count);

    connect(add_list_btn, &QToolButton::clicked, this, [this] { Add_List_Button(); });
    connect(delete_list_btn, &QToolButton::clicked, this, [this] { Delete_List_Button(); });
    connect(move_top_list_btn, &QToolButton::clicked, this, [this] { Move_Top_List_Button(); });
    connect(move_up_list_btn, &QToolButton::clicked, this, [this] { Move_Up_List_Button(); });
    connect(move_down_list_btn, &QToolButton::clicked, this, [this] { Move_Down_List_Button(); });
    connect(move_last_list_btn, &QToolButton::clicked, this, [this] { Move_Last_List_Button(); });
    connect(import_list_btn, &QPushButton::clicked, this, [this] { Import_List_Button(); });
    connect(excel_list_btn, &QPushButton::clicked, this, [this] { Excel_List_Button(); });
    connect(create_list_btn, &QPushButton::clicked, this, [this] { Create_List_Button(); });
    connect(export_list_btn, &QPushButton::clicked, this, [this] { Export_List_Button(); });
    connect(List, &QTableView::doubleClicked, this, [this] { doubleClickInTable(); });
    connect(List, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { list_menu->popup(List->viewport()->mapToGlobal(p)); });
    connect(List->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_loading)
            return;
        List_Operation_Button_State();
        set_list_value_to_text_box();
    });
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

bool BarcodeListSide::listSource() const { return Custom_Sheet_RD->isChecked(); }
bool BarcodeListSide::seriesSource() const { return Data_Set_Sheet_RD->isChecked(); }
bool BarcodeListSide::batchOn() const { return data_source_chkbox->isChecked(); }

void BarcodeListSide::setText(int which, const QString& text)
{
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

QString BarcodeListSide::itemText(int which, int row) const
{
    QComboBox* c = itemCombo(which);
    return row >= 0 && row < c->count() ? c->itemText(row) : QString();
}

void BarcodeListSide::regenerate() { m_owner->goButtonActionPerformed(); }

void BarcodeListSide::listEmptyMessage()
{
    Show_MessageBox(kListEmpty);
    Focus_Barcode_List();
}

// ---------------------------------------------------------------- sources

void BarcodeListSide::barcodeData_SourceChanged()
{
    Show_Hide_Datasheet_Control();
    regenerate();
}

void BarcodeListSide::Custom_Sheet_Check()
{
    // The radio group has already moved; act only on a real change.
    if (!Custom_Sheet_RD->isChecked() || m_loading)
        return;
    Show_Hide_Datasheet_Control();
    regenerate();
}

void BarcodeListSide::Data_Set_Sheet_Check()
{
    if (!Data_Set_Sheet_RD->isChecked() || m_loading)
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
            if (check(i)->isChecked())
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
    m_owner->valuePane()->setSeriesManaged(batchOn() && barcode_value_chk->isChecked() && seriesSource());
    m_loading = wasLoading;
    if (batchOn())
        bind_all();
}

void BarcodeListSide::bindSeries(int which)
{
    if (!check(which)->isChecked()) {
        showText(which, true);
        setTextReadOnly(which, false);
        nameCombo(which)->setVisible(false);
        itemCombo(which)->setVisible(false);
        return;
    }
    showText(which, false);
    nameCombo(which)->setVisible(true);
    itemCombo(which)->setVisible(true);
    QComboBox* items = itemCombo(which);
    QString text;
    if (items->currentIndex() >= 0)
        text = items->currentText();
    else if (items->count() > 0)
        text = items->itemText(0);
    setText(which, Trim_Str(text));
    setTextReadOnly(which, true);
}

void BarcodeListSide::bindList(int which)
{
    if (seriesSource()) {
        bindSeries(which);
        return;
    }
    if (!check(which)->isChecked()) {
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

int BarcodeListSide::Balance_Datasheet_Combo_Max_Count()
{
    int max = 0;
    QList<int> loaded;
    for (int i = 0; i < 3; ++i) {
        if (!check(i)->isChecked() || nameCombo(i)->currentIndex() <= 0)
            continue;
        const QString name = nameCombo(i)->currentText();
        const int n = Get_Data_Set_Series_Item_Count(name);
        Fille_Data_Set_Values_In_Combo(itemCombo(i), name, true);
        if (i == 0)
            val_list_name_txt->setText(name);
        max = std::max(max, n);
        loaded << i;
    }
    for (int i : loaded) {
        QComboBox* c = itemCombo(i);
        QStringList pad;
        for (int k = c->count(); k < max; ++k)
            pad << QString();
        c->addItems(pad);
    }
    return max;
}

void BarcodeListSide::Combo_Selection_Change(int which)
{
    if (combo_sel || which < 0 || which > 2)
        return;
    combo_sel = true;
    const int i = Last_Selected_Index != -1 ? Last_Selected_Index : itemCombo(which)->currentIndex();
    for (int k = 0; k < 3; ++k) {
        if (k == which || !check(k)->isChecked() || nameCombo(k)->currentIndex() <= 0)
            continue;
        QComboBox* c = itemCombo(k);
        c->setCurrentIndex(i >= 0 && c->count() > i ? i : -1);
    }
    combo_sel = false;
}

void BarcodeListSide::Refresh_Data_Set_File_Name_In_Combo(QComboBox* combo, const QString& name)
{
    if (!combo)
        return;
    const QStringList names = Series_Names();
    auto position = [&names](const QString& n) {
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(n, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    int k = position(combo->currentIndex() > 0 ? combo->currentText() : QString());
    if (!name.isEmpty())
        k = position(name);
    combo->setCurrentIndex(-1);
    combo->clear();
    combo->addItem(kSelect);
    combo->addItems(names);
    combo->setCurrentIndex(k + 1 < 0 ? 0 : k + 1);
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

QStringList BarcodeListSide::Series_Names_In_Use() const
{
    QStringList names;
    if (!batchOn() || !seriesSource())
        return names;
    for (int i = 0; i < 3; ++i)
        if (check(i)->isChecked() && nameCombo(i)->currentIndex() > 0)
            names << nameCombo(i)->currentText();
    return names;
}

void BarcodeListSide::Series_Name_Chosen(int which)
{
    QComboBox* items = itemCombo(which);
    if (nameCombo(which)->currentIndex() <= 0) {
        items->clear();
        items->addItem(QString());
        items->setEnabled(false);
    } else {
        items->setEnabled(true);
        Balance_Datasheet_Combo_Max_Count();
        const int i = Last_Selected_Index;
        combo_sel = true;
        items->setCurrentIndex(i == -1 || i >= items->count() ? (items->count() > 0 ? 0 : -1) : i);
        combo_sel = false;
    }
    bindSeries(which);
    set_list_value_to_text_box();
}

void BarcodeListSide::Series_Item_Chosen(int which)
{
    if (combo_sel)
        return;
    Last_Selected_Index = itemCombo(which)->currentIndex();
    Combo_Selection_Change(which);
    // The other texts moved to the same row: their fields show it too.
    for (int i = 0; i < 3; ++i)
        bindSeries(i);
    set_list_value_to_text_box();
}

// ---------------------------------------------------------------- the table

void BarcodeListSide::Reload_List()
{
    List->viewport()->update();
    List_Operation_Button_State();
}

void BarcodeListSide::Update_List_Count()
{
    tot_row_count->setText(QStringLiteral("Total Rows : %1").arg(m_model.count()));
}

void BarcodeListSide::Mark_List_New_Selection_barcode(int row)
{
    if (m_model.isEmpty() || row < 0 || row >= m_model.count())
        return;
    const QModelIndex index = m_model.index(row, 0);
    List->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    List->scrollTo(index);
    List->setFocus();
}

QList<int> BarcodeListSide::Selected_Rows() const
{
    QList<int> rows;
    for (const QModelIndex& i : List->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int BarcodeListSide::Selected_Row() const
{
    const QList<int> rows = Selected_Rows();
    return rows.isEmpty() ? -1 : rows.first();
}

void BarcodeListSide::List_Operation_Button_State()
{
    const bool any = !m_model.isEmpty();
    const int sel = Selected_Row();
    delete_list_btn->setEnabled(any);
    move_top_list_btn->setEnabled(any && sel != 0);
    move_up_list_btn->setEnabled(any && sel != 0);
    const bool last = sel == m_model.count() - 1;
    move_down_list_btn->setEnabled(any && !last);
    move_last_list_btn->setEnabled(any && !last);
}

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
                if (check(i)->isChecked())
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
        if (check(i)->isChecked())
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
    // Every item list on the same row: the row chosen is the one the lists
    // follow from now on.
    Last_Selected_Index = row < 0 ? -1 : row;
    combo_sel = true;
    for (int i = 0; i < 3; ++i) {
        QComboBox* c = itemCombo(i);
        if (row < 0)
            c->setCurrentIndex(-1);
        else if (c->count() > row)
            c->setCurrentIndex(row);
    }
    combo_sel = false;
    Combo_Selection_Change(0);
    bind_all();
}

void BarcodeListSide::doubleClickInTable()
{
    const QList<int> rows = Selected_Rows();
    if (rows.isEmpty())
        return;
    if (rows.size() > 1) {
        Show_MessageBox(QStringLiteral("Please select only one record to update."));
        return;
    }
    OnGetSelected();
}

void BarcodeListSide::OnGetSelected()
{
    if (m_model.isEmpty())
        return;
    const int row = Selected_Row();
    Update_List_Details* editor = Update_List_Details::defaultInstance();
    editor->setList(&m_model);
    if (editor->Open_Wnd(row) == 1) {
        Reload_List();
        bind_all();
    }
}

void BarcodeListSide::Focus_Barcode_List() { List->setFocus(); }

// ---------------------------------------------------------------- list commands

void BarcodeListSide::Del_Sel_Row_Menu()
{
    if (m_model.isEmpty())
        return listEmptyMessage();
    const QList<int> rows = Selected_Rows();
    if (rows.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select at least one record from the list to continue."));
        Focus_Barcode_List();
        return;
    }
    const int largest = m_model.Remove_Rows(rows);
    if (largest >= 0 && largest < m_model.count())
        Mark_List_New_Selection_barcode(largest);
    else if (!m_model.isEmpty())
        Mark_List_New_Selection_barcode(0);
    Reload_List();
    Update_List_Count();
    set_list_value_to_text_box();
}

void BarcodeListSide::Del_Empty_Row_Menu()
{
    if (m_model.isEmpty())
        return listEmptyMessage();
    if (!m_model.Has_Blank_Row()) {
        Show_MessageBox(QStringLiteral("There is no blank record in list."));
        return;
    }
    const Please_Wait_While sheet;
    m_model.Remove_Blank_Rows();
    Reload_List();
    Update_List_Count();
    Mark_List_New_Selection_barcode(0);
    bind_all();
}

void BarcodeListSide::Del_All_Row_Menu()
{
    if (m_model.isEmpty())
        return listEmptyMessage();
    if (!Show_YES_NO_MessageBox(QStringLiteral("\nThis option will clear the entire list contents. Are you sure you "
                                               "want to continue clearing the entire list?")))
        return;
    const Please_Wait_While sheet;
    m_model.Remove_All_Rows();
    Reload_List();
    Update_List_Count();
    set_list_value_to_text_box();
}

void BarcodeListSide::Add_Row_Top_Menu()
{
    const BarcodeRow d = Default_Barcode_Row();
    m_model.Create_Item_List(d.Value, d.Header, d.Footer, d.PQ, 0);
    Reload_List();
    Mark_List_New_Selection_barcode(0);
}

void BarcodeListSide::Add_Row_Bottom_Menu()
{
    const BarcodeRow d = Default_Barcode_Row();
    m_model.Create_Item_List(d.Value, d.Header, d.Footer, d.PQ, m_model.count());
    Reload_List();
    Mark_List_New_Selection_barcode(m_model.count() - 1);
}

void BarcodeListSide::Add_Row_Selection_Menu()
{
    const int sel = Selected_Row();
    const int at = m_model.isEmpty() || sel < 0 ? 0 : sel + 1;
    const BarcodeRow d = Default_Barcode_Row();
    m_model.Create_Item_List(d.Value, d.Header, d.Footer, d.PQ, at);
    Reload_List();
    Mark_List_New_Selection_barcode(at);
}

namespace {
void Clear_Command(BarcodeListSide& side, int column)
{
    if (side.list().isEmpty()) {
        Show_MessageBox(QStringLiteral("List is empty."));
        side.Focus_Barcode_List();
        return;
    }
    const Please_Wait_While sheet;
    side.list().Clear_Column(column);
    side.Reload_List();
    side.set_list_value_to_text_box();
}
} // namespace

void BarcodeListSide::Clear_Bar_Value_Menu() { Clear_Command(*this, 0); }
void BarcodeListSide::Clear_Bar_Hdr_Menu() { Clear_Command(*this, 1); }
void BarcodeListSide::Clear_Bar_Ftr_Menu() { Clear_Command(*this, 2); }
void BarcodeListSide::Clear_Print_Qnt_Menu() { Clear_Command(*this, 3); }
void BarcodeListSide::Clear_All_Record_Menu() { Clear_Command(*this, -1); }

void BarcodeListSide::Move_And_Replace_List_Item(int from, int to)
{
    if (!m_model.Move_And_Replace_List_Item(from, to))
        return;
    Reload_List();
    Mark_List_New_Selection_barcode(to);
}

void BarcodeListSide::Move_Top_List_Button()
{
    const int sel = Selected_Row();
    if (sel >= 0)
        Move_And_Replace_List_Item(sel, 0);
}

void BarcodeListSide::Move_Up_List_Button()
{
    const int sel = Selected_Row();
    if (sel > 0)
        Move_And_Replace_List_Item(sel, sel - 1);
}

void BarcodeListSide::Move_Down_List_Button()
{
    const int sel = Selected_Row();
    if (sel >= 0)
        Move_And_Replace_List_Item(sel, sel + 1);
}

void BarcodeListSide::Move_Last_List_Button()
{
    const int sel = Selected_Row();
    if (sel >= 0)
        Move_And_Replace_List_Item(sel, m_model.count() - 1);
}

// ---------------------------------------------------------------- import and export

void BarcodeListSide::Import_List_Button()
{
    const QString path = chooseImportFile
                             ? chooseImportFile()
                             : Choose_Open_File(m_owner, tr("Import List"),
                                                tr("Lists (*.txt *.TXT *.rtf *.RTF *.csv *.CSV)"));
    if (path.isEmpty())
        return;
    Load_text_file_Func(path);
}

bool BarcodeListSide::Load_text_file_Func(const QString& startPath)
{
    prev_list_item_barcode = m_model.count();
    Import_From_Txt_File* box = Import_From_Txt_File::defaultInstance();
    if (box->Open_Wnd(startPath) != 1)
        return false;
    const QString path = box->path();
    const List_Import_Options options = box->options();
    if (options.overwrite_text_load_row)
        prev_list_item_barcode = 0;

    List_File_Reader reader;
    List_Import_Placer placer(m_model, options);
    bool opened = false;
    const bool wasLoading = m_loading;
    m_loading = true;   // no preview per placed chunk
    Run_Series_Job(m_owner->window(), tr("Importing the list..."), [&](Series_Progress& job) {
        if (!reader.open(path))
            return;
        opened = true;
        job.total = std::max<qint64>(1, reader.bytesTotal());
        Import_List_Lines(reader, placer, job);
    });
    m_loading = wasLoading;
    Reload_List();
    Update_List_Count();
    if (!opened) {
        Show_MessageBox(List_File_Invalid_Message + QLatin1Char('\n') + reader.error());
        return false;
    }
    QString notes = List_Import_Notes(reader, placer);
    if (!reader.error().isEmpty())
        notes = reader.error() + (notes.isEmpty() ? QString() : QLatin1Char('\n') + notes);
    if (placer.placed() == 0) {
        Show_MessageBox(List_File_Invalid_Message + (notes.isEmpty() ? QString() : QLatin1Char('\n') + notes));
        return false;
    }
    if (!notes.isEmpty())
        Show_MessageBox(notes);
    Mark_List_New_Selection_barcode(0);
    bind_all();
    return true;
}

void BarcodeListSide::Excel_List_Button()
{
    const QString path = chooseExcelFile ? chooseExcelFile()
                                         : Choose_Open_File(m_owner, tr("Import from a Spreadsheet"),
                                                            tr("Spreadsheets (*.xlsx *.XLSX)"));
    if (path.isEmpty())
        return;
    prev_list_item_barcode = m_model.count();
    Import_Excel_Barcode* window = Import_Excel_Barcode::defaultInstance();
    window->setList(&m_model);
    window->Open_excel_Wnd(path);
    Reload_List();
    Mark_List_New_Selection_barcode(0);
    bind_all();
}

void BarcodeListSide::Create_List_Button()
{
    Generate_List_Barcode* window = Generate_List_Barcode::defaultInstance();
    window->setList(&m_model);
    window->Open_Wnd();
    Reload_List();
    Mark_List_New_Selection_barcode(0);
    bind_all();
}

QString BarcodeListSide::Export_list_method_2()
{
    if (chooseExportFile)
        return chooseExportFile();
    QFileDialog panel(m_owner, tr("Export List"));
    panel.setObjectName(QStringLiteral("Export_List_Panel"));
    panel.setOption(QFileDialog::DontUseNativeDialog, true);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setFileMode(QFileDialog::AnyFile);
    // Under the panel: the format chooser, which rewrites the extension of
    // the name typed, and the window's banner.
    auto* accessory = new AccessoryViewController(&panel);
    accessory->setObjectName(QStringLiteral("accessoryVC"));
    accessory->setSavePanel(&panel);
    auto* banner = new Repeat_Image(&panel);
    banner->setObjectName(QStringLiteral("export_banner"));
    if (LMNWindowController* window = LMNWindowController::defaultInstance())
        banner->setBannerImage(QPixmap::fromImage(window->banner_image));
    banner->setFixedHeight(12);
    if (auto* grid = qobject_cast<QGridLayout*>(panel.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(tr("Format:"), &panel), row, 0);
        grid->addWidget(accessory, row, 1, 1, grid->columnCount() - 1);
        grid->addWidget(banner, row + 1, 0, 1, grid->columnCount());
    }
    panel.selectFile(tr("Barcode List"));
    accessory->selectFormat();
    const QString chosen = Run_Chooser(panel);
    m_owner->window()->raise();
    return chosen;
}

void BarcodeListSide::Export_List_Button()
{
    if (m_model.isEmpty()) {
        Show_MessageBox(kListEmpty);
        return;
    }
    const QString chosen = Export_list_method_2();
    if (chosen.isEmpty())
        return;
    const QString path = List_Export_Path(chosen, nullptr);
    bool ok = false;
    QString error;
    {
        const Please_Wait_While sheet;
        ok = Export_Barcode_List(path, m_model.rows(), &error);
    }
    if (!ok) {
        Show_NSLog_Message(error);
        Show_MessageBox(QStringLiteral("Error in file accessing."));
        return;
    }
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Open_Export_File_Box(path, QStringLiteral("Record has been exported successfully."));
}

// ---------------------------------------------------------------- counts and rows

bool BarcodeListSide::Check_Data_Sheet_Value_Use_or_Not_Barcode() const
{
    return batchOn()
        && (barcode_value_chk->isChecked() || barcode_header_chk->isChecked() || barcode_footer_chk->isChecked());
}

int BarcodeListSide::rowCount() const
{
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode())
        return 1;
    if (listSource())
        return m_model.count();
    int n = 0;
    for (int i = 0; i < 3; ++i)
        if (check(i)->isChecked() && nameCombo(i)->currentIndex() > 0)
            n = std::max(n, itemCombo(i)->count());
    return n;
}

int BarcodeListSide::Get_Barcode_Batch_Count() const
{
    return rowCount();
}

Batch_Rows BarcodeListSide::Make_Rows(const BarcodeSettings& jobSettings) const
{
    const Batch_Row_Count count = Count_Rows();
    ValuePane* v = m_owner->valuePane();
    const QString typed[3] = {v->typedValue(), v->fieldText(ValuePane::Field::Header),
                              v->fieldText(ValuePane::Field::Footer)};
    const bool drives = Check_Data_Sheet_Value_Use_or_Not_Barcode();
    const bool fromList = listSource();
    bool fed[3];
    for (int i = 0; i < 3; ++i)
        fed[i] = drives && check(i)->isChecked();
    const Batch_Row_Texts typedTexts{typed[0], typed[1], typed[2]};
    // The list's rows go to the job as they are, shared and not copied.
    if (fromList && drives)
        return std::make_shared<Barcode_Rows>(count, jobSettings, m_model.rows(),
                                              std::array<bool, 3>{fed[0], fed[1], fed[2]}, typedTexts);
    const int n = std::max(0, count.Total_Barcode_Label_wd_Batch);
    std::vector<Batch_Row_Texts> rows;
    rows.reserve(size_t(n));
    for (int r = 0; r < n; ++r) {
        QString texts[3] = {typed[0], typed[1], typed[2]};
        for (int i = 0; i < 3; ++i)
            if (fed[i])
                texts[i] = itemText(i, r);
        rows.push_back({Trim_Str(texts[0]), Trim_Str(texts[1]), Trim_Str(texts[2])});
    }
    return std::make_shared<Barcode_Rows>(count, jobSettings, std::move(rows), std::vector<int>(), typedTexts);
}

Batch_Row_Count BarcodeListSide::Count_Rows() const
{
    Batch_Row_Count count;
    count.designing = false;
    count.Use_Data_Sheet_Values = Check_Data_Sheet_Value_Use_or_Not_Barcode();
    count.seriesFeeds = count.Use_Data_Sheet_Values && seriesSource();
    count.Total_Barcode_Label_wd_Batch = rowCount();
    count.Total_Batch_Excel_Card = std::max(1, count.Total_Barcode_Label_wd_Batch);
    count.Total_Label_Wd_PQ = Get_Total_Count_With_PQ();
    return count;
}

bool BarcodeListSide::rowTexts(int row, QString& value, QString& header, QString& footer) const
{
    ValuePane* v = m_owner->valuePane();
    value = v->typedValue();
    header = v->fieldText(ValuePane::Field::Header);
    footer = v->fieldText(ValuePane::Field::Footer);
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode())
        return row >= 0;
    QString* texts[3] = {&value, &header, &footer};
    if (listSource()) {
        BarcodeRow r;
        if (!m_model.rowAt(row, &r))
            return false;
        for (int i = 0; i < 3; ++i)
            if (check(i)->isChecked())
                *texts[i] = Barcode_Row_Text(r, i);
        return true;
    }
    for (int i = 0; i < 3; ++i)
        if (check(i)->isChecked())
            *texts[i] = itemText(i, row);
    return row >= 0;
}

int BarcodeListSide::Get_PQ_Count_Of_Index(int row) const
{
    // The quantities count only while the list feeds the batch.
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode() || !listSource())
        return 1;
    if (row < 0 || row >= m_model.count())
        return 0;
    return Row_Copies(m_model.textAt(row, 3));
}

int BarcodeListSide::Get_Total_Count_With_PQ() const
{
    const int n = rowCount();
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode() || !listSource())
        return n;
    long long sum = 0;
    for (int r = 0; r < n; ++r)
        sum += Get_PQ_Count_Of_Index(r);
    return int(std::min<long long>(sum, INT_MAX));
}

int BarcodeListSide::Count_Valid_Labels(bool withPQ, int start, int end, int cap) const
{
    const BarcodeSettings s = m_owner->Barcode_Settings();
    const bool twoD = Is_TwoD_Branch(s);
    const Symbology* sym = Find_Symbology(s.barcodeType);
    long long count = 0;
    for (int i = std::max(0, start); i < end && count < cap; ++i) {
        QString value, header, footer;
        if (!rowTexts(i, value, header, footer))
            break;
        value = Trim_Str(value);
        if (value.isEmpty())
            continue;
        const int q = withPQ ? Get_PQ_Count_Of_Index(i) : 1;
        if (twoD) {
            count += q;
            continue;
        }
        if (!sym || !Is_Ascii(value))
            continue;
        // A scratch symbol: the preview's barcode is never touched.
        const std::unique_ptr<ZBBarcode> scratch = Make_Linear_Barcode(sym->id, value, true);
        if (scratch && scratch->isContentValid())
            count += q;
    }
    return int(std::min<long long>(std::min<long long>(count, cap), INT_MAX));
}

bool BarcodeListSide::Check_Barcode_Value_is_Valid_in_Series(int row) const
{
    QString value, header, footer;
    if (!rowTexts(row, value, header, footer))
        return false;
    value = Trim_Str(value);
    if (value.isEmpty())
        return false;
    BarcodeSettings s = m_owner->Barcode_Settings();
    if (!Is_TwoD_Branch(s)) {
        const Symbology* sym = Find_Symbology(s.barcodeType);
        if (!sym || !Is_Ascii(value))
            return false;
        const std::unique_ptr<ZBBarcode> scratch = Make_Linear_Barcode(sym->id, value, true);
        return scratch && scratch->isContentValid();
    }
    return !Make_Barcode(s, value, Trim_Str(header), Trim_Str(footer)).image.isNull();
}

void BarcodeListSide::Fill_Mode_State(BarcodeModeState& state) const
{
    ValuePane* v = m_owner->valuePane();
    state.linear = m_owner->liner_or_2D_font == 0;
    state.dataSource = batchOn();
    state.listFeeds = listSource();
    state.seriesFeeds = seriesSource();
    state.valueChecked = barcode_value_chk->isChecked();
    state.headerChecked = barcode_header_chk->isChecked();
    state.footerChecked = barcode_footer_chk->isChecked();
    auto series = [this](int i) { return nameCombo(i)->currentIndex() > 0 ? nameCombo(i)->currentText() : QString(); };
    state.valueSeries = series(0);
    state.headerSeries = series(1);
    state.footerSeries = series(2);
    state.value = v->typedValue();
    state.header = v->fieldText(ValuePane::Field::Header);
    state.footer = v->fieldText(ValuePane::Field::Footer);
    state.settings = m_owner->Barcode_Settings();
    state.transparentBackground = state.settings.fill_transparent;
}

// ---------------------------------------------------------------- settings files

Barcode_Source_State BarcodeListSide::Source_State() const
{
    Barcode_Source_State s;
    s.dataSource = batchOn();
    s.valueChecked = barcode_value_chk->isChecked();
    s.headerChecked = barcode_header_chk->isChecked();
    s.footerChecked = barcode_footer_chk->isChecked();
    s.customList = listSource();
    auto series = [this](int i) { return nameCombo(i)->currentIndex() > 0 ? nameCombo(i)->currentText() : QString(); };
    auto item = [this](int i) { return itemCombo(i)->currentIndex() >= 0 ? itemCombo(i)->currentText() : QString(); };
    s.valueSeries = series(0);
    s.valueItem = item(0);
    s.headerSeries = series(1);
    s.headerItem = item(1);
    s.footerSeries = series(2);
    s.footerItem = item(2);
    return s;
}

void BarcodeListSide::Restore_Source_State(const Barcode_Source_State& state, const std::vector<BarcodeRow>& rows)
{
    m_loading = true;
    m_model.Load_Rows(rows);
    Custom_Sheet_RD->setChecked(state.customList);
    Data_Set_Sheet_RD->setChecked(!state.customList);
    data_source_chkbox->setChecked(state.dataSource);
    const QString seriesNames[3] = {state.valueSeries, state.headerSeries, state.footerSeries};
    const QString items[3] = {state.valueItem, state.headerItem, state.footerItem};
    for (int i = 0; i < 3; ++i)
        Refresh_Data_Set_File_Name_In_Combo(nameCombo(i), seriesNames[i]);
    m_loading = false;
    Show_Hide_Datasheet_Control();
    if (!state.dataSource)
        return;
    // The file's own choice of texts, then the items it had chosen.
    m_loading = true;
    const bool checks[3] = {state.valueChecked, state.headerChecked, state.footerChecked};
    for (int i = 0; i < 3; ++i)
        check(i)->setChecked(checks[i]);
    if (!state.customList) {
        Balance_Datasheet_Combo_Max_Count();
        combo_sel = true;
        for (int i = 0; i < 3; ++i) {
            const int k = itemCombo(i)->findText(items[i]);
            if (k >= 0)
                itemCombo(i)->setCurrentIndex(k);
        }
        combo_sel = false;
    }
    m_loading = false;
    Bind_Data_with_Barcode_VALUE();
    Bind_Data_with_Barcode_HEADER();
    Bind_Data_with_Barcode_FOOTER();
    set_list_value_to_text_box();
}
