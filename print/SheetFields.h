#pragma once
// Small pieces of the label-sheet windows (the print window, the PDF export
// window, the new-label wizard): number fields with a stepper beside them,
// lengths shown in millimetres, and the size field's cleaning as typed.
#include <QAbstractButton>
#include <QString>

#include <functional>
#include <initializer_list>
#include <utility>

class QHBoxLayout;
class QLineEdit;
class QObject;
class Stepper;

namespace sheetui {

QString mm2(double v);                   // two decimals, C locale
double num(const QLineEdit* f);          // the field's leading number
int inum(const QLineEdit* f);            // the field's leading whole number
QString floatText(double v);             // shortest text that reads back as the same float
// Sets a stepper (may be null) and its field.
void setPair(QLineEdit* field, Stepper* stepper, double v, const QString& text);
QLineEdit* readOnlyField(int width = 0);
// A text field and its stepper side by side (a layout, so that enabling the
// box around them reaches each control); `floats` lets only numbers in.
QHBoxLayout* pairWidget(QLineEdit*& field, Stepper*& stepper, double min, double max, double step, bool floats,
                        int fieldWidth = 64);
// A size as typed, cleaned while typing: letters, spaces and characters that
// are no characters cut from both ends, ten characters at most.
QString Size_Field_Text(const QString& typed);

// The two of a pair agree after `sender` changed: a step writes the
// stepper's value into the field (two decimals, or the shortest text of the
// float); a field's value goes into the stepper, and a whole number the
// stepper cannot hold shows as the one it holds.
void copyPair(QObject* sender, QLineEdit* field, Stepper* stepper, bool isInt, bool twoDecimals = false);
// A field and its stepper to their handlers: leaving the field calls `left`
// (when given) and then `changed` with the field, typing calls `typed`, a
// step calls `changed` with the stepper.
void connectPair(QObject* context, QLineEdit* field, Stepper* stepper, const std::function<void(QObject*)>& changed,
                 const std::function<void(QLineEdit*)>& typed, const std::function<void(QLineEdit*)>& left = {});

// Each button's click to its handler on `window`.
template <class Window>
void connectClicks(Window* window, std::initializer_list<std::pair<QAbstractButton*, void (Window::*)()>> clicks)
{
    for (const auto& click : clicks) {
        // Copied into a variable of its own: clang 14 does not let a lambda
        // capture a structured binding.
        void (Window::*handler)() = click.second;
        QObject::connect(click.first, &QAbstractButton::clicked, window, [window, handler] { (window->*handler)(); });
    }
}

} // namespace sheetui
