#pragma once
// What every property panel of designing mode shares: the guard that keeps
// a load from writing back, the border style codes, the "name ( size )" font
// text, the number field with its stepper, the slider that holds a fraction,
// and the walk that writes a panel into the selected items.
#include <QColor>
#include <QFont>
#include <QObject>
#include <QSlider>
#include <QString>
#include <QStringList>

#include <functional>

#include "core/model/LMNGraphic.h"
#include "platform/Fonts.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

class QBoxLayout;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QWidget;
class Stepper;

// While it lives, the panels' change handlers write nothing into items or
// the card (Not_Draw_Only_Prop_Change); its end gives back the value it
// found, however the load ends, an exception included.
class Loading_Guard {
public:
    Loading_Guard();
    ~Loading_Guard();
    Loading_Guard(const Loading_Guard&) = delete;
    Loading_Guard& operator=(const Loading_Guard&) = delete;

private:
    bool m_previous;
};

// Border style code of a list position: 0 "S", 1 "DA", 2 "DO", 3 "DD",
// 4 "DDD"; any other position (none chosen included) "S".
QString Return_Border_Style_Str_On_index(int index);
// List position of a border style code; -1 for a code outside the five.
int Border_Style_Index(const QString& code);
// A border style list (solid, dashed, dotted, dash-dot, dash-dot-dot).
QComboBox* New_Border_Style_Combo(QWidget* parent, const QString& objectName);
// Selects the position of a border style code; an unknown code leaves the
// list as it was.
void Select_Border_Style(QComboBox* combo, const QString& code);

// Font labels ("Name ( 12.00 )", the font's display name and its point size):
// Font_Label_Text of platform/Fonts.h, which the barcode panes share.

// The grid of a panel's box: the panels' margins and spacing, its third
// column taking the room left.
QGridLayout* Panel_Grid(QWidget* box);
// A plain caption.
QLabel* Panel_Caption(QWidget* parent, const QString& text);

// A read-only picture path (row 0 of `g`) over a Browse... and a Library...
// button (row 1), each with its object name.
struct Picture_Path_Row {
    QLineEdit* path = nullptr;
    QPushButton* browse = nullptr;
    QPushButton* library = nullptr;
};
Picture_Path_Row Add_Picture_Path_Row(QWidget* box, QGridLayout* g, const QString& pathName,
                                      const QString& browseName, const QString& libraryName);

// A plain list of the given entries, none chosen.
QComboBox* New_List_Combo(QWidget* parent, const QString& objectName, const QStringList& entries);
// Selects the entry equal to `text`; -1 (nothing) when there is none.
void Select_Combo_Text(QComboBox* combo, const QString& text);

// A number shown in a text field with a stepper beside it. The stepper
// holds the value; the text shows it (as a whole number for `whole`). The
// two are parented to the same box so that each can be enabled on its own.
class Number_Pair : public QObject {
    Q_OBJECT
public:
    Number_Pair(QWidget* box, const QString& name, double min, double max, double step, bool whole,
                int fieldWidth = 56);

    QLineEdit* text = nullptr;
    Stepper* stepper = nullptr;
    // The two side by side, for a layout.
    QHBoxLayout* row() const { return m_row; }

    double value() const;
    int intValue() const;
    // From code: both show the value (clamped by the stepper); nothing is emitted.
    void setValue(double v);
    // The stepper's value written into the text field.
    void mirror();
    void setVisible(bool visible);
    bool whole() const { return m_whole; }

signals:
    // The user moved the stepper or finished typing a new value.
    void edited();

private:
    void commitText();
    QHBoxLayout* m_row = nullptr;
    bool m_whole;
};

// A horizontal slider over a range of real numbers, `scale` steps a unit.
class Fraction_Slider : public QSlider {
    Q_OBJECT
public:
    Fraction_Slider(QWidget* parent, const QString& name, double min, double max, int scale);
    double fraction() const { return value() / double(m_scale); }
    // From code, without emitting.
    void setFraction(double v);
    int scale() const { return m_scale; }

signals:
    // The user moved the slider (a key, a click, or a drag let go).
    void moved();
    // The user is dragging it.
    void dragging();

private:
    int m_scale;
};

// "12.34": a slider's value for its label.
QString Slider_Label_Text(double value);
