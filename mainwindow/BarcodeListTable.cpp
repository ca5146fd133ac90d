// The list box of barcode mode's list side: the barcode list table, its
// buttons and menu, the selection and the list commands. (The sources and
// the rows are in BarcodeListSide.cpp.)
#include "mainwindow/BarcodeListSide.h"

#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "data/barcodelist/ListDialogs.h"
#include "mainwindow/BarcodeModeView.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

// ---------------------------------------------------------------- layout

void BarcodeListSide::buildListBox()
{
    data_Sheet_Gp_Bx = new QGroupBox(tr("Barcode list"));
    data_Sheet_Gp_Bx->setObjectName("data_Sheet_Gp_Bx");
    m_listBox = data_Sheet_Gp_Bx;
    auto* col = new QVBoxLayout(data_Sheet_Gp_Bx);
    buildListButtons(col);
    buildListMenu();
    buildListTable(col);

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

void BarcodeListSide::buildListButtons(QVBoxLayout* col)
{
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
    files->addStretch();
    col->addLayout(files);
}

void BarcodeListSide::buildListMenu()
{
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
}

void BarcodeListSide::buildListTable(QVBoxLayout* col)
{
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

void BarcodeListSide::listEmptyMessage()
{
    Show_MessageBox(QStringLiteral("List is empty."));
    Focus_Barcode_List();
}

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
