#include "imagetools/crop/Cropping_Tool.h"

#include "core/util/BatchServices.h"
#include "core/util/DesktopOpen.h"
#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/ServiceInterfaces.h"
#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "imagetools/crop/CropOperations.h"
#include "imagetools/picture/PictureDecoder.h"
#include "imagetools/selection/MSSCanvas.h"
#include "imagetools/selection/MSSScaledImageView.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <chrono>
#include <exception>

QPointer<Cropping_Tool> Cropping_Tool::s_instance;

namespace {

const QString kSelectSeries = QStringLiteral("<--Select-->");
const QString kCropped = QStringLiteral("Image has been cropped successfully.");
const QString kNewSeriesQuestion = QStringLiteral(
    "This action will create new batch series with all new cropped images.\nAre you sure you want to continue?");
const QString kReplaceSeriesQuestion = QStringLiteral(
    "This action will replace selected batch series items with all new cropped images.\nAre you sure you want to continue?");

// Sizes of the picture view in the three openings.
constexpr QSize kViewNormal(560, 400);
constexpr QSize kViewDirectPicture(760, 440);
constexpr QSize kViewDirectSeries(560, 430);

QButtonGroup* radioColumn(QWidget* owner, QBoxLayout* into, const QStringList& titles)
{
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < titles.size(); ++i) {
        auto* radio = new QRadioButton(titles[i]);
        group->addButton(radio, i);
        into->addWidget(radio);
    }
    group->button(0)->setChecked(true);
    return group;
}

void checkRow(QButtonGroup* group, int row)
{
    if (QAbstractButton* b = group->button(row))
        b->setChecked(true);
}

// Runs on the GUI thread and waits; a call that can no longer be served
// (the application is quitting) stops the job.
void onMain(Job_Control& job, const std::function<void()>& fn)
{
    if (!Run_On_Main_Thread_And_Wait(fn))
        job.Stop_Processing_Now = true;
}

} // namespace

Cropping_Tool* Cropping_Tool::defaultInstance()
{
    if (!s_instance) {
        Run_On_Main_Thread_And_Wait([] {
            if (!s_instance)
                s_instance = new Cropping_Tool(App_Services().Main_App_wnd ? App_Services().Main_App_wnd->mainWidget() : nullptr);
        });
    }
    return s_instance;
}

Cropping_Tool::Cropping_Tool(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Crop Pictures"));
    Apply_Dialog_Background(this);
    auto* root = new QVBoxLayout(this);
    screens = new QStackedWidget;
    Main_Screen_Box = new QWidget;
    Crop_Screen_Box = new QWidget;
    screens->addWidget(Main_Screen_Box);
    screens->addWidget(Crop_Screen_Box);
    root->addWidget(screens, 1);
    buildFirstScreen(Main_Screen_Box);
    buildCropScreen(Crop_Screen_Box);
    plz_wait_Window = new Please_Wait_Sheet(this);
    plz_wait_Window->setObjectName(QStringLiteral("plz_wait_Window"));

    button_box = new QWidget;
    auto* buttons = new QHBoxLayout(button_box);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto* help = new QPushButton(QStringLiteral("Help"));
    Back_Btn = new QPushButton(QStringLiteral("< Back"));
    Next_Btn = new QPushButton(QStringLiteral("Next >"));
    Cancel_Btn = new QPushButton(QStringLiteral("Cancel"));
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(Back_Btn);
    buttons->addWidget(Next_Btn);
    buttons->addWidget(Cancel_Btn);
    root->addWidget(button_box);
    Next_Btn->setDefault(true);
    connect(help, &QPushButton::clicked, this, [] { Open_Help_File(); });
    connect(Back_Btn, &QPushButton::clicked, this, &Cropping_Tool::Back_Btn_Clicked);
    connect(Next_Btn, &QPushButton::clicked, this, &Cropping_Tool::OK_Btn_Clicked);
    connect(Cancel_Btn, &QPushButton::clicked, this, &Cropping_Tool::Cancel_Btn_Clicked);
}

Cropping_Tool::~Cropping_Tool()
{
    m_job->Stop_Processing_Now = true;
    joinWorker();
}

