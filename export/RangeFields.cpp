#include "export/RangeFields.h"

#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace {
constexpr int noBatchMaximum = 999999;
}

QSpinBox* New_Count_Box(int min, int max)
{
    auto* s = new QSpinBox;
    s->setRange(min, max);
    s->setGroupSeparatorShown(false);
    return s;
}

void Range_Fields::enable(bool total, bool range) const
{
    for (QWidget* w : {static_cast<QWidget*>(tot_label), static_cast<QWidget*>(Total_Text)})
        w->setEnabled(total);
    for (QWidget* w : {static_cast<QWidget*>(from_label), static_cast<QWidget*>(from_Text),
                       static_cast<QWidget*>(to_label), static_cast<QWidget*>(To_Text)})
        w->setEnabled(range);
}

void Range_Fields::setTotal(int value, int max, const QString& set_for, bool batch) const
{
    if (value == 0)
        value = 1;
    if (!batch) {
        max = noBatchMaximum;
        value = std::min(value, noBatchMaximum);
    }
    max = std::max(max, 1);
    for (QSpinBox* s : {Total_Text, To_Text, from_Text})
        s->setMaximum(max);
    if (set_for == QLatin1String("TOT") || set_for == QLatin1String("A"))
        Total_Text->setValue(value);
    if (set_for == QLatin1String("TO") || set_for == QLatin1String("A"))
        To_Text->setValue(value);
}
