#pragma once
// Preset card sizes: stock "PVC Card" (indexes 0..6) and any other stock
// (0..7), stored in inches as single floats and given in millimetres (times
// 25.4, rounded back to a single float). Index -1 gives 30 x 30 as it stands;
// any other index the table lacks 30 x 30 inches (762 x 762 mm). With the
// orientation "V" width and height are swapped.
#include <QSizeF>
#include <QString>

QSizeF Get_My_card_Size(const QString& stock, const QString& orientation, int index);

// Number of presets of a stock and the label of one ("3.37 x 2.13 in").
int Card_Preset_Count(const QString& stock);
QString Card_Preset_Label(const QString& stock, int index);
