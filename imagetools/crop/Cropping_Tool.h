#pragma once
// The crop wizard: a modal window with two screens. On the first the user
// names the input (one picture, a folder of pictures, or a series of picture
// paths), the output folder, the name rule and the format; on the second the
// picture is shown under a selection canvas beside the list of pictures, and
// the user crops by the selection or resizes to a given size, one picture at
// a time or all of them in a job on a worker thread with progress and Stop.
//
// Crops and resizes are cut from the full-resolution picture; the view shows
// a preview of at most 800 pixels.
//
// The main window opens it with Open_Wnd (its crop command),
// Open_Wnd_Direct_To_Crop (a picture item with a picture file; the new file
// is then in Crop_Direct_Path) and Open_Wnd_Direct_Crop_Series (a picture
// item bound to a series; the new series is then in Crop_Direct_Series).
#include "core/util/JobControl.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QRectF>
#include <QSize>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

class MSSCanvas;
class MSSCanvasController;
class MSSScaledImageView;
class Please_Wait_Sheet;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;
class QTimer;
class QWidget;

class Cropping_Tool : public QDialog {
    Q_OBJECT
public:
    explicit Cropping_Tool(QWidget* parent = nullptr);
    ~Cropping_Tool() override;
    // The one wizard, made on first use and parented to the main window.
    static Cropping_Tool* defaultInstance();

    // ---- Opening (each resets the wizard and runs it modally) ----
    int Open_Wnd();
    int Open_Wnd_Direct_To_Crop(const QString& path);
    int Open_Wnd_Direct_Crop_Series(const QString& seriesName);
    // The reset of an opening without the modal loop (crop_direct 0, 1, 2;
    // the picture path or the series name). False when a direct opening
    // found nothing to crop, which ends the opening with 0.
    bool Reset_For_Open(int mode, const QString& argument);

    // ---- Actions ----
    void OK_Btn_Clicked();   // Next
    void Back_Btn_Clicked();
    void Cancel_Btn_Clicked();
    void input_option_CellClick(int row);
    void output_option_CellClick(int row);
    void cropping_option_CellClick(int row);
    void File_Browse_Clicked();
    void Folder_Browse_Clicked();
    void Output_Browse_Clicked();
    void Open_Output_Folder_Clicked();
    void Width_Changed(bool fromStepper);
    void Height_Changed(bool fromStepper);
    void Size_Text_Changed(QLineEdit* field);
    void Image_reset_Button();
    void Close_Direct_Image_Clicked();
    void Crop_Single_Image_Clicked();
    void Crop_All_Clicked();
    void Crop_Direct_Image_Clicked();

    // ---- Operations ----
    bool Load_for_Next_Screen();
    void Load_file_Func(const QString& seriesName);
    void Create_List(const QString& path);
    QString Get_Item_Text(int row) const;
    void Mark_List_New_Selection(int row);
    void Set_Default_Cropping_Option();
    // Loads a picture's preview into the view and fits the selection to it.
    void Load_Image_File(const QString& path);
    // The next output path by the name rule; counts the name.
    QString Cropped_File_Name();
    // Crops by the selection or resizes, names and writes the current picture.
    // True when a file was written (its path in croped_file).
    bool Crop_Image_Function(const QString& tag);
    // The selection set-up of the crop screen.
    void Prepare_Selection();
    // The wizard's please-wait sheet, over the crop of one picture.
    void Show_Create_Modeless_plz_wt();
    void Hide_Destroy_Modeless_plz_wt();
    bool Job_Running() const { return m_jobRunning.load(); }
    // The control of the crop in work, or of the last one.
    Job_Control_Ptr Job() const { return m_job; }
    // Waits (pumping events) until a running job has ended.
    void Wait_For_Job();

    // ---- State ----
    int crop_direct = 0;
    QString Crop_Input_Path;
    QString Crop_Output_Path;
    QString Crop_Direct_Path;
    QString Crop_Direct_Series;
    QString croped_file;
    int crop_num = 0;
    QRectF Crop_Rect;
    QImage User_Picture;       // the preview shown
    QSize User_Picture_Full;   // upright size of the whole picture
    QList<QMap<QString, QString>> ListData;  // "SNO", "IMG_NAME", "Image_Path"
    int list_count = 0;
    int crop_failures = 0;     // pictures of the last job that could not be written

