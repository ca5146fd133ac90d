#pragma once
// The panes of a barcode window as one set: the barcode dialog and barcode
// mode of the main window hold the same panes and treat them alike. The set
// builds the settings tabs, wires the panes to their owner, writes them into
// a settings value, shows the option pane of the chosen kind of symbology,
// and shows on the preview what the road made.
#include "barcode/generation/panes/BarcodeSettingsPane.h"

#include <functional>
#include <vector>

class BarcodePreview;
class ColourPane;
class DataMatrixPane;
class DpiPane;
class LinearPane;
class MarginPane;
class Pdf417Pane;
class QObject;
class QTabWidget;
class QrPane;
class SettingsOwnerRoad;
class SymbologyPane;
class TextPane;
class ValuePane;

class Barcode_Pane_Set {
public:
    // Every pane, in the order they are written.
    std::vector<BarcodeSettingsPane*> panes() const;

    // Adds the Text, Size (linear, QR, PDF417, Data Matrix, margins), Colours
    // and DPI tabs to `tabs`, making those panes (`withBackgroundRadios` as
    // ColourPane takes it). The symbology, value and preview panes are the
    // owner's to make.
    void buildSettingsTabs(QTabWidget* tabs, bool withBackgroundRadios);

    // Connects every pane's changes, the symbology choice and the end of
    // editing a value to the owner.
    void connectPanes(QObject* owner, const std::function<void(PaneNeed)>& changed,
                      const std::function<void()>& symbologyChanged, const std::function<void(PaneNeed)>& editingEnded);

    // Writes every pane into `s`.
    void writeTo(BarcodeSettings& s) const;

    // Tells every pane the kind and shows only the option pane of the
    // chosen symbology.
    void showKind(bool twoD);

    // The linear controls usable again (a linear symbology was chosen).
    void enableLinearControls();

    // The preview shows the road's drawing, its picture, or why there is none.
    void showRoadPreview(const SettingsOwnerRoad& road);

    SymbologyPane* m_symbology = nullptr;
    ValuePane* m_value = nullptr;
    TextPane* m_text = nullptr;
    LinearPane* m_linear = nullptr;
    MarginPane* m_margins = nullptr;
    QrPane* m_qr = nullptr;
    Pdf417Pane* m_pdf417 = nullptr;
    DataMatrixPane* m_dataMatrix = nullptr;
    ColourPane* m_colours = nullptr;
    DpiPane* m_dpi = nullptr;
    BarcodePreview* m_preview = nullptr;
};
