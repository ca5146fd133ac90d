#pragma once
// Length units of the main window. Each mode has its own unit, inch (0),
// centimetre (1) or millimetre (2): designing mode for the card size fields
// and the width and height of the selected item, barcode mode for the bar
// height and the five margins. The units window changes the unit of the
// current mode and converts the values in those fields so the lengths stay.
#include <QDialog>
#include <QString>

class BarcodeModeView;
class QButtonGroup;
class QRadioButton;

// The factor from one unit into another, in single precision as the window
// has always computed it (value in `from` times the factor gives the value
// in `into`); 1 for any code outside 0..2 on either side.
float Get_Unit_Convertor(int from, int into);

// "(in)", "(cm)" or "(mm)" (any other code).
QString Unit_Field_Caption(int unit);

// One length field: the value in the text field (single precision) times
// the factor, written back with two decimals; the stepper takes it unrounded.
float Convert_Unit_Text(const QString& text, float factor);

// The units window: three radio buttons in the unit order, OK and Cancel.
class Unit_PrefWindow : public QDialog {
    Q_OBJECT
public:
    explicit Unit_PrefWindow(QWidget* parent = nullptr);

    int selectedRow() const;
    void selectRow(int row);
    // OK: the window ends with code 1.
    void prefsOkay();

    QButtonGroup* unit_matrix = nullptr;
    QRadioButton* inch_rd = nullptr;
    QRadioButton* cm_rd = nullptr;
    QRadioButton* mm_rd = nullptr;
};

// Runs the units window on `current` selected; the unit chosen with OK, -1
// when cancelled.
int Run_Units_Window(QWidget* parent, int current);

// Barcode mode takes a new unit: the bar height and the five margins are
// converted from the unit they hold into it (so the lengths stay), their
// captions name it, and the preview is made again.
void OK_Unit_Change_For_Barcode(BarcodeModeView& view, int unit);
