#pragma once
// The property side of designing mode: one tab view (`sett_tab`) whose tabs
// are exchanged as the selection of the canvas changes, one class per tab
// (ItemPanels.h, CardPanels.h), and the host that switches them, loads them
// from the card model or an item, and writes the user's changes back: into
// the front card model, or into every selected item of the panel's kind,
// with a redraw and one undo step.
//
// The host also answers for the window's field and combo delegates of
// designing mode and for the card size fields in the designing unit.
#include <QColor>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QSizeF>
#include <QWidget>

#include <functional>

#include "core/util/SharedValues.h"
#include "mainwindow/panels/CardPanels.h"
#include "mainwindow/panels/ItemPanels.h"
#include "print/LabelCatalogue.h"

class Batch_Binding;
class Card_Property;
class LMNGraphic;
class LMNGraphicView;
class MainWindowServices;
class QAction;
class QFontDialog;
class QLabel;
class QTabWidget;

// The last picture chosen in the picture library.

// A card size text kept to the number typed: letters, white space, line
// breaks and characters that cannot be typed stripped from both ends, then
// cut to 10 characters ("12.5cm" gives "12.5").
QString Clean_Size_Text(const QString& text);
// The text editor's text without the placeholder "Text here" and cut to 250
// characters.
QString Clean_Editor_Text(const QString& text);

// The picture files the panels accept: "jpg", "jpeg", "jpe", "jfif", "gif",
// "bmp", "png", "tif", "tiff".
QStringList Allowed_Picture_Extensions();

class PropertyPanelHost : public QWidget {
    Q_OBJECT
public:
    // `services` is the main window whose canvas the panels write into and
    // whose card model, undo steps and redraws they use.
    explicit PropertyPanelHost(MainWindowServices& services, QWidget* parent = nullptr);
    ~PropertyPanelHost() override;

    QLabel* properties_title = nullptr;
    QTabWidget* sett_tab = nullptr;

    // Unit of designing mode (0 inch, 1 cm, 2 mm) for the card size fields
    // and the item's width and height, and the unit the card size fields
    // hold their values in.
    int Measument_Unit_Is = 2;
    int last_unit_val = 2;

    CardSettingPanel* card_setting_tab = nullptr;
    CardInfoPanel* card_info_tab = nullptr;
    CardSizePanel* card_size_tab = nullptr;
    CardBackgroundPanel* card_bkgd_tab = nullptr;
    CardBorderPanel* card_brdr_tab = nullptr;
    LinePanel* line_tab = nullptr;
    ShapePanel* shape_tab = nullptr;
    TextEditingPanel* text_edtng_tab = nullptr;
    TextPropertiesPanel* text_prop_tab = nullptr;
    PicturePanel* image_tab = nullptr;
    SignaturePanel* sign_tab = nullptr;
    DataSourcePanel* datasource_tab = nullptr;
    AlignmentPanel* aligmnt_tab = nullptr;
    BarcodeItemPanel* barcode_tab = nullptr;
    LockPanel* Lock_tab = nullptr;

    // The item whose panel was loaded last (null after the card panel).
    LMNGraphic* Last_Selected_Graphic = nullptr;
    // The tab shown when the front-side command began, or the card tab the
    // user chose since; the command selects it again when it is a card tab.
    QWidget* Last_Card_Sel_Tab = nullptr;

