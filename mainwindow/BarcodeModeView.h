#pragma once
// The barcode tab of the main window: barcode mode.
//
// It arranges the barcode settings panes (the same classes the barcode
// properties dialog uses) beside the preview, and it is the settings owner
// of barcode mode: its road (the one stateful wrapper over the generation
// road) holds the settings value that the panes load from and write into,
// and it registers that value as the settings source of mode 0. The main
// window frame keeps one pointer to it and forwards what the rest of the
// program asks of barcode mode.
#include "barcode/generation/BarcodeSource.h"
#include "barcode/generation/SettingsOwnerRoad.h"
#include "barcode/generation/panes/BarcodeSettingsPane.h"
#include "barcode/generation/panes/PaneSet.h"
#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

#include <QString>
#include <QWidget>

#include <mutex>
#include <vector>

class BarcodeListSide;
class BarcodePreview;
class ColourPane;
class DataMatrixPane;
class DpiPane;
class LinearPane;
class MarginPane;
class Pdf417Pane;
class QrPane;
class SymbologyPane;
class TextPane;
class ValuePane;
class QCheckBox;
class QGroupBox;
class QRadioButton;
class QScrollArea;
class QTabWidget;


class BarcodeModeView : public QWidget, protected Barcode_Pane_Set {
    Q_OBJECT
public:
    explicit BarcodeModeView(QWidget* parent = nullptr);
    ~BarcodeModeView() override;

    // Start-up of the tab once the frame stands: the defaults and the panes
    // of the first symbology (the frame then asks for the first barcode).
    void awakeFromNib();
    // Captions that name the barcode unit.
    void _setLabels_Barcode();

    // ---- Settings owner of barcode mode ----
    // The settings as the controls hold them now, with the margins in points
    // and the frame of the last generation. On another thread: the copy
    // taken after the last change.
    BarcodeSettings Barcode_Settings() const;
    // Shows a settings value in every control (the barcode unit included)
    // and makes its barcode.
    void Load_Barcode_Settings(const BarcodeSettings& s);
    QString Barcode_Type_Name() const;

    // Unit of barcode mode (0 inch, 1 cm, 2 mm), the unit its length fields
    // hold their values in, and the header text a new barcode starts with.
    int Measument_Unit_Is_Barcode = 1;
    int last_unit_val_Barcode = 1;
    QString def_barcode_hdr_str;

    // ---- Preview road ----
    void goButtonActionPerformed();
    void Encode_btn() { goButtonActionPerformed(); }
    void Generate_Barcode_Thread_Function();
    bool Check_And_Validat_Barcode(bool showMessage, bool checkImage);
    int Get_Print_State();
    void Set_Blank_Image();
    // Draws the kept linear symbol again (redraw) or frames the kept 2D
    // symbol again (re-frame), without encoding.
    void Refresh_Look();
    bool testBarcodeExists() const { return m_road.testBarcode() != nullptr; }
    const PtImage& Preview_Image() const { return m_road.previewImage(); }
    bool Preview_Is_Blank() const { return m_road.previewIsBlank(); }
    // The notice beside a blank preview (empty while an image shows).
    QString Preview_Notice() const;
    bool Preview_Is_Draft() const { return m_road.previewIsDraft(); }
    SettingsOwnerRoad& road() { return m_road; }

    // Counters of the encodings and preview images (diagnostics).
    int Encode_Count() const { return m_road.encodeCount(); }
    int Draw_Count() const { return m_road.drawCount(); }

    // ---- Symbology choice and option panes ----
    void barcodeTypeChanged();
    void Liner_Barcode_Opt_Select();
    void two_d_barcode_Opt_Select();

    // ---- The list side: sources, barcode list, batch rows ----
    BarcodeListSide* listSide() const { return m_list; }
    // Where the texts come from, as a value: the list side's controls show it
    // and write every change into it.
    Barcode_Source& source() { return m_source; }
    const Barcode_Source& source() const { return m_source; }
    // The settings a job takes: the controls as they stand, no draft made
    // while typing, the chosen DPI (GUI thread).
    BarcodeSettings Job_Settings();

    // ---- Help buttons of the batch controls ----
    void Barcode_Data_Source_Help_Button();
    void Batch_Help_Button();

    // ---- Working members ----
    int liner_or_2D_font = 0;

    // ---- The panes ----
    SymbologyPane* symbologyPane() const { return m_symbology; }
    ValuePane* valuePane() const { return m_value; }
    TextPane* textPane() const { return m_text; }
    LinearPane* linearPane() const { return m_linear; }
    MarginPane* marginPane() const { return m_margins; }
    QrPane* qrPane() const { return m_qr; }
    Pdf417Pane* pdf417Pane() const { return m_pdf417; }
    DataMatrixPane* dataMatrixPane() const { return m_dataMatrix; }
    ColourPane* colourPane() const { return m_colours; }
    DpiPane* dpiPane() const { return m_dpi; }
    BarcodePreview* preview() const { return m_preview; }
    using Barcode_Pane_Set::panes;

    // ---- Outlets of the frame of the settings side ----
    QScrollArea* settings_scroll = nullptr;   // the settings side; it scrolls
    QTabWidget* sett_tab_barcode = nullptr;
    QWidget* dpi_tab_item = nullptr;
    // Batch sources of barcode mode (they arrive with the data subsystem).
    QGroupBox* batch_chk_Gp_Bx = nullptr;
    QGroupBox* data_Sheet_Gp_Bx = nullptr;
    QCheckBox* data_source_chkbox = nullptr;
    QCheckBox* barcode_value_chk = nullptr;
    QCheckBox* barcode_header_chk = nullptr;
    QCheckBox* barcode_footer_chk = nullptr;
    QRadioButton* Custom_Sheet_RD = nullptr;
    QRadioButton* Data_Set_Sheet_RD = nullptr;

signals:
    // The preview changed (a new image or a blank one).
    void previewChanged();

private:
    void buildTab();
    bool Settings_Loading() const;
    // A pane reports a change made by the user.
    void paneChanged(PaneNeed need);
    void editingEnded(PaneNeed need);
    void Regenerate() { goButtonActionPerformed(); }
    // Writes every pane into the road's settings.
    void writeControls();
    void setKind(bool twoD);
    void showPreview();
    // Copies the settings for readers on other threads.
    void publishSettings();

    SettingsOwnerRoad m_road;
    Barcode_Source m_source;
    BarcodeListSide* m_list = nullptr;
    mutable std::mutex m_publishedMutex;
    BarcodeSettings m_published;   // the last settings, for other threads
};
