#pragma once
// The grid dialog: colour and spacing of the canvas grid, whether it shows
// and whether items snap to it. Its controls act at once (the design view's
// grid actions read them); OK and Cancel only close it, and Cancel keeps what
// was chosen while it was open.
#include <QDialog>
#include <QPointer>

class ColorWell;
class QCheckBox;
class QGroupBox;
class QLabel;
class QSlider;

class Grid_Wizard : public QDialog {
    Q_OBJECT
public:
    explicit Grid_Wizard(QWidget* parent = nullptr);
    ~Grid_Wizard() override;

    // The one dialog, made on first use as a sheet of the main window.
    static Grid_Wizard* defaultInstance();

    // Runs the dialog until OK or Cancel (through the message sink's modal runner).
    int Open_Wnd();
    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();

    // ---- Controls (outlets of the main window's grid actions) ----
    ColorWell* Grid_clr = nullptr;
    QSlider* Grid_Space_slidr = nullptr;     // spacing in points
    QLabel* Grid_Space_val = nullptr;        // the spacing as text
    QCheckBox* Show_hide_grid_chk = nullptr;
    QCheckBox* Snap_to_grid_chk = nullptr;   // items snap to the grid
    QGroupBox* Grid_Opt_box = nullptr;       // colour and spacing

    // Range of the spacing slider, in points.
    static constexpr int kMinSpacing = 2;
    static constexpr int kMaxSpacing = 72;

private:
    static QPointer<Grid_Wizard> s_instance;
};
