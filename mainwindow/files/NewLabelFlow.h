#pragma once
// What the new-label flow copies into a fresh design: the card's stock and
// size, shape, name, border, fill and background picture. The card wizard
// gives it when the file commands have one installed (Run_Card_Wizard);
// without one the flow asks with New_Label_Dialog, which offers the preset
// card sizes.
#include <QColor>
#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QButtonGroup;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QListWidget;

struct New_Card_Choice {
    int shape = 0;                       // 0 rectangle, 1 rounded rectangle, 2 ellipse
    QString stock;                       // label stock ("PVC Card", a catalogue name, "Custom")
    QString category;                    // product within the stock, when one was chosen
    double widthMM = 0, heightMM = 0;
    QString name;
    bool border = false;
    QColor borderColour{Qt::black};
    int borderWidth = 1;
    int borderStyle = 0;                 // 0 solid, 1..4 the dash patterns
    QColor fillColour{Qt::white};
    QString fillKind{QStringLiteral("S")};   // "S", "G", "H" or "I"
    QColor gradient1{Qt::white}, gradient2{Qt::white};
    int gradientValue = 0;
    QColor hatchBackground{Qt::white};
    QString hatchStyle;                  // pattern name, used for "H"
    double transparency = 100;           // as the wizard gives it: a fraction or a percentage
    QString imagePath;                   // background picture for "I"
};

// The card panel's transparency percentage from the wizard's value: a value
// of at most 1 is a fraction (0.5 is 50 %), a larger one a percentage; the
// result is truncated and kept within 0..100.
int New_Label_Transparency_Percent(double wizardValue);

// Border style codes by position ("S", "DA", "DO", "DD", "DDD").
QString Border_Style_Code(int position);

// The card wizard: a choice after OK, nothing after Cancel.
using Card_Wizard_Runner = std::function<std::optional<New_Card_Choice>()>;

// The new label's size and name from the preset card sizes.
class New_Label_Dialog : public QDialog {
    Q_OBJECT
public:
    explicit New_Label_Dialog(QWidget* parent = nullptr);

    // Shows the presets of a stock ("PVC Card" or "Label").
    void Select_Stock(int index);
    // Offers the size alone (stock, size and orientation), for a label
    // already begun: its shape and name rows are hidden.
    void Size_Only();
    New_Card_Choice Choice() const;

    QComboBox* stock_combo = nullptr;
    QListWidget* preset_list = nullptr;
    QButtonGroup* orientation = nullptr;   // 0 landscape ("H"), 1 portrait ("V")
    QComboBox* shape_combo = nullptr;
    QLineEdit* card_name = nullptr;

private:
    QFormLayout* m_form = nullptr;
};

// Runs the wizard when there is one, else the preset dialog.
std::optional<New_Card_Choice> Ask_New_Card(const Card_Wizard_Runner& wizard);