    // ---- Where the host reaches the rest of the window ----
    // The designing-mode batch binding (spreadsheet columns of the source lists).
    Batch_Binding* batchBinding = nullptr;
    // Toolbar buttons of the edit commands, when the window has them.
    QAction* Cut_btn = nullptr;
    QAction* Copy_btn = nullptr;
    QAction* Paste_btn = nullptr;
    QAction* Delete_btn = nullptr;
    QAction* Begin_Front_btn = nullptr;
    QAction* Send_Back_btn = nullptr;
    QAction* Lock_btn = nullptr;
    QAction* Unlock_btn = nullptr;
    // A file chosen by the user: dialog title and the extensions accepted;
    // "" when cancelled. Tests answer it themselves.
    std::function<QString(const QString& title, const QStringList& extensions)> Choose_File;
    // The page set-up dialog on the process's page settings: true on OK,
    // with the chosen paper in `info`.
    std::function<bool(PrintInfo& info)> Page_Layout_Panel;
    // The picture library ("C" pictures for items, "B" backgrounds): the
    // chosen path, "" when closed without a choice (the window's picker).
    std::function<QString(const QString& mode)> Picture_Library;
    // The crop wizard on one picture (the cropped copy's path) or on the
    // pictures of a series (the new series' name); "" when cancelled. Unset:
    // the crop button is disabled.
    std::function<QString(const QString& path)> Crop_Picture;
    std::function<QString(const QString& series)> Crop_Series;
    // The series viewer on a series.
    std::function<void(const QString& series)> Open_Series_Value_Box;
    // The products of the label stock chosen in the size tab (its catalogue file).
    QList<Product_Details> prod_list;
    // The picture of a barcode item drawn again from its own settings.
    std::function<PtImage(const LMNGraphic& item)> Draw_Barcode_Item;
    // What the design view does for the panels: the zoom back to 100 %, the
    // card resized (points), the window title rebuilt, and the undo step of
    // typing (one step for a run of keystrokes until another change comes).
    std::function<void()> Set_Canvas_to_100_percent;
    std::function<void(QSizeF points)> Apply_Card_Size;
    std::function<void()> Set_Log_Name_In_Title;
    std::function<void()> Typing_Undo_Step;

    // The fifteen tab items by position (card_setting_tab first).
    QList<QWidget*> tabItems() const;
    // Object names of the tabs now shown, in order.
    QStringList shownTabTitles() const;

    // ---- Switching panels ----
    // No item: the card panel. An item: its kind's tabs (the lock tab alone
    // for a locked item), loaded from it, and the alignment tab last.
    void Show_RHS_Properties(LMNGraphic* item);
    // "Label Properties" and the four card tabs.
    void Fill_Card_Prop_Tab();
    // Shows a tab of the panel shown, as the program (not the user) chooses it.
    void Select_Tab(QWidget* tab);
    // A tab the user chose: on the card panel it is remembered for the
    // front-side command, and the size tab puts the focus in the label-sheet
    // product list.
    void tabView_didSelectTabViewItem(int index);
    void Remove_All_Tab_Items();
    // The position and size fields from an item.
    void Set_Control_Pos_And_Size(const LMNGraphic& item);
    // Toolbar and alignment button states.
    void Enable_Standard_Button_For_Control();
    void Enable_Standard_Button_For_Unlock();
    void Disable_Standard_Button_For_Lock();
    void Disable_Standard_Button_For_Card();
    void Set_Paste_Button_Status();
    // The shared print check box: the canvas's print flag of the selection.
    void Print_object_chk_changed();

    // ---- Item panels: the panel into the selected items of its kind ----
    void Update_Shape_Graphics(bool othersChanged = false);
    void Update_Line_Graphics(bool othersChanged = false);
    void Update_Text_Graphics(bool othersChanged = false);
    void Update_Image_Graphics(bool othersChanged = false);
    void Update_Sign_Graphics(bool othersChanged = false);
    // The barcode dialog's result into the selected barcode items, each
    // drawn again from its new settings; the dialog's own picture
    // (Barcode_output_image) serves the item it edited when that cannot be
    // drawn.
    void Update_Barcode_Graphics(const LMNGraphic& result, const PtImage& Barcode_output_image = PtImage());
    // The state of the shared print check box (1 checked).
    int printObjectState() const;

    // Text panel.
    void Text_Insert_Date();
    void Text_Insert_Time();
    void Text_Font_Changed();
    void changeTextFont(const QFont& font);

    // Picture panel.
    void Manual_Image_Browse_Btn();
    void Manual_Library_Browse_Btn();
    void Image_reset_Button();
    void Cropping_Selected_Image_clicked();
    bool Browse_User_Image_Manually();
    // The library on pictures for items ("C") or backgrounds ("B"): 1 when a
    // picture was chosen (then in lib_window_sel_file).
    int Open_Image_Library_Window(const QString& mode);
    QString lib_window_sel_file;
    // The displayed picture of a picture item through the display filter
    // (the picture as loaded while none is in place); shows or hides the
    // panel's error label.
    QImage Get_Image_With_Update_Settings(LMNGraphic* item);
    // A picture item of the design made its displayed picture again
    // (`shown`: the filter gave one): the error label of the item whose
    // panel is shown follows it.
    void Displayed_Picture_Made(const LMNGraphic& item, bool shown);
    void Reset_Image_Editing_Controls();

    // Signature panel.
    void Sign_Browse_Btn();

