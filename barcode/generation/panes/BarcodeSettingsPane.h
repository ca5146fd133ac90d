#pragma once
// A pane of the barcode settings: a group of controls that the barcode
// windows (barcode mode of the main window, the barcode properties dialog)
// share. A pane owns its widgets; its face is load() from a settings value,
// writeTo() a settings value, and the signal changed() saying what a change
// made by the user needs. Each control has the member name the rest of the
// program knows it by, and the same object name, so a test can find it as a
// user would.
#include "barcode/generation/panes/Stepper.h"
#include "core/util/BarcodeSettings.h"

#include <QLineEdit>
#include <QString>
#include <QWidget>

class QGridLayout;
class QLabel;

// What a change needs of the owner.
enum class PaneNeed {
    Encode,        // encode the value again and show it
    EncodeTyping,  // the same while the user types a 2D value (a draft at screen resolution)
    Redraw,        // draw the kept symbol again (linear) or frame it again (2D)
    Nothing,       // nothing to show anew
};

class BarcodeSettingsPane : public QWidget {
    Q_OBJECT
public:
    explicit BarcodeSettingsPane(QWidget* parent = nullptr);

    // Shows the settings in the controls; emits nothing.
    void load(const BarcodeSettings& s);
    // Writes the controls into the settings (only the fields this pane shows).
    virtual void writeTo(BarcodeSettings& s) const = 0;

    // The kind of symbology chosen (some controls belong to one kind, and
    // some changes need different things for each).
    void setTwoD(bool twoD);
    bool twoD() const { return m_twoD; }

signals:
    void changed(PaneNeed need);

protected:
    virtual void loadControls(const BarcodeSettings& s) = 0;
    virtual void twoDChanged() {}
    // Emits changed() unless the pane is loading.
    void report(PaneNeed need);
    bool loading() const { return m_loading; }

    // Keeps a text field and its stepper on the same value: the one the user
    // did not touch takes the value of the other; a typed value the stepper
    // cannot hold (outside its range, not a number) shows as the stepper's.
    // A length (`lengthUnit` 0 inch, 1 cm, 2 mm) shows the decimals of its
    // unit; any other number as it is.
    static void syncPair(QObject* sender, QLineEdit* text, Stepper* stepper, bool whole, int lengthUnit = -1);
    static QString pairText(const Stepper* stepper, bool whole, int lengthUnit = -1);
    static void setPair(QLineEdit* text, Stepper* stepper, double value, bool whole, int lengthUnit = -1);
    // A text field and stepper pair that calls `handler` with the sender
    // when editing ends with a new text or the stepper is clicked.
    template <class Pane>
    void connectPair(QLineEdit* text, Stepper* stepper, void (Pane::*handler)(QObject*));

    // Builders shared by the panes.
    static QLineEdit* numberField(QWidget* parent, const char* name, int width = 56);
    // A field for a length: wide enough for its value with four decimals.
    static QLineEdit* lengthField(QWidget* parent, const char* name);
    static Stepper* makeStepper(QWidget* parent, const char* name, double min, double max,
                                double step, double value);
    static void addPairRow(QGridLayout* grid, int row, QLabel* label, QLineEdit* text,
                           Stepper* stepper, const QString& trailing = QString());
    // A "?" button that shows a title and a text in the long-text box.
    QWidget* helpButton(const char* name, const QString& title, const QString& text);

    static int intOf(const QString& text);
    static float floatOf(const QString& text);

private:
    bool m_twoD = false;
    bool m_loading = false;
};

// Shows a help text in the long-text box of the program.
void Show_Barcode_Help(const QString& title, const QString& text);

template <class Pane>
void BarcodeSettingsPane::connectPair(QLineEdit* text, Stepper* stepper,
                                      void (Pane::*handler)(QObject*))
{
    Pane* self = static_cast<Pane*>(this);
    connect(text, &QLineEdit::editingFinished, this, [self, text, handler] {
        if (text->isModified()) {
            text->setModified(false);
            (self->*handler)(text);
        }
    });
    connect(stepper, &Stepper::stepped, this, [self, stepper, handler] { (self->*handler)(stepper); });
}
