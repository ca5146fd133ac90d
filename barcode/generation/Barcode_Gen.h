#pragma once
// The barcode properties dialog of designing mode.
//
// Interactively it edits one barcode item: Open_Wnd loads a copy of the item
// into the same settings panes barcode mode uses, shows a live preview, and
// on OK writes every setting back into the copy, which it returns. It also
// binds the item's value, header and footer to series or, for the value, to
// a spreadsheet column.
//
// As the renderer of barcode items (BarcodeDialogServices) it touches no
// widget: Set_Barcode_Prop_To_Control takes the item's settings into a copy
// kept for the calling thread, and Get_Image_From_Val draws the texts with
// that copy through the one road. The canvas, the design reader and batch
// jobs on workers can call it while the dialog is open.
#include "barcode/generation/SettingsOwnerRoad.h"
#include "barcode/generation/panes/PaneSet.h"
#include "core/util/BarcodeServices.h"
#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>

class BarcodePreview;
class BarcodeSettingsPane;
class ColourPane;
class DataMatrixPane;
class DpiPane;
class LMNGraphic;
class LinearPane;
class MarginPane;
class Pdf417Pane;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QrPane;
class SymbologyPane;
class TextPane;
class ValuePane;
enum class PaneNeed;

// The dialog's settings as an item stores them: the "OK" side of the mapping
// whose loading side is Barcode_Settings_Of_Item. The type is stored as its
// position in `typeNames`; a DPI text is stored only while "Custom" is the
// DPI choice (otherwise the item keeps the text it had).
void Store_Barcode_Settings_In_Item(const BarcodeSettings& s, const QStringList& typeNames, LMNGraphic& item);

// Copies the barcode settings, the data-source bindings and the fill that
// the dialog writes from one barcode item to another (the edited copy back
// onto the item on the canvas).
void Copy_Barcode_Item_Fields(const LMNGraphic& from, LMNGraphic& to);

// What the dialog needs of the data sources, installed by the main window
// (the series and spreadsheet readers live above this layer).
struct Barcode_Gen_Hooks {
    std::function<QStringList()> seriesNames;                    // series of the series folder
    std::function<QString(const QString&)> firstValueOfSeries;   // "" for a missing series
    std::function<bool(int itemSource)> offersSpreadsheet;      // offers "Excel" as a source
    std::function<QStringList()> spreadsheetColumns;             // titles of the bound spreadsheet
    std::function<QString(int)> firstValueOfColumn;
    std::function<void(const QString&)> openSeries;              // the series viewer
    std::function<void()> openSpreadsheet;                       // the spreadsheet viewer
};

class Barcode_Gen : public QDialog, public BarcodeDialogServices, protected Barcode_Pane_Set {
    Q_OBJECT
public:
    explicit Barcode_Gen(QWidget* parent = nullptr);
    ~Barcode_Gen() override;
    // The one dialog (also App_Services().Barcode_Gen_Var), made on the GUI thread.
    static Barcode_Gen* defaultInstance();

    Barcode_Gen_Hooks hooks;

    // ---- Renderer of barcode items (any thread) ----
    void Set_Barcode_Prop_To_Control(LMNGraphic* item) override;
    PtImage Get_Image_From_Val(const QString& value, const QString& header, const QString& footer) override;

    // ---- Editing an item ----
    // Loads a copy of the item and runs the dialog; the edited copy after
    // OK, null after Cancel. The item itself is not changed.
    std::unique_ptr<LMNGraphic> Open_Wnd(const LMNGraphic& item);
    // What Open_Wnd does before and after its modal run (tests run these and
    // the button handlers themselves).
    void Prepare_Source_Combo(int itemSource = 0);
    void Load_Item(const LMNGraphic& item);
    std::unique_ptr<LMNGraphic> Take_Result(int code);
    // Checks the value and the sources; stays open (answers false) with the
    // message when one fails, else ends the run with 1.
    bool OK_Btn_Clicked();
    void Cancel_Btn_Clicked();
    // The settings as the controls hold them (margins in millimetres).
    BarcodeSettings Dialog_Settings() const;
    // The image OK hands back (the preview's).
    PtImage Barcode_Output_Image() const { return m_output; }
    // The copy being edited.
    LMNGraphic* pass_barcode_control() const { return m_item.get(); }

    // ---- Regeneration ----
    void goButtonActionPerformed();
    bool Check_And_Validat_Barcode(bool showMessage, bool checkImage);
    void barcodeTypeChanged();
    const SettingsOwnerRoad& road() const { return m_road; }

    // ---- Data sources ----
    void Enable_Disable_Series_Control(bool on);
    void Show_Hide_Series_Control(bool hide);
    void Data_Source_Changed();
    void Batch_Series_Changed();
    void Hdr_Series_Changed();
    void Ftr_Series_Changed();
    void Use_Value_Series_Chk();
    void Use_Hedaer_Series_Chk();
    void Use_Footer_Series_Chk();
    void View_batch_Series_Button();
    void View_Hedaer_Series_Button();
    void View_Footer_Series_Button();

    // ---- Panes and outlets ----
    SymbologyPane* symbologyPane() const { return m_symbology; }
    ValuePane* valuePane() const { return m_value; }
    TextPane* textPane() const { return m_text; }
    ColourPane* colourPane() const { return m_colours; }
    DpiPane* dpiPane() const { return m_dpi; }
    BarcodePreview* preview() const { return m_preview; }
    QTabWidget* sett_tab = nullptr;
    QWidget* dpi_tab_item = nullptr;
    QComboBox* Data_source_type = nullptr;
    QComboBox* Batch_Series = nullptr;
    QComboBox* hdr_combo_list = nullptr;
    QComboBox* ftr_combo_list = nullptr;
    QCheckBox* use_value_series_chk = nullptr;
    QCheckBox* use_hdr_series_chk = nullptr;
    QCheckBox* use_ftr_series_chk = nullptr;
    QPushButton* view_series_btn = nullptr;
    QPushButton* view_hdr_series_btn = nullptr;
    QPushButton* view_ftr_series_btn = nullptr;
    QPushButton* ok_btn = nullptr;
    QPushButton* cancel_btn = nullptr;

private:
    void writeControls();
    void paneChanged(PaneNeed need);
    void editingEnded(PaneNeed need);
    void setKind(bool twoD);
    void showPreview();
    void publishSettings();
    bool seriesChoiceValid(QComboBox* combo) const;
    void fillSeriesCombos();
    void selectStoredSeries(QComboBox* combo, const QString& name);
    QStringList seriesNames() const;
    void useSeries(QCheckBox* check, QComboBox* combo, QPushButton* view, int field);
    void seriesChosen(QComboBox* combo, int field);
    void viewSeries(QComboBox* combo);
    QString sourceText() const;

    SettingsOwnerRoad m_road;
    std::unique_ptr<LMNGraphic> m_item;     // pass_barcode_control
    PtImage m_output;                       // Barcode_output_image of the last OK
    bool m_loading = false;
    QList<QWidget*> m_seriesControls;       // the nine series controls, in order
    mutable std::mutex m_publishedMutex;
    BarcodeSettings m_published;
    static QPointer<Barcode_Gen> s_instance;
};