    // ---- Outlets ----
    QStackedWidget* screens = nullptr;
    QWidget* Main_Screen_Box = nullptr;
    QWidget* Crop_Screen_Box = nullptr;
    QButtonGroup* input_option_matrix = nullptr;
    QGroupBox* File_Box = nullptr;
    QLineEdit* file_path = nullptr;
    QGroupBox* Folder_Box = nullptr;
    QLineEdit* folder_path = nullptr;
    QGroupBox* Camera_Box = nullptr;
    QComboBox* camera_list = nullptr;
    QButtonGroup* batch_matrix = nullptr;
    QLineEdit* output_path = nullptr;
    QButtonGroup* output_option_matrix = nullptr;
    QLineEdit* output_custom_name = nullptr;
    QComboBox* output_format_combo = nullptr;

    QGroupBox* Croping_option_Box = nullptr;
    QButtonGroup* cropping_option_matrix = nullptr;
    QGroupBox* cropping_wid_size = nullptr;
    QLineEdit* width_Text = nullptr;
    QSpinBox* width_Stepper = nullptr;
    QLineEdit* height_Text = nullptr;
    QSpinBox* height_Stepper = nullptr;
    QCheckBox* aspect_ratio_chk = nullptr;
    QGroupBox* Image_Edit_Prop_Box = nullptr;
    QPushButton* crop_btn = nullptr;
    QPushButton* crop_all_btn = nullptr;
    QPushButton* Crop_direct_Btn = nullptr;
    QPushButton* Close_direct_Btn = nullptr;
    QWidget* button_box = nullptr;
    QPushButton* Open_Folder_Btn = nullptr;
    QPushButton* Next_Btn = nullptr;
    QPushButton* Back_Btn = nullptr;
    QPushButton* Cancel_Btn = nullptr;
    Please_Wait_Sheet* plz_wait_Window = nullptr;
    QTableWidget* ColList = nullptr;
    MSSScaledImageView* Modified_image = nullptr;
    MSSCanvas* canvas = nullptr;
    std::unique_ptr<MSSCanvasController> canvasController;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct CropInput {
        QString path;
        bool bySelection = true;
        QRectF selection;       // canvas units
        QSizeF ratio;           // canvas units per preview pixel
        QSize previewSize;
        double width = 50, height = 50;
        bool keepAspect = false;
    };
    CropInput snapshot() const;
    // Makes the output picture from the full-resolution file; null with a reason.
    QImage makeOutput(const CropInput& in, QString* reason) const;
    bool cropAndWrite(const CropInput& in, const QString& name, bool askKeepReplace, Job_Control& job);
    void buildFirstScreen(QWidget* page);
    void buildCropScreen(QWidget* page);
    void reloadTable();
    // Fills the series combo afresh with the series there are now and
    // chooses `choose`; "" or a name not among them chooses nothing.
    void refillSeriesCombo(const QString& choose);
    QString chosenSeries() const;
    void Crop_All_Thread();
    // The steps of Crop_All_Thread, in order.
    QString chooseNewSeries(const QString& seriesName, bool replace);
    void cropEachPicture(Job_Control& job, bool bySelection, bool seriesInput, int& failures, QStringList& seriesLines);
    void keepNewSeries(const QString& newSeries, const QStringList& seriesLines, bool replace, bool stopped);
    void reportCropAll(Job_Control& job, int failures, bool stopped);
    void showProgress();
    void hideProgress();
    void showAfterCropBox();
    void joinWorker();
    void setListVisible(bool visible);

    std::thread m_worker;
    // The control of the crop in work (a new one for each crop): its stop
    // request, progress, keep-or-replace answers and after-crop box.
    Job_Control_Ptr m_job = New_Job_Control();
    std::atomic<bool> m_jobRunning{false};
    std::atomic<bool> m_workerFinished{true};
    bool m_batchLoading = false;
    bool m_sharedProgress = false;
    QWidget* m_listPanel = nullptr;

    static QPointer<Cropping_Tool> s_instance;
};