void Cropping_Tool::buildFirstScreen(QWidget* page)
{
    auto* col = new QVBoxLayout(page);
    auto* inputBox = new QGroupBox(QStringLiteral("Input"));
    auto* inputRow = new QHBoxLayout(inputBox);
    auto* inputChoice = new QVBoxLayout;
    input_option_matrix = radioColumn(this, inputChoice,
                                      {QStringLiteral("One picture file"), QStringLiteral("A folder of pictures"),
                                       QStringLiteral("The pictures of a series")});
    inputRow->addLayout(inputChoice);
    auto* inputs = new QVBoxLayout;
    File_Box = new QGroupBox(QStringLiteral("Picture file"));
    {
        auto* l = new QHBoxLayout(File_Box);
        file_path = new QLineEdit;
        auto* browse = new QPushButton(QStringLiteral("Browse..."));
        l->addWidget(file_path, 1);
        l->addWidget(browse);
        connect(browse, &QPushButton::clicked, this, &Cropping_Tool::File_Browse_Clicked);
    }
    Folder_Box = new QGroupBox(QStringLiteral("Folder of pictures"));
    {
        auto* l = new QHBoxLayout(Folder_Box);
        folder_path = new QLineEdit;
        auto* browse = new QPushButton(QStringLiteral("Browse..."));
        l->addWidget(folder_path, 1);
        l->addWidget(browse);
        connect(browse, &QPushButton::clicked, this, &Cropping_Tool::Folder_Browse_Clicked);
    }
    Camera_Box = new QGroupBox(QStringLiteral("Series"));
    {
        auto* l = new QVBoxLayout(Camera_Box);
        camera_list = new QComboBox;
        l->addWidget(camera_list);
        auto* batchRow = new QHBoxLayout;
        batch_matrix = radioColumn(this, batchRow,
                                   {QStringLiteral("Make a new series of the cropped pictures"),
                                    QStringLiteral("Replace the pictures of the chosen series")});
        l->addLayout(batchRow);
    }
    inputs->addWidget(File_Box);
    inputs->addWidget(Folder_Box);
    inputs->addWidget(Camera_Box);
    inputRow->addLayout(inputs, 1);
    col->addWidget(inputBox);

    auto* outputBox = new QGroupBox(QStringLiteral("Output"));
    auto* grid = new QGridLayout(outputBox);
    grid->addWidget(new QLabel(QStringLiteral("Folder:")), 0, 0);
    output_path = new QLineEdit;
    grid->addWidget(output_path, 0, 1);
    auto* outBrowse = new QPushButton(QStringLiteral("Browse..."));
    grid->addWidget(outBrowse, 0, 2);
    connect(outBrowse, &QPushButton::clicked, this, &Cropping_Tool::Output_Browse_Clicked);
    auto* nameRow = new QVBoxLayout;
    output_option_matrix = radioColumn(this, nameRow,
                                       {QStringLiteral("Name each picture after its file"),
                                        QStringLiteral("Custom name:")});
    grid->addWidget(new QLabel(QStringLiteral("Names:")), 1, 0, Qt::AlignTop);
    grid->addLayout(nameRow, 1, 1);
    output_custom_name = new QLineEdit;
    grid->addWidget(output_custom_name, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Format:")), 3, 0);
    output_format_combo = new QComboBox;
    output_format_combo->addItems({QStringLiteral("JPG"), QStringLiteral("BMP"), QStringLiteral("PNG"),
                                   QStringLiteral("TIFF")});
    grid->addWidget(output_format_combo, 3, 1, Qt::AlignLeft);
    col->addWidget(outputBox);
    col->addStretch(1);

    connect(input_option_matrix, &QButtonGroup::idClicked, this, &Cropping_Tool::input_option_CellClick);
    connect(output_option_matrix, &QButtonGroup::idClicked, this, &Cropping_Tool::output_option_CellClick);
}

void Cropping_Tool::buildCropScreen(QWidget* page)
{
    auto* row = new QHBoxLayout(page);
    m_listPanel = new QWidget;
    auto* listCol = new QVBoxLayout(m_listPanel);
    listCol->setContentsMargins(0, 0, 0, 0);
    ColList = new QTableWidget(0, 3);
    ColList->setHorizontalHeaderLabels({QStringLiteral("No."), QStringLiteral("Picture"), QStringLiteral("Path")});
    ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ColList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ColList->verticalHeader()->setVisible(false);
    ColList->setWordWrap(false);
    ColList->horizontalHeader()->setStretchLastSection(true);
    ColList->setColumnWidth(0, 36);
    ColList->setColumnWidth(1, 120);
    ColList->setFixedWidth(220);
    listCol->addWidget(ColList);
    row->addWidget(m_listPanel);
    connect(ColList, &QTableWidget::itemSelectionChanged, this, [this] {
        const int r = ColList->currentRow();
        if (r >= 0 && r < ListData.size()) {
            Crop_Input_Path = ListData[r].value(QStringLiteral("Image_Path"));
            Load_Image_File(Crop_Input_Path);
        }
    });

    Modified_image = new MSSScaledImageView;
    Modified_image->setFixedSize(kViewNormal);
    Modified_image->setAutoFillBackground(true);
    QPalette pal = Modified_image->palette();
    pal.setColor(QPalette::Window, QColor(90, 90, 90));
    Modified_image->setPalette(pal);
    row->addWidget(Modified_image, 0, Qt::AlignTop);
    canvas = new MSSCanvas;
    canvas->setAllowIntersections(true);
    canvasController = std::make_unique<MSSCanvasController>(canvas, Modified_image);

    auto* side = new QVBoxLayout;
    Croping_option_Box = new QGroupBox(QStringLiteral("Cropping"));
    auto* optCol = new QVBoxLayout(Croping_option_Box);
    cropping_option_matrix = radioColumn(this, optCol,
                                         {QStringLiteral("Crop by the selection"),
                                          QStringLiteral("Resize to a given size")});
    cropping_wid_size = new QGroupBox(QStringLiteral("Size (pixels)"));
    auto* sizeGrid = new QGridLayout(cropping_wid_size);
    width_Text = new QLineEdit;
    height_Text = new QLineEdit;
    width_Stepper = new QSpinBox;
    height_Stepper = new QSpinBox;
    for (QSpinBox* s : {width_Stepper, height_Stepper}) {
        s->setRange(1, 10000);
        s->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        s->setFixedWidth(22);
    }
    sizeGrid->addWidget(new QLabel(QStringLiteral("Width:")), 0, 0);
    sizeGrid->addWidget(width_Text, 0, 1);
    sizeGrid->addWidget(width_Stepper, 0, 2);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Height:")), 1, 0);
    sizeGrid->addWidget(height_Text, 1, 1);
    sizeGrid->addWidget(height_Stepper, 1, 2);
    aspect_ratio_chk = new QCheckBox(QStringLiteral("Keep proportions"));
    sizeGrid->addWidget(aspect_ratio_chk, 2, 0, 1, 3);
    optCol->addWidget(cropping_wid_size);
    side->addWidget(Croping_option_Box);

    Image_Edit_Prop_Box = new QGroupBox(QStringLiteral("Picture"));
    auto* editCol = new QVBoxLayout(Image_Edit_Prop_Box);
    auto* reset = new QPushButton(QStringLiteral("Show Original Again"));
    editCol->addWidget(reset);
    side->addWidget(Image_Edit_Prop_Box);
    side->addStretch(1);

    crop_btn = new QPushButton(QStringLiteral("Crop"));
    crop_all_btn = new QPushButton(QStringLiteral("Crop All"));
    Crop_direct_Btn = new QPushButton(QStringLiteral("Crop"));
    Close_direct_Btn = new QPushButton(QStringLiteral("Close"));
    Open_Folder_Btn = new QPushButton(QStringLiteral("Open Output Folder"));
    for (QPushButton* b : {crop_btn, crop_all_btn, Crop_direct_Btn, Close_direct_Btn, Open_Folder_Btn})
        side->addWidget(b);
    auto* sidePanel = new QWidget;
    sidePanel->setLayout(side);
    sidePanel->setFixedWidth(210);
    row->addWidget(sidePanel);

    connect(cropping_option_matrix, &QButtonGroup::idClicked, this, &Cropping_Tool::cropping_option_CellClick);
    connect(width_Stepper, &QSpinBox::valueChanged, this, [this] { Width_Changed(true); });
    connect(height_Stepper, &QSpinBox::valueChanged, this, [this] { Height_Changed(true); });
    connect(width_Text, &QLineEdit::textEdited, this, [this] { Size_Text_Changed(width_Text); });
    connect(height_Text, &QLineEdit::textEdited, this, [this] { Size_Text_Changed(height_Text); });
    connect(reset, &QPushButton::clicked, this, &Cropping_Tool::Image_reset_Button);
    connect(crop_btn, &QPushButton::clicked, this, &Cropping_Tool::Crop_Single_Image_Clicked);
    connect(crop_all_btn, &QPushButton::clicked, this, &Cropping_Tool::Crop_All_Clicked);
    connect(Crop_direct_Btn, &QPushButton::clicked, this, &Cropping_Tool::Crop_Direct_Image_Clicked);
    connect(Close_direct_Btn, &QPushButton::clicked, this, &Cropping_Tool::Close_Direct_Image_Clicked);
    connect(Open_Folder_Btn, &QPushButton::clicked, this, &Cropping_Tool::Open_Output_Folder_Clicked);
}

// ---------------------------------------------------------------- opening

bool Cropping_Tool::Reset_For_Open(int mode, const QString& argument)
{
    joinWorker();
    crop_num = 0;
    crop_direct = mode;
    Crop_Direct_Path.clear();
    Crop_Direct_Series.clear();
    Crop_Rect = QRectF();
    output_custom_name->setText(default_file_name);
    Modified_image->setFixedSize(mode == 1 ? kViewDirectPicture : mode == 2 ? kViewDirectSeries : kViewNormal);
    Next_Btn->setEnabled(true);
    Back_Btn->setEnabled(false);
    ListData.clear();
    reloadTable();
    output_format_combo->setCurrentIndex(0);
    checkRow(input_option_matrix, mode == 2 ? 2 : 0);
    checkRow(output_option_matrix, 0);
    checkRow(cropping_option_matrix, 0);
    if (mode != 1)
        checkRow(batch_matrix, 0);
    canvasController->removeAllSelectorsFromCanvas();
    file_path->clear();
    folder_path->clear();
    output_path->clear();
    User_Picture = QImage();
    User_Picture_Full = QSize();
    Modified_image->setImage(QImage());
    Modified_image->setFileURL(QUrl());
    SetObjEnabled(File_Box, true);
    SetObjEnabled(Folder_Box, false);
    SetObjEnabled(Camera_Box, false);
    Set_Default_Cropping_Option();
    output_custom_name->setEnabled(false);
    refillSeriesCombo(mode == 2 ? argument : QString());
    if (mode == 2 && camera_list->currentIndex() <= 0) {
        // The series is gone since the item was bound to it.
        Show_MessageBox(QStringLiteral("The selected series does not contains any image with supported extension."));
        return false;
    }
    if (mode == 1)
        setListVisible(false);
    else if (mode == 2)
        setListVisible(true);
    screens->setCurrentWidget(mode == 0 ? Main_Screen_Box : Crop_Screen_Box);
    button_box->setVisible(mode == 0);
    crop_btn->setVisible(mode == 0);
    crop_all_btn->setVisible(mode == 0);
    Open_Folder_Btn->setVisible(mode == 0);
    Crop_direct_Btn->setVisible(mode != 0);
    Close_direct_Btn->setVisible(mode != 0);
    if (mode == 1) {
        Crop_Input_Path = argument;
        return Load_for_Next_Screen();
    }
    if (mode == 2)
        return Load_for_Next_Screen();
    return true;
}

int Cropping_Tool::Open_Wnd()
{
    if (!Reset_For_Open(0, QString()))
        return 0;
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

int Cropping_Tool::Open_Wnd_Direct_To_Crop(const QString& path)
{
    if (!Reset_For_Open(1, path))
        return 0;
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

int Cropping_Tool::Open_Wnd_Direct_Crop_Series(const QString& seriesName)
{
    if (!Reset_For_Open(2, seriesName))
        return 0;
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

void Cropping_Tool::setListVisible(bool visible)
{
    m_listPanel->setVisible(visible);
}

void Cropping_Tool::Set_Default_Cropping_Option()
{
    checkRow(cropping_option_matrix, 0);
    cropping_wid_size->setEnabled(false);
    aspect_ratio_chk->setChecked(false);
    width_Stepper->setValue(50);
    height_Stepper->setValue(50);
    width_Text->setText(QStringLiteral("50"));
    height_Text->setText(QStringLiteral("50"));
}

void Cropping_Tool::refillSeriesCombo(const QString& choose)
{
    camera_list->clear();
    camera_list->addItem(kSelectSeries);
    camera_list->addItems(Series_Names());
    int index = 0;
    if (!choose.isEmpty()) {
        for (int i = 1; i < camera_list->count(); ++i)
            if (camera_list->itemText(i).compare(choose, Qt::CaseInsensitive) == 0)
                index = i;
    }
    camera_list->setCurrentIndex(index);
}

QString Cropping_Tool::chosenSeries() const
{
    return camera_list->currentIndex() > 0 ? Trim_Str(camera_list->currentText()) : QString();
}

// ---------------------------------------------------------------- first screen

bool Cropping_Tool::Load_for_Next_Screen()
{
    Croping_option_Box->setVisible(crop_direct != 1);
    const int input = input_option_matrix->checkedId();
    if (input == 0) {
        crop_btn->setVisible(crop_direct == 0);
        crop_all_btn->setVisible(false);
        Image_Edit_Prop_Box->setEnabled(true);
        ListData.clear();
        Create_List(Crop_Input_Path);
        reloadTable();
    } else if (input == 1) {
        crop_num = 0;
        crop_btn->setVisible(true);
        crop_all_btn->setVisible(true);
        Image_Edit_Prop_Box->setEnabled(true);
        ListData.clear();
        const QDir dir(Trim_Str(folder_path->text()));
        const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& info : entries)
            if (Is_Allowed_Image_File(info.filePath()))
                Create_List(info.filePath());
        reloadTable();
        if (ListData.isEmpty()) {
            Back_Btn_Clicked();
            Show_MessageBox(QStringLiteral("The selected folder does not contains any image with supported extension."));
            return false;
        }
    } else {
        crop_btn->setVisible(false);
        crop_all_btn->setVisible(crop_direct != 2);
        ListData.clear();
        Load_file_Func(chosenSeries());
        if (ListData.isEmpty()) {
            Back_Btn_Clicked();
            Show_MessageBox(QStringLiteral("The selected series does not contains any image with supported extension."));
            return false;
        }
        if (crop_direct == 0) {
            const bool replace = batch_matrix->checkedId() == 1;
            if (!Show_YES_NO_MessageBox(replace ? kReplaceSeriesQuestion : kNewSeriesQuestion))
                return false;
        }
    }
    Next_Btn->setEnabled(false);
    Back_Btn->setEnabled(true);
    screens->setCurrentWidget(Crop_Screen_Box);
    Mark_List_New_Selection(0);
    if (cropping_option_matrix->checkedId() == 0)
        Prepare_Selection();
    return true;
}

// ---------------------------------------------------------------- cropping

bool Cropping_Tool::Crop_Image_Function(const QString&)
{
    const bool direct = crop_direct == 1 || crop_direct == 2;
    CropInput in;
    if (Is_Main_Thread())
        in = snapshot();
    else
        onMain(*m_job, [&] { in = snapshot(); });
    return cropAndWrite(in, direct ? Crop_Direct_Path : QString(), !direct, *m_job);
}

void Cropping_Tool::Crop_Single_Image_Clicked()
{
    try {
        if (m_jobRunning)
            return;   // the batch in work keeps its control
        if (User_Picture.isNull()) {
            Show_MessageBox(QStringLiteral("There is no image to crop."));
            return;
        }
        m_job = New_Job_Control();
        if (cropping_option_matrix->checkedId() == 0) {
            if (!canvasController->hasSelectors() || !canvasController->currentSelector()) {
                Show_MessageBox(QStringLiteral("Please select area to crop."));
                return;
            }
            for (MSSSelector* s : canvasController->selectors())
                Crop_Rect = s->frame();
        }
        if (!Create_Folder(Crop_Output_Path)) {
            Show_MessageBox(unable_saving_Msg);
            return;
        }
        Show_Create_Modeless_plz_wt();
        const bool written = Crop_Image_Function(QStringLiteral("S"));
        Hide_Destroy_Modeless_plz_wt();
        if (m_job->Stop_Processing_Now || !written)
            return;
        m_job->Export_File_Path = croped_file;
        m_job->Export_File_Message = kCropped;
        showAfterCropBox();
        if (!m_job->Stop_Processing_Now && input_option_matrix->checkedId() == 0)
            Back_Btn_Clicked();
    } catch (const std::exception& e) {
        Hide_Destroy_Modeless_plz_wt();
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void Cropping_Tool::Crop_Direct_Image_Clicked()
{
    try {
        if (m_jobRunning)
            return;
        m_job = New_Job_Control();
        if (cropping_option_matrix->checkedId() == 0) {
            if (!canvasController->hasSelectors() || !canvasController->currentSelector()) {
                Show_MessageBox(QStringLiteral("Please select area to crop."));
                return;
            }
            for (MSSSelector* s : canvasController->selectors())
                Crop_Rect = s->frame();
        }
        if (crop_direct == 1) {
            Crop_Output_Path = Folders.Cropped_Img_Path;
            if (!Create_Folder(Crop_Output_Path)) {
                Show_MessageBox(unable_saving_Msg);
                return;
            }
            Crop_Direct_Path = Check_Exist_Path_and_Create_New(
                Path_Join(Folders.Cropped_Img_Path, QFileInfo(Crop_Input_Path).fileName()));
            Show_Create_Modeless_plz_wt();
            raise();
            const bool written = Crop_Image_Function(QStringLiteral("S"));
            Hide_Destroy_Modeless_plz_wt();
            if (!written) {
                Crop_Direct_Path.clear();
                return;
            }
            m_job->Export_File_Message = kCropped;
            done(1);
            return;
        }
        if (crop_direct == 2) {
            if (!Show_YES_NO_MessageBox(kNewSeriesQuestion))
                return;
            Crop_Output_Path = Folders.Cropped_Img_Path;
            checkRow(batch_matrix, 0);
            joinWorker();
            m_jobRunning = true;
            m_workerFinished = false;
            m_worker = std::thread([this] { Crop_All_Thread(); m_workerFinished = true; });
        }
    } catch (const std::exception& e) {
        Hide_Destroy_Modeless_plz_wt();
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void Cropping_Tool::Crop_All_Thread()
{
    int failures = 0;
    // The job's control for the whole run (the window makes a new one for
    // each job before the worker starts).
    const Job_Control_Ptr control = m_job;
    Job_Control& job = *control;
    try {
        bool bySelection = true, seriesInput = false, replace = false;
        QString seriesName;
        onMain(job, [&] {
            bySelection = cropping_option_matrix->checkedId() == 0;
            const std::vector<MSSSelector*> all = canvasController->selectors();
            if (bySelection && !all.empty())
                Crop_Rect = all.back()->frame();
            seriesInput = input_option_matrix->checkedId() == 2;
            seriesName = chosenSeries();
            replace = batch_matrix->checkedId() == 1;
            list_count = int(ListData.size());
        });
        if (!Create_Folder(Crop_Output_Path)) {
            Show_MessageBox(unable_saving_Msg);
            m_jobRunning = false;
            return;
        }
        job.show_count = list_count;
        job.curr_card_count = 0;

        // The new series is written whole at the end (atomically): a stopped
        // replace keeps the old one.
        QString newSeries;
        QStringList seriesLines;
        if (seriesInput)
            newSeries = chooseNewSeries(seriesName, replace);

        onMain(job, [&] {
            showProgress();
            if (MSSSelector* s = canvasController->currentSelector())
                s->Set_selector_show_or_not(false);
        });

        cropEachPicture(job, bySelection, seriesInput, failures, seriesLines);
        const bool stopped = job.Stop_Processing_Now;
        crop_failures = failures;

        if (seriesInput)
            keepNewSeries(newSeries, seriesLines, replace, stopped);

        onMain(job, [&] {
            // The list of series may have grown; the combo keeps its choice.
            if (seriesInput)
                refillSeriesCombo(camera_list->currentIndex() > 0 ? camera_list->currentText() : QString());
            if (bySelection)
                if (MSSSelector* s = canvasController->currentSelector())
                    s->Set_selector_show_or_not(true);
            hideProgress();
            canvas->update();
        });
        job.Export_File_Message = kCropped;
        job.Export_File_Path = Crop_Output_Path;

        reportCropAll(job, failures, stopped);
    } catch (const std::exception& e) {
        onMain(job, [this] { hideProgress(); });
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
    m_jobRunning = false;
}

// The name of the series the run makes (or replaces).
QString Cropping_Tool::chooseNewSeries(const QString& seriesName, bool replace)
{
    QString newSeries;
    if (replace) {
        newSeries = Series_Exists(seriesName) ? QFileInfo(Series_File_Path(seriesName)).completeBaseName()
                                              : seriesName;
    } else {
        const QString clean = Remove_Reserve_Char_In_File_Name(seriesName);
        newSeries = Series_Exists(clean) ? Series_Keep_Both_Name(clean) : clean;
    }
    if (crop_direct == 2) {
        Crop_Direct_Series = newSeries;
        Crop_Output_Path = Path_Join(Crop_Output_Path, newSeries);
        Create_Folder(Crop_Output_Path);
    }
    return newSeries;
}

// Crops every picture of the list in turn, until the job is stopped.
void Cropping_Tool::cropEachPicture(Job_Control& job, bool bySelection, bool seriesInput, int& failures,
                                    QStringList& seriesLines)
{
    for (int i = 0; i < list_count && !job.Stop_Processing_Now; ++i) {
        job.curr_card_count = i + 1;
        QString directName;
        if (crop_direct == 2) {
            directName = Check_Exist_Path_and_Create_New(
                Path_Join(Crop_Output_Path, QFileInfo(Get_Item_Text(i)).fileName()));
            Crop_Direct_Path = directName;
        }
        CropInput in;
        onMain(job, [&] {
            m_batchLoading = true;
            Mark_List_New_Selection(i);
            m_batchLoading = false;
            if (!bySelection) {
                if (MSSSelector* s = canvasController->currentSelector())
                    s->Set_selector_show_or_not(false);
            } else if (MSSSelector* s = canvasController->currentSelector()) {
                // Loading may have moved the selection onto a smaller picture.
                Crop_Rect = s->frame();
            }
            in = snapshot();
        });
        if (job.Stop_Processing_Now)
            break;
        const bool written = cropAndWrite(in, directName, crop_direct == 0, job);
        if (!written) {
            if (!job.Stop_Processing_Now)
                ++failures;
            continue;
        }
        if (seriesInput)
            seriesLines << croped_file;
    }
}

// Writes the new series, or keeps the old one.
void Cropping_Tool::keepNewSeries(const QString& newSeries, const QStringList& seriesLines, bool replace,
                                  bool stopped)
{
    bool kept = true;
    if ((replace && stopped) || seriesLines.isEmpty()) {
        // A stopped replace keeps the old series; nothing written makes no new one.
        kept = false;
    } else if (!Write_Series_File(newSeries, seriesLines)) {
        Show_MessageBox(QStringLiteral("Error in series file accessing."));
        kept = false;
    }
    if (!kept && crop_direct == 2)
        Crop_Direct_Series.clear();
}

// What the run did, said on the GUI thread, and the window it leaves open.
void Cropping_Tool::reportCropAll(Job_Control& job, int failures, bool stopped)
{
    onMain(job, [&] {
        if (failures > 0 && !stopped)
            Show_MessageBox(QStringLiteral("%1 of %2 pictures could not be cropped.").arg(failures).arg(list_count));
        if (crop_direct == 2) {
            done(Crop_Direct_Series.isEmpty() ? 0 : 1);
            return;
        }
        if (!stopped) {
            if (failures == 0)
                showAfterCropBox();
            Back_Btn_Clicked();
        }
    });
}
