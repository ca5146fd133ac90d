#pragma once
// Widgets the item panels' files make alike.

class QLabel;
class QSlider;
class QString;
class QWidget;

// A bold label, its text set by the panel.
QLabel* Bold_Label(QWidget* parent, const QString& name);
// A slider of whole degrees with its value label.
QSlider* Rotation_Slider(QWidget* parent, const QString& name);
