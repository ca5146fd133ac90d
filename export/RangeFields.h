#pragma once
// The range fields of the export and e-mail windows: a total of labels, or
// the rows From..To, in whole-number boxes.
#include <QString>

class QLabel;
class QSpinBox;

// A whole-number box from `min` to `max`, without digit grouping.
QSpinBox* New_Count_Box(int min, int max);

struct Range_Fields {
    QLabel* tot_label = nullptr;
    QSpinBox* Total_Text = nullptr;
    QLabel* from_label = nullptr;
    QSpinBox* from_Text = nullptr;
    QLabel* to_label = nullptr;
    QSpinBox* To_Text = nullptr;

    // Enables the total and the From..To fields.
    void enable(bool total, bool range) const;
    // Sets the total ("TOT"), the last row ("TO") or both ("A") to `value`
    // (0 counts as 1), every field at most `max`; without batch values the
    // maximum is 999999.
    void setTotal(int value, int max, const QString& set_for, bool batch) const;
};
