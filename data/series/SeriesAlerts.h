#pragma once
// The alerts of the series windows that carry an "Apply to All" check box:
// a series in use (one "OK" button) and a series that already exists
// ("Keep Both", "Replace", "Cancel"). Run through Run_Modal_Dialog, so tests
// press the buttons.
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

class Series_Alert_Box : public QDialog {
    Q_OBJECT
public:
    // `buttons` left to right; the first is the default. The box ends with the
    // index of the button pressed (closing it answers the last button).
    Series_Alert_Box(const QString& text, const QStringList& buttons, QWidget* parent = nullptr);

    // Runs the box; the answer, and whether "Apply to All" was ticked.
    int Run(bool* applyToAll);

    QLabel* message_lbl = nullptr;
    QCheckBox* apply_chk = nullptr;
    QList<QPushButton*> buttons;

    void reject() override;
};

// "Series is in use\n\n<name>\n\n<reason>" with "OK" and "Apply to All".
// Returns whether "Apply to All" was ticked.
bool Show_Series_In_Use_Alert(const QString& name, const QString& reason);

// The keep-or-replace answer for an existing series: 0 replace, 1 keep both,
// 4 cancel; `applyToAll` tells whether the box was ticked.
int Ask_Keep_Or_Replace_Series(const QString& name, bool* applyToAll);
