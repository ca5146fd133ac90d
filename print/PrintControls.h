#pragma once
// Small controls of the print window and the new-card wizard: the float
// entry check of the geometry fields and the pictures of the nine alignment
// buttons. Their steppers and colour wells are the barcode windows' own
// (barcode/generation/panes/Stepper.h).
#include "barcode/generation/panes/Stepper.h"

#include <QIcon>
#include <QValidator>

// Accepts an empty entry or one that reads as a float to its end.
class Float_Num_Formatter : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// The picture of alignment button `value` (1 top-left ... 9 bottom-right),
// plain or selected. Pictures named after the buttons ("top_left",
// "top_left - sel", ...) in the resources' "Images" folder are used when
// present; otherwise the picture is drawn.
QIcon Alignment_Picture(int value, bool selected);
