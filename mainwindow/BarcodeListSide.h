#pragma once
// The list side of barcode mode: the controls of where the value, header and
// footer of the barcode come from (typed, the barcode list, or series) and
// the barcode list table with its buttons and commands.
//
// Two boxes: the batch box (data source switch, list / series choice, the
// three texts' boxes, the series lists), which barcode mode puts among its
// settings, and the list box (table, buttons, row count), which it puts
// under the preview. The texts themselves stay in the value pane; the list
// side fills them and makes them read-only while a source feeds them.
//
// The source itself is a value the barcode mode view owns (Barcode_Source):
// these controls show it and write every change into it, and the counts and
// the rows of a job are worked out from it. The list's import and export
// run in Barcode_List_Transfer. BarcodeListSide.cpp holds the sources and
// the rows, BarcodeListTable.cpp the list box.
#include "barcode/generation/BarcodeSource.h"
#include "barcode/generation/SettingsOwnerRoad.h"
#include "barcode/generation/list/BarcodeList.h"
#include "core/util/BatchServices.h"
#include "data/barcodelist/ListTransfer.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class BarcodeModeView;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;
class QVBoxLayout;
class QToolButton;
class QWidget;

class BarcodeListSide : public QObject, public BarcodeRowSource {
    Q_OBJECT
public:
    // `source`: the barcode mode view's source value, which the controls
    // show and write into.
    BarcodeListSide(BarcodeModeView* owner, Barcode_Source& source);
    ~BarcodeListSide() override;

    QWidget* batchBox() const { return m_batchBox; }
    QWidget* listBox() const { return m_listBox; }
    BarcodeListModel& list() { return m_model; }
    const BarcodeListModel& list() const { return m_model; }
    const Barcode_Source& source() const { return m_source; }
    Barcode_List_Transfer& transfer() { return m_transfer; }

    // ---- Sources (the batch switches and the source choice) ----
    void barcodeData_SourceChanged();
    void Custom_Sheet_Check();
    void Data_Set_Sheet_Check();
    void Batch_Value_Check();
    void Batch_Header_Check();
    void Batch_Footer_Check();
    void Show_Hide_Datasheet_Control();
    void Show_Barcode_Val_Hdr_Ftr_Txt_Box();
    void bind_all();
    void Bind_Data_with_Barcode_VALUE_For_Series();
    void Bind_Data_with_Barcode_HEADER_For_Series();
    void Bind_Data_with_Barcode_FOOTER_For_Series();
    void Bind_Data_with_Barcode_VALUE();
    void Bind_Data_with_Barcode_HEADER();
    void Bind_Data_with_Barcode_FOOTER();
    // Reads the series in use, once, pads them to the longest and shows
    // them in the item lists; answers that length.
    int Balance_Datasheet_Combo_Max_Count();
    // Every item list shows the row chosen (the source's Last_Selected_Index;
    // while none is chosen, the row of the list that changed becomes it).
    void Combo_Selection_Change(int which);
    void Refresh_All_Series_Combobox();
    void Refresh_Data_Set_File_Name_In_Combo(QComboBox* combo, const QString& name);
    void Fill_Data_Set_File_Name_In_Combo(QComboBox* combo);
    void Fill_Combo_List_Reading_Data_List_File(int kind, const QString& name, int update);
    // The combo delegate: a series chosen in a name list (0 value, 1
    // header, 2 footer), an item chosen in an item list.
    void Series_Name_Chosen(int which);
    void Series_Item_Chosen(int which);
    // Series names in use (value, header, footer whose box is ticked).
    QStringList Series_Names_In_Use() const { return m_source.Series_Names_In_Use(); }

    // ---- The list table ----
    void Reload_List();
    void Update_List_Count();
    void Mark_List_New_Selection_barcode(int row);
    void List_Operation_Button_State();
    void set_list_value_to_text_box();
    // The selected row (the first when several are); -1 none.
    int Selected_Row() const;
    QList<int> Selected_Rows() const;
    void Select_First_Value_For_Barcode_Setting_Mode();
    void Select_Valid_Value_For_Barcode_Setting_Mode(int row);
    void doubleClickInTable();
    void OnGetSelected();
    void Focus_Barcode_List();

    // ---- List commands ----
    void Del_Sel_Row_Menu();
    void Del_Empty_Row_Menu();
    void Del_All_Row_Menu();
    void Add_Row_Top_Menu();
    void Add_Row_Bottom_Menu();
    void Add_Row_Selection_Menu();
    void Clear_Bar_Value_Menu();
    void Clear_Bar_Hdr_Menu();
    void Clear_Bar_Ftr_Menu();
    void Clear_Print_Qnt_Menu();
    void Clear_All_Record_Menu();
    void Add_List_Button() { Add_Row_Selection_Menu(); }
    void Delete_List_Button() { Del_Sel_Row_Menu(); }
    void Move_Top_List_Button();
    void Move_Up_List_Button();
    void Move_Down_List_Button();
    void Move_Last_List_Button();
    void Move_And_Replace_List_Item(int from, int to);

