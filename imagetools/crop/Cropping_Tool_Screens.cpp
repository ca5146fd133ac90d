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

// ---------------------------------------------------------------- first screen

void Cropping_Tool::OK_Btn_Clicked()
{
    try {
        croped_file.clear();
        const int input = input_option_matrix->checkedId();
        QString chosen;
        if (input == 0) {
            chosen = Trim_Str(file_path->text());
            if (chosen.isEmpty()) {
                Show_MessageBox(QStringLiteral("Please select input image file path."));
                return;
            }
            setListVisible(false);
        } else if (input == 1) {
            chosen = Trim_Str(folder_path->text());
            if (chosen.isEmpty()) {
                Show_MessageBox(QStringLiteral("Please select input folder path."));
                return;
            }
            setListVisible(true);
        } else {
            chosen = chosenSeries();
            if (chosen.isEmpty()) {
                Show_MessageBox(QStringLiteral("Please select batch series."));
                return;
            }
            setListVisible(true);
        }
        Crop_Input_Path = chosen;
        Crop_Output_Path = Trim_Str(output_path->text());
        if (Crop_Output_Path.isEmpty()) {
            Show_MessageBox(QStringLiteral("Please select output folder path."));
            return;
        }
        if (output_option_matrix->checkedId() == 1 && Trim_Str(output_custom_name->text()).isEmpty()) {
            Show_MessageBox(QStringLiteral("Please select output file custom name."));
            return;
        }
        Load_for_Next_Screen();
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void Cropping_Tool::Back_Btn_Clicked()
{
    Next_Btn->setEnabled(true);
    Back_Btn->setEnabled(false);
    screens->setCurrentWidget(Main_Screen_Box);
    if (MSSSelector* s = canvasController->currentSelector())
        s->Set_selector_show_or_not(false);
}

void Cropping_Tool::Cancel_Btn_Clicked()
{
    if (m_jobRunning)
        return;
    done(0);
}

void Cropping_Tool::Close_Direct_Image_Clicked()
{
    Cancel_Btn_Clicked();
}

void Cropping_Tool::reject()
{
    // Closing while a job runs would leave the job without its window.
    if (m_jobRunning)
        return;
    QDialog::reject();
}

void Cropping_Tool::closeEvent(QCloseEvent* event)
{
    if (m_jobRunning) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Cropping_Tool::input_option_CellClick(int row)
{
    SetObjEnabled(File_Box, row == 0);
    SetObjEnabled(Folder_Box, row == 1);
    SetObjEnabled(Camera_Box, row == 2);
}

void Cropping_Tool::output_option_CellClick(int row)
{
    output_custom_name->setEnabled(row != 0);
}

void Cropping_Tool::File_Browse_Clicked()
{
    QStringList patterns;
    for (const QString& ext : Allowd_Image_fileTypes())
        patterns << QStringLiteral("*.") + ext << QStringLiteral("*.") + ext.toUpper();
    const QString path = Choose_Open_File(this, QStringLiteral("Choose a Picture"),
                                          QStringLiteral("Pictures (%1)").arg(patterns.join(' ')), file_path->text());
    if (!path.isEmpty())
        file_path->setText(path);
}

void Cropping_Tool::Folder_Browse_Clicked()
{
    const QString path = Choose_Folder(this, QStringLiteral("Choose a Folder of Pictures"), folder_path->text());
    if (!path.isEmpty())
        folder_path->setText(path);
}

void Cropping_Tool::Output_Browse_Clicked()
{
    const QString path = Choose_Folder(this, QStringLiteral("Choose the Output Folder"), output_path->text());
    if (!path.isEmpty())
        output_path->setText(path);
}

void Cropping_Tool::Open_Output_Folder_Clicked()
{
    const QString folder = Trim_Str(output_path->text());
    if (!folder.isEmpty())
        Open_With_Desktop(folder, QStringLiteral("The output folder"));
}

// ---------------------------------------------------------------- list

void Cropping_Tool::Load_file_Func(const QString& seriesName)
{
    try {
        bool ok = false;
        const QStringList lines = Read_Series_Values(seriesName, &ok);
        if (!ok)
            Show_NSLog_Message(QStringLiteral("The series %1 could not be read.").arg(seriesName));
        for (const QString& line : lines)
            if (Is_Allowed_Image_File(line))
                Create_List(line);
        reloadTable();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Cropping_Tool::Create_List(const QString& path)
{
    const QString trimmed = Trim_Str(path);
    if (trimmed.isEmpty())
        return;
    QMap<QString, QString> row;
    row.insert(QStringLiteral("SNO"), QString::number(ListData.size() + 1));
    row.insert(QStringLiteral("Image_Path"), trimmed);
    row.insert(QStringLiteral("IMG_NAME"), QFileInfo(trimmed).fileName());
    ListData.append(row);
}

void Cropping_Tool::reloadTable()
{
    const QSignalBlocker block(ColList);
    ColList->setRowCount(int(ListData.size()));
    static const char* keys[] = {"SNO", "IMG_NAME", "Image_Path"};
    for (int r = 0; r < ListData.size(); ++r)
        for (int c = 0; c < 3; ++c)
            ColList->setItem(r, c, new QTableWidgetItem(ListData[r].value(QString::fromLatin1(keys[c]))));
}

QString Cropping_Tool::Get_Item_Text(int row) const
{
    if (row < 0 || row >= ListData.size()) {
        Show_NSLog_Message(QStringLiteral("No picture in row %1.").arg(row));
        return QString();
    }
    return ListData[row].value(QStringLiteral("Image_Path"));
}

void Cropping_Tool::Mark_List_New_Selection(int row)
{
    if (row < 0 || row >= ListData.size())
        return;
    {
        const QSignalBlocker block(ColList);
        ColList->selectRow(row);
    }
    Crop_Input_Path = ListData[row].value(QStringLiteral("Image_Path"));
    Load_Image_File(Crop_Input_Path);
}

// ---------------------------------------------------------------- picture and selection

void Cropping_Tool::Load_Image_File(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        User_Picture = QImage();
        User_Picture_Full = QSize();
        Modified_image->setImage(QImage());
        return;
    }
    const DecodedPicture picture = Decode_Picture_File(path, Crop_Image_Size);
    if (!picture.ok()) {
        User_Picture = QImage();
        User_Picture_Full = QSize();
        Modified_image->setImage(QImage());
        Show_NSLog_Message(QStringLiteral("%1: %2").arg(path, picture.reason));
        if (!m_batchLoading)
            Show_MessageBox(Picture_Status_Message(picture.status));
        return;
    }
    User_Picture = picture.image;
    User_Picture_Full = picture.fullSize.isValid() ? picture.fullSize : picture.image.size();
    Modified_image->setFileURL(QUrl::fromLocalFile(path));
    Modified_image->setImage(User_Picture);

    if (cropping_option_matrix->checkedId() != 0)
        return;
    MSSCanvasController* c = canvasController.get();
    if (!c->hasSelectors() || !c->currentSelector())
        c->addSelectorWithFrame(QRectF(10, 10, 100, 100));
    MSSSelector* current = c->currentSelector();
    current->Set_selector_show_or_not(true);
    const QSizeF ratio = Modified_image->imageRatio();
    const QRectF f = current->frame();
    const QPointF origin(f.x() / ratio.width(), f.y() / ratio.height());
    const bool inside = origin.x() >= 0 && origin.y() >= 0 && origin.x() < User_Picture.width()
        && origin.y() < User_Picture.height();
    if (!inside) {
        const QRectF frame = c->canvasFrame();
        c->removeAllSelectorsFromCanvas();
        c->addSelectorWithFrame(QRectF(frame.width() - f.width(), frame.height() - f.height(), f.width(), f.height()));
        c->currentSelector()->Set_selector_show_or_not(true);
    }
    canvas->update();
}

void Cropping_Tool::Prepare_Selection()
{
    MSSCanvasController* c = canvasController.get();
    if (!c->hasSelectors() || !c->currentSelector())
        c->addSelectorWithFrame(QRectF(10, 10, 100, 100));
    for (MSSSelector* s : c->selectors())
        s->Set_selector_show_or_not(true);
    c->markAllSelected(true);
    const std::vector<MSSSelector*> all = c->selectors();
    if (MSSSelector* current = c->currentSelector()) {
        if (!all.empty())
            current->Set_Selector_frame(all.back()->frame());
        current->Set_selector_show_or_not(true);
    }
    canvas->update();
}

void Cropping_Tool::cropping_option_CellClick(int row)
{
    Modified_image->setImage(User_Picture);
    if (row == 0) {
        Prepare_Selection();
        cropping_wid_size->setEnabled(false);
    } else {
        for (MSSSelector* s : canvasController->selectors())
            s->Set_selector_show_or_not(false);
        if (MSSSelector* current = canvasController->currentSelector())
            current->Set_selector_show_or_not(false);
        cropping_wid_size->setEnabled(true);
    }
    canvas->update();
    Modified_image->update();
}

void Cropping_Tool::Image_reset_Button()
{
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to continue?")))
        Modified_image->setImage(User_Picture);
}

void Cropping_Tool::Width_Changed(bool fromStepper)
{
    if (fromStepper)
        width_Text->setText(QString::number(width_Stepper->value()));
    else
        width_Stepper->setValue(width_Text->text().toInt());
}

void Cropping_Tool::Height_Changed(bool fromStepper)
{
    if (fromStepper)
        height_Text->setText(QString::number(height_Stepper->value()));
    else
        height_Stepper->setValue(height_Text->text().toInt());
}

void Cropping_Tool::Size_Text_Changed(QLineEdit* field)
{
    const QString typed = Trim_Str(field->text());
    if (typed.isEmpty() || typed.toInt() == 0)
        field->setText(QStringLiteral("1"));
    if (typed.size() > 5)
        field->setText(field->text().left(5));
    if (field->text().toInt() > 10000)
        field->setText(QStringLiteral("10000"));
    QSpinBox* stepper = field == width_Text ? width_Stepper : height_Stepper;
    const QSignalBlocker block(stepper);
    stepper->setValue(field->text().toInt());
}