    // Alignment and position fields.
    void Align_Action(const QString& action);
    void Position_Field_Changed(int which);

    // ---- Card panel ----
    void Load_Card_and_Label_Properties(const LMNGraphic* item = nullptr);
    void Update_Card_Graphics();
    void Set_Card_Comman_Properties();
    void Update_All_Card_Content();
    void Apply_Size_Clicked();
    // The preset dialog in its size-only form; the size chosen is applied.
    void Preset_Size_Click();
    void Page_From_Printer_Click();
    void Card_Image_Browse_Btn();
    void Card_Image_Library_Btn();
    void set_Front_BG_Image(const QString& path);
    void Content_Font_Clicked();
    void changeAllTextFont(const QFont& font);
    void WM_Text_Font_Changed();
    void changewmTextFont(const QFont& font);
    // The chosen product's label size into the size fields.
    void Read_Selected_Product_Label_Value();
    void Card_Width_Changed();
    void Card_Height_Changed();

    // ---- Card size fields in the designing unit ----
    // Millimetres into the size fields, shown in the current unit.
    void Set_Card_Size_In_Control(double widthMM, double heightMM);
    // The size fields converted from last_unit_val into Measument_Unit_Is.
    void Apply_unit_Chaneg_Values();
    void Enable_Disable_Size_Param_Acc_To_Label_Selection(bool enabled);
    // Unit captions of designing mode.
    void _setLabels();

    // The series list of the source tab filled again (series were made,
    // renamed or removed), keeping its choice.
    void Refresh_Series_List();

    // ---- Delegates of the window's lists and fields (user edits only) ----
    void comboBoxSelectionDidChange(QComboBox* combo);
    void controlTextDidChange(QObject* field);
    void controlTextDidEndEditing(QObject* field);
    void textDidChange(QObject* view);
    void Change_Data_Source_To_selected_Control(int type, const QString& name, int position);
    bool Check_Multiple_Image_Selection(const QString& action);

    // The help of the data-source tab (the long-text box).
    void Data_Source_Help_Button();

signals:
    // The user asked for the units window (designing mode).
    void unitsWanted();
    // The barcode item panel asks for the barcode properties dialog.
    void barcodePropertiesWanted();

private:
    // The canvas of the window (null until it has one) and its current item.
    LMNGraphicView* canvasView() const;
    LMNGraphic* Get_Selected_Graphic() const;
    // The selected items of the canvas, in selection order, and their number.
    QList<LMNGraphic*> Selected_Items() const;
    int Selected_Count() const;
    // The walk of a panel's update: nothing while a load is under way or when
    // nothing is selected; otherwise `write` runs for every selected, unlocked
    // item of exactly `kind`, and then, when something was written, the canvas
    // is redrawn and one undo step recorded (also when `othersChanged` says a
    // colour well already changed other items). Answers whether anything changed.
    bool Update_Selected_Of_Kind(LMNKind kind, const std::function<void(LMNGraphic&)>& write,
                                 bool othersChanged = false);
    // A colour well's colour given to every selected, unlocked item through its
    // setColor (a fillable item is filled with it, a line stroked, a picture
    // ignores it). Nothing while a load is under way. Answers whether any item
    // was given it.
    bool Fill_And_Set_Color_Event_Generator(const QColor& color);

    void insertTab(QWidget* tab, const QString& label, int at = -1);
    void loadItem(LMNGraphic& item);
    void loadTextPanel(const LMNGraphic& item, bool locked, bool dataTab);
    void loadPicturePanel(const LMNGraphic& item, bool locked, bool dataTab);
    void loadSourceChooser(const LMNGraphic& item, bool picture);
    void sourceChoice();
    void seriesChoice();
    void applySourceEnabling(int type);
    void insertIntoEditor(const QString& text);
    void wireItemPanels();
    void wireCardPanels();
    void openFontPanel(int target, const QFont& font);
    QFontDialog* fontPanel();
    bool colorWellChanged(const QColor& color);
    void applyEditorText(const QString& text);
    QWidget* tabOf(QObject* control) const;

    MainWindowServices& m_services;
    QPointer<QFontDialog> m_fontPanel;
    int m_fontTarget = 0;   // 1 text, 2 content, 3 watermark
    bool m_signFileChosen = false;
    QString m_productsVendor;   // the label stock whose products the product list holds
    int m_tabsByProgram = 0;    // set while the program itself changes the tabs
};