    // ---- Import and export (run by the transfer; rows placed are shown
    // from row 0 and the texts bound again) ----
    void Import_List_Button();
    bool Load_text_file_Func(const QString& path);
    void Excel_List_Button();
    void Create_List_Button();
    void Export_List_Button() { m_transfer.Export_List_Button(); }

    // ---- Counts and batch rows, from the source value ----
    // Whether the batch feeds the texts: the data source is on and at least
    // one of value, header and footer is taken from it (Use_Data_Sheet_Values
    // of barcode mode).
    bool Check_Data_Sheet_Value_Use_or_Not_Barcode() const
    {
        return m_source.Check_Data_Sheet_Value_Use_or_Not_Barcode();
    }
    // The rows and labels as they stand; changes nothing.
    Batch_Row_Count Count_Rows() const { return m_source.Count_Rows(m_model.rows()); }
    // The rows of a job made with `jobSettings`: the texts and print
    // quantities of every row, read now.
    Batch_Rows Make_Rows(const BarcodeSettings& jobSettings) const;
    // The state print, export and mail read.
    void Fill_Mode_State(BarcodeModeState& state) const;

    // ---- Settings files ----
    Barcode_Source_State Source_State() const { return m_source.Source_State(); }
    void Restore_Source_State(const Barcode_Source_State& state, const std::vector<BarcodeRow>& rows);
    // A new barcode project chooses no series: every series list on its
    // first entry ("<--Select-->"), every item list without a choice and
    // disabled, the series' names and rows let go.
    void Clear_Series_Choice();

    // ---- BarcodeRowSource ----
    int rowCount() const override { return m_source.Get_Barcode_Batch_Count(m_model.rows()); }
    bool rowTexts(int row, QString& value, QString& header, QString& footer) const override;

    // ---- Outlets ----
    QCheckBox* data_source_chkbox = nullptr;
    QLabel* data_source_txt_box = nullptr;
    QRadioButton* Custom_Sheet_RD = nullptr;
    QRadioButton* Data_Set_Sheet_RD = nullptr;
    QCheckBox* barcode_value_chk = nullptr;
    QCheckBox* barcode_header_chk = nullptr;
    QCheckBox* barcode_footer_chk = nullptr;
    QGroupBox* batch_chk_Gp_Bx = nullptr;
    QGroupBox* data_Sheet_Gp_Bx = nullptr;
    QWidget* series_box = nullptr;
    QComboBox* val_combo_list = nullptr;
    QComboBox* hdr_combo_list = nullptr;
    QComboBox* ftr_combo_list = nullptr;
    QComboBox* val_combo_value = nullptr;
    QComboBox* hdr_combo_value = nullptr;
    QComboBox* ftr_combo_value = nullptr;
    QLabel* val_list_name_txt = nullptr;
    QTableView* List = nullptr;
    QLabel* tot_row_count = nullptr;
    QToolButton* add_list_btn = nullptr;
    QToolButton* delete_list_btn = nullptr;
    QToolButton* move_top_list_btn = nullptr;
    QToolButton* move_up_list_btn = nullptr;
    QToolButton* move_down_list_btn = nullptr;
    QToolButton* move_last_list_btn = nullptr;
    QPushButton* import_list_btn = nullptr;
    QPushButton* excel_list_btn = nullptr;
    QPushButton* create_list_btn = nullptr;
    QPushButton* export_list_btn = nullptr;
    QToolButton* list_menu_btn = nullptr;
    QMenu* list_menu = nullptr;

    // Set while the item lists are being brought onto the chosen row.
    bool combo_sel = false;

private:
    void buildBatchBox();
    void buildSeriesBox(QGroupBox* box);
    void buildListBox();
    void buildListButtons(QVBoxLayout* column);
    void buildListMenu();
    void buildListTable(QVBoxLayout* column);
    // The switches write into the source value as they change.
    void connectSwitches();
    // The three texts as parallel controls (0 value, 1 header, 2 footer).
    QCheckBox* check(int which) const;
    QComboBox* nameCombo(int which) const;
    QComboBox* itemCombo(int which) const;
    // The item list of text `which` shows its series' values; every item
    // list shows the chosen row.
    void showSeriesItems(int which);
    void showSeriesRow();
    // The series a name list shows goes into the source.
    void readSeriesName(QComboBox* combo);
    void bindSeries(int which);
    void bindList(int which);
    void setText(int which, const QString& text);
    void setTextReadOnly(int which, bool readOnly);
    void showText(int which, bool shown);
    bool listSource() const { return m_source.listFeeds(); }
    bool seriesSource() const { return m_source.seriesFeeds(); }
    bool batchOn() const { return m_source.dataSource; }
    // The texts of the value pane, as typed.
    Batch_Row_Texts typedTexts() const;
    // Rows placed by an import: shown from row 0, the texts bound again.
    void showImportedRows();
    // Runs an import of the transfer without a preview per placed chunk;
    // the rows it placed are then shown.
    bool placeImported(const std::function<bool()>& import);
    void regenerate();
    void listEmptyMessage();

    BarcodeModeView* m_owner;
    Barcode_Source& m_source;
    BarcodeListModel m_model;
    Barcode_List_Transfer m_transfer;
    QWidget* m_batchBox = nullptr;
    QWidget* m_listBox = nullptr;
    bool m_loading = false;
};
