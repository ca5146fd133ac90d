// The crop wizard on real files: names, full-resolution crops, resizing,
// batches over folders and series with the series files they write, the
// direct crops of picture items, and the first screen's checks.
#include "ImageToolsSupport.h"

#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "data/SeriesStore.h"
#include "imagetools/crop/CropOperations.h"
#include "imagetools/crop/Cropping_Tool.h"
#include "imagetools/picture/PictureDecoder.h"
#include "imagetools/selection/MSSCanvas.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace imgtest;

namespace {

// A picture with detail at every pixel, so a crop of an enlarged preview
// would not match a crop of the file.
QImage detailed(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb(x & 255, y & 255, (x * 7 + y * 13) & 255);
    }
    return img;
}

QString writePicture(const QString& path, const QImage& img, const char* format = "png")
{
    EXPECT_TRUE(writeFile(path, encode(img, format)));
    return path;
}

void writeSeries(const QString& name, const QStringList& lines)
{
    QByteArray text;
    for (const QString& l : lines)
        text += l.toUtf8() + '\n';
    ASSERT_TRUE(writeFile(Series_File_Path(name), text));
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void choose(QButtonGroup* group, int row)
{
    group->button(row)->setChecked(true);
}

void chooseSeries(Cropping_Tool& tool, const QString& name)
{
    tool.camera_list->setCurrentIndex(tool.camera_list->findText(name));
}

} // namespace

TEST(CropWizard, SingleCropsOfOnePictureAreNamedWithARunningCount)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs;
    const QString tree = writePicture(dirs.path("tree.png"), detailed(600, 400));
    const QString out = dirs.mkdir("out");
    Cropping_Tool tool;
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    EXPECT_EQ(tool.screens->currentWidget(), tool.Main_Screen_Box);
    tool.file_path->setText(tree);
    tool.output_path->setText(out);
    for (int i = 0; i < 3; ++i) {
        tool.OK_Btn_Clicked();
        ASSERT_EQ(tool.screens->currentWidget(), tool.Crop_Screen_Box) << boxes.texts().join('|').toStdString();
        tool.Crop_Single_Image_Clicked();
        // A single picture goes back to the first screen after its crop.
        EXPECT_EQ(tool.screens->currentWidget(), tool.Main_Screen_Box);
    }
    for (const char* name : {"tree.JPG", "tree_1.JPG", "tree_2.JPG"})
        EXPECT_TRUE(QFileInfo::exists(dirs.path(QStringLiteral("out/") + name))) << name;
    EXPECT_EQ(dialogs.afterExportBoxes, 3);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join('|').toStdString();
    // The default selection of 100 x 100 view pixels over a picture shown at 0.93.
    const QSize cropped = Decode_Picture_File(dirs.path("out/tree.JPG"), 0).image.size();
    EXPECT_NEAR(cropped.width(), 107, 1);
    EXPECT_NEAR(cropped.height(), 107, 1);
}

TEST(CropWizard, CropsAreCutFromTheFullResolutionPicture)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs;
    const QImage original = detailed(4000, 3000);
    const QString big = writePicture(dirs.path("big.png"), original);
    Cropping_Tool tool;
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    tool.file_path->setText(big);
    tool.output_path->setText(dirs.mkdir("out"));
    tool.output_format_combo->setCurrentIndex(2);  // PNG: lossless, pixels comparable
    tool.OK_Btn_Clicked();
    ASSERT_EQ(tool.User_Picture.size(), QSize(800, 600));
    EXPECT_EQ(tool.User_Picture_Full, QSize(4000, 3000));
    MSSSelector* s = tool.canvasController->currentSelector();
    ASSERT_TRUE(s);
    s->Set_Selector_frame(QRectF(100, 50, 200, 150));
    tool.Crop_Single_Image_Clicked();
    const QImage crop = Decode_Picture_File(dirs.path("out/big.PNG"), 0).image;
    // The view shows 800 x 600 at 400/600; the selection covers 750, 375, 1500 x 1125 of the file.
    ASSERT_EQ(crop.size(), QSize(1500, 1125));
    EXPECT_EQ(crop.convertToFormat(QImage::Format_RGB32), original.copy(750, 375, 1500, 1125));
}

TEST(CropWizard, ResizingKeepsProportionsWhenAsked)
{
    EXPECT_EQ(Crop_Resize_Size(QSizeF(400, 200), 100, 100, true), QSizeF(100, 50));
    EXPECT_EQ(Crop_Resize_Size(QSizeF(400, 200), 100, 100, false), QSizeF(100, 100));
    EXPECT_EQ(Crop_Resize_Size(QSizeF(40, 20), 100, 100, true), QSizeF(100, 50));

    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs;
    const QString pic = writePicture(dirs.path("wide.png"), detailed(400, 200));
    Cropping_Tool tool;
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    tool.file_path->setText(pic);
    tool.output_path->setText(dirs.mkdir("out"));
    tool.output_format_combo->setCurrentIndex(1);  // BMP
    tool.OK_Btn_Clicked();
    choose(tool.cropping_option_matrix, 1);
    tool.cropping_option_CellClick(1);
    EXPECT_FALSE(tool.canvasController->currentSelector()->isShown());
    tool.width_Stepper->setValue(100);
    tool.height_Stepper->setValue(100);
    tool.aspect_ratio_chk->setChecked(true);
    tool.Crop_Single_Image_Clicked();
    ASSERT_TRUE(QFileInfo::exists(dirs.path("out/wide.BMP")));
    EXPECT_EQ(Decode_Picture_File(dirs.path("out/wide.BMP"), 0).image.size(), QSize(100, 50));
}

// The size is typed into the width and height fields as a user does; the
// written picture has that width and that height (a wide picture and a
// narrow size, so a swap shows), fitted inside them when proportions are kept.
TEST(CropWizard, ResizingGivesTheWidthAndHeightTyped)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs;
    const QString pic = writePicture(dirs.path("wide.png"), detailed(400, 200));
    Cropping_Tool tool;
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    tool.file_path->setText(pic);
    tool.output_path->setText(dirs.mkdir("out"));
    tool.output_format_combo->setCurrentIndex(2);  // PNG
    const struct {
        const char* width;
        const char* height;
        bool keep;
        QSize written;
    } cases[] = {
        {"150", "40", false, QSize(150, 40)},
        {"300", "60", true, QSize(120, 60)},    // fitted by the height
        {"90", "500", true, QSize(90, 45)},     // fitted by the width
        {"800", "1000", true, QSize(800, 400)}, // enlarged
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.keep ? " kept" : ""));
        tool.OK_Btn_Clicked();
        ASSERT_EQ(tool.screens->currentWidget(), tool.Crop_Screen_Box) << boxes.texts().join('|').toStdString();
        choose(tool.cropping_option_matrix, 1);
        tool.cropping_option_CellClick(1);
        for (const auto& [field, text] : {std::pair{tool.width_Text, c.width}, std::pair{tool.height_Text, c.height}}) {
            field->selectAll();
            QTest::keyClicks(field, QString::fromLatin1(text));
            EXPECT_EQ(field->text(), QString::fromLatin1(text));
        }
        tool.aspect_ratio_chk->setChecked(c.keep);
        tool.Crop_Single_Image_Clicked();
        const QString written = dirs.path(n == 0 ? QStringLiteral("out/wide.PNG") : QStringLiteral("out/wide_%1.PNG").arg(n));
        ++n;
        ASSERT_TRUE(QFileInfo::exists(written)) << boxes.texts().join('|').toStdString();
        EXPECT_EQ(Decode_Picture_File(written, 0).image.size(), c.written);
    }
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join('|').toStdString();
}

TEST(CropWizard, SizeFieldsAndFirstScreenChecks)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs;
    Cropping_Tool tool;
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    tool.width_Text->setText("0");
    tool.Size_Text_Changed(tool.width_Text);
    EXPECT_EQ(tool.width_Text->text(), "1");
    tool.width_Text->setText("123456");
    tool.Size_Text_Changed(tool.width_Text);
    EXPECT_EQ(tool.width_Text->text(), "10000");
    EXPECT_EQ(tool.width_Stepper->value(), 10000);

    // The first failing check alone is reported, in order.
    tool.OK_Btn_Clicked();
    choose(tool.input_option_matrix, 1);
    tool.folder_path->setText(dirs.mkdir("empty"));
    tool.OK_Btn_Clicked();
    tool.output_path->setText(dirs.mkdir("out"));
    choose(tool.output_option_matrix, 1);
    tool.output_custom_name->setText("  ");
    tool.OK_Btn_Clicked();
    tool.output_custom_name->setText("Untitled");
    dirs.mkdir("empty/sub");
    writeFile(dirs.path("empty/notes.txt"), "x");
    tool.OK_Btn_Clicked();
    EXPECT_EQ(boxes.texts(), QStringList({"Please select input image file path.",
                                          "Please select output folder path.",
                                          "Please select output file custom name.",
                                          "The selected folder does not contains any image with supported extension."}));
    EXPECT_EQ(tool.screens->currentWidget(), tool.Main_Screen_Box);

    // Custom names are used as typed, but never lead out of the output folder.
    EXPECT_EQ(Crop_Output_Name("/o", " my name ", 0, 0), "/o/ my name .JPG");
    EXPECT_EQ(Crop_Output_Name("/o", "../x", 2, 3), "/o/.._x_2.TIFF");
    EXPECT_EQ(Check_Exist_Path_and_Create_New(dirs.path("out/free.jpg")), dirs.path("out/free.JPG"));
    writeFile(dirs.path("out/taken.JPG"), "x");
    writeFile(dirs.path("out/taken (1).JPG"), "x");
    EXPECT_EQ(Check_Exist_Path_and_Create_New(dirs.path("out/taken.jpg")), dirs.path("out/taken (2).JPG"));
}

TEST(CropWizard, FolderBatchCountsFromTheFirstNameAndReportsPicturesItCouldNotRead)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs;
    const QString in = dirs.mkdir("in");
    writePicture(in + "/a.png", detailed(300, 200));
    writePicture(in + "/b.JPG", detailed(300, 200), "jpg");
    writePicture(in + "/c.png", detailed(300, 200));
    writeFile(in + "/d.txt", "not listed");
    Cropping_Tool tool;
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    choose(tool.input_option_matrix, 1);
    tool.folder_path->setText(in);
    tool.output_path->setText(dirs.mkdir("out"));
    tool.OK_Btn_Clicked();
    ASSERT_EQ(tool.ListData.size(), 3);
    EXPECT_EQ(tool.ListData[1].value("IMG_NAME"), "b.JPG");
    tool.Crop_All_Clicked();
    tool.Wait_For_Job();
    for (const char* name : {"a.JPG", "b_1.JPG", "c_2.JPG"})
        EXPECT_TRUE(QFileInfo::exists(dirs.path(QStringLiteral("out/") + name))) << name;
    EXPECT_EQ(dialogs.afterExportBoxes, 1);
    EXPECT_EQ(tool.Job()->Export_File_Path, dirs.path("out"));
    EXPECT_EQ(tool.Job()->show_count.load(), 3);
    EXPECT_EQ(tool.Job()->curr_card_count.load(), 3);

    // A damaged picture is not cropped, and the job says so instead of "successfully".
    const QByteArray jpeg = encode(detailed(300, 200), "jpg");
    writeFile(in + "/e.jpg", jpeg.left(jpeg.size() / 3));
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    choose(tool.input_option_matrix, 1);
    tool.folder_path->setText(in);
    tool.output_path->setText(dirs.mkdir("out2"));
    tool.OK_Btn_Clicked();
    ASSERT_EQ(tool.ListData.size(), 4);
    tool.Crop_All_Clicked();
    tool.Wait_For_Job();
    EXPECT_TRUE(boxes.texts().contains("1 of 4 pictures could not be cropped.")) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(dialogs.afterExportBoxes, 1);
    EXPECT_FALSE(QFileInfo::exists(dirs.path("out2/e_3.JPG")));
}

TEST(CropWizard, SeriesBatchWritesANewSeriesOfThePathsWritten)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs;
    const QString in = dirs.mkdir("in");
    const QString a = writePicture(in + "/a.png", detailed(300, 200));
    const QString b = writePicture(in + "/b.png", detailed(300, 200));
    const QString c = writePicture(in + "/c.png", detailed(300, 200));
    writeFile(in + "/notes.txt", "x");
    writeSeries("S", {a, in + "/missing.png", b, in + "/notes.txt", in, c + " ", c});
    Cropping_Tool tool;
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    choose(tool.input_option_matrix, 2);
    chooseSeries(tool, "S");
    tool.output_path->setText(dirs.mkdir("out"));
    tool.OK_Btn_Clicked();
    ASSERT_EQ(tool.ListData.size(), 3);
    EXPECT_TRUE(boxes.texts().contains(
        "This action will create new batch series with all new cropped images.\nAre you sure you want to continue?"));
    tool.Crop_All_Clicked();
    tool.Wait_For_Job();
    const QString expected = dirs.path("out/a.JPG") + "\n" + dirs.path("out/b_1.JPG") + "\n" + dirs.path("out/c_2.JPG") + "\n";
    EXPECT_EQ(QString::fromUtf8(readBytes(Series_File_Path("S (1)"))), expected);
    for (const QString& line : expected.trimmed().split('\n'))
        EXPECT_TRUE(QFileInfo::exists(line)) << line.toStdString();
    // The old series is untouched and the combo lists the new one, keeping
    // the series cropped chosen.
    EXPECT_TRUE(readBytes(Series_File_Path("S")).startsWith(a.toUtf8()));
    EXPECT_GE(tool.camera_list->findText("S (1)"), 1);
    EXPECT_EQ(tool.camera_list->currentText(), "S");
}

// The wizard opened again, as a wizard or straight on a picture, starts with
// no series chosen, whatever was chosen when it closed: Next with the series
// input asks for one.
TEST(CropWizard, ReopenedTheWizardHasNoSeriesChosen)
{
    Temp_Folders dirs;
    Boxes boxes;
    const QString in = dirs.mkdir("in");
    const QString a = writePicture(in + "/a.png", detailed(300, 200));
    writeSeries("S", {a});
    writeSeries("T", {a});
    Cropping_Tool tool;
    std::function<void(Cropping_Tool&)> onShow;
    QStringList opened;
    const ModalRunner previous = Set_Modal_Runner([&](QDialog& d) {
        auto* wizard = qobject_cast<Cropping_Tool*>(&d);
        if (!wizard)
            return 1;
        opened << QStringLiteral("%1 | %2").arg(wizard->camera_list->currentIndex()).arg(wizard->camera_list->currentText());
        if (onShow)
            onShow(*wizard);
        return 0;
    });
    // Series input, "T" chosen, then Cancel.
    onShow = [&](Cropping_Tool& w) {
        w.input_option_matrix->button(2)->click();
        chooseSeries(w, "T");
        ASSERT_EQ(w.camera_list->currentText(), "T");
        w.Cancel_Btn->click();
    };
    tool.Open_Wnd();
    onShow = [&](Cropping_Tool& w) {
        w.input_option_matrix->button(2)->click();
        w.output_path->setText(dirs.mkdir("out"));
        w.Next_Btn->click();
        EXPECT_EQ(w.screens->currentWidget(), w.Main_Screen_Box);
        chooseSeries(w, "S");
    };
    tool.Open_Wnd();
    onShow = {};
    tool.Open_Wnd_Direct_To_Crop(a);
    Set_Modal_Runner(previous);
    EXPECT_EQ(opened, QStringList({"0 | <--Select-->", "0 | <--Select-->", "0 | <--Select-->"}));
    EXPECT_EQ(boxes.texts(), QStringList{"Please select batch series."});
}

TEST(CropWizard, AStoppedReplaceKeepsTheOldSeriesAndAStoppedNewSeriesKeepsWhatWasWritten)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs(QStringLiteral("cancel"));
    const QString in = dirs.mkdir("in");
    const QString a = writePicture(in + "/a.png", detailed(300, 200));
    const QString b = writePicture(in + "/b.png", detailed(300, 200));
    const QString c = writePicture(in + "/c.png", detailed(300, 200));
    writeSeries("S", {a, b, c, in + "/gone.png"});
    const QByteArray before = readBytes(Series_File_Path("S"));
    for (int replace : {1, 0}) {
        const QString out = dirs.mkdir(QStringLiteral("out%1").arg(replace));
        // The second picture's name is taken: its keep-or-replace box is answered Cancel.
        writeFile(out + "/b_1.JPG", "old");
        Cropping_Tool tool;
        ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
        choose(tool.input_option_matrix, 2);
        chooseSeries(tool, "S");
        choose(tool.batch_matrix, replace);
        tool.output_path->setText(out);
        tool.OK_Btn_Clicked();
        ASSERT_EQ(tool.ListData.size(), 3);
        tool.Crop_All_Clicked();
        tool.Wait_For_Job();
        EXPECT_TRUE(tool.Job()->Stop_Processing_Now.load());
        EXPECT_EQ(readBytes(out + "/b_1.JPG"), QByteArray("old"));
        EXPECT_FALSE(QFileInfo::exists(out + "/c_2.JPG"));
        // Stopped: no after-export box, still on the crop screen.
        EXPECT_EQ(dialogs.afterExportBoxes, 0);
        EXPECT_EQ(tool.screens->currentWidget(), tool.Crop_Screen_Box);
    }
    EXPECT_EQ(readBytes(Series_File_Path("S")), before);
    EXPECT_EQ(QString::fromUtf8(readBytes(Series_File_Path("S (1)"))), dirs.path("out0/a.JPG\n"));
    EXPECT_EQ(dialogs.keepReplaceBoxes, 2);
}

TEST(CropWizard, KeepWritesUnderANumberedNameThatTheSeriesCarries)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs(QStringLiteral("keep"));
    const QString in = dirs.mkdir("in");
    const QString a = writePicture(in + "/a.png", detailed(300, 200));
    // A series file from an older installation, its extension in capitals.
    ASSERT_TRUE(writeFile(Folders.Data_Folder_Path + "/T.TXT", a.toUtf8() + "\n"));
    const QString out = dirs.mkdir("out");
    writeFile(out + "/a.JPG", "old");
    Cropping_Tool tool;
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    choose(tool.input_option_matrix, 2);
    chooseSeries(tool, "T");
    choose(tool.batch_matrix, 1);
    tool.output_path->setText(out);
    tool.OK_Btn_Clicked();
    ASSERT_EQ(tool.ListData.size(), 1);
    tool.Crop_All_Clicked();
    tool.Wait_For_Job();
    EXPECT_EQ(readBytes(out + "/a.JPG"), QByteArray("old"));
    // Replaced in place: still one series, now listing the numbered name.
    EXPECT_EQ(QString::fromUtf8(readBytes(Folders.Data_Folder_Path + "/T.TXT")), out + "/a (1).JPG\n");
    EXPECT_EQ(MainWindowServices::Get_datasheet_File_Name_Array(), QStringList({"T"}));
}

TEST(CropWizard, DirectCropsOfPictureItems)
{
    Temp_Folders dirs;
    Boxes boxes;
    Dialogs dialogs;
    const QString in = dirs.mkdir("in");
    const QString tree = writePicture(in + "/tree.png", detailed(500, 300));

    Cropping_Tool tool;
    for (const char* expected : {"tree.PNG", "tree (1).PNG"}) {
        ASSERT_TRUE(tool.Reset_For_Open(1, tree));
        EXPECT_EQ(tool.screens->currentWidget(), tool.Crop_Screen_Box);
        EXPECT_FALSE(tool.Croping_option_Box->isVisibleTo(&tool));
        tool.setResult(0);
        tool.Crop_Direct_Image_Clicked();
        EXPECT_EQ(tool.result(), 1);
        EXPECT_EQ(tool.Crop_Direct_Path, Folders.Cropped_Img_Path + "/" + expected);
        EXPECT_TRUE(QFileInfo::exists(tool.Crop_Direct_Path));
    }

    // A series-bound item: the job writes a new series into a folder of its name.
    const QString twin = dirs.mkdir("in/other");
    const QString b = writePicture(in + "/b.jpg", detailed(300, 200), "jpg");
    const QString b2 = writePicture(twin + "/b.jpg", detailed(300, 200), "jpg");
    writeSeries("Pics", {tree, b, b2});
    ASSERT_TRUE(tool.Reset_For_Open(2, "Pics"));
    EXPECT_EQ(tool.ListData.size(), 3);
    tool.setResult(0);
    tool.Crop_Direct_Image_Clicked();
    tool.Wait_For_Job();
    EXPECT_EQ(tool.result(), 1);
    EXPECT_EQ(tool.Crop_Direct_Series, "Pics (1)");
    const QString folder = Folders.Cropped_Img_Path + "/Pics (1)";
    EXPECT_EQ(QString::fromUtf8(readBytes(Series_File_Path("Pics (1)"))),
              folder + "/tree.PNG\n" + folder + "/b.JPG\n" + folder + "/b (1).JPG\n");

    // A series without usable pictures: the wizard does not appear.
    writeSeries("Empty", {in + "/nothing.png"});
    EXPECT_FALSE(tool.Reset_For_Open(2, "Empty"));
    EXPECT_TRUE(boxes.texts().contains("The selected series does not contains any image with supported extension."));
}

namespace {

// Each showing and hiding of a window, with what `state` says then.
class Shown_Watch : public QObject {
public:
    Shown_Watch(QWidget* w, std::function<QString()> state) : m_state(std::move(state)) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            seen << QStringLiteral("shown | ") + m_state();
        else if (e->type() == QEvent::Hide)
            seen << QStringLiteral("hidden | ") + m_state();
        return false;
    }
    QStringList seen;

private:
    std::function<QString()> m_state;
};

} // namespace

// The crop of one picture runs under the wizard's own please-wait sheet,
// which no question is asked under, and the box after it offers to open the
// file written.
TEST(CropWizard, ASingleCropRunsUnderThePleaseWaitSheetAndOffersToOpenTheFile)
{
    Temp_Folders dirs;
    Boxes boxes;
    const QString tree = writePicture(dirs.path("tree.png"), detailed(300, 200));
    const QString out = dirs.mkdir("out");
    const QString written = dirs.path("out/tree.JPG");
    Cropping_Tool tool;
    ASSERT_NE(tool.plz_wait_Window, nullptr);
    EXPECT_EQ(tool.plz_wait_Window->parentWidget(), &tool) << "a sheet of the wizard";
    Shown_Watch watch(tool.plz_wait_Window, [&] {
        return tool.plz_wait_Window->modeless_msg_lbl->text() + " | " + QString::number(QFileInfo(written).size() > 100);
    });
    QStringList afterBox;
    int questions = 0;
    bool askedUnderTheSheet = false;
    const ModalRunner previous = Set_Modal_Runner([&](QDialog& d) {
        if (auto* box = qobject_cast<Open_Export_Log*>(&d))
            afterBox << box->_open_log_chk->text() + " | " + box->_open_log_message->text();
        if (auto* box = qobject_cast<Replcae_Confirm_Box*>(&d)) {
            ++questions;
            askedUnderTheSheet = askedUnderTheSheet || tool.plz_wait_Window->isVisible();
            box->Replace_Pressed();
            return d.result();
        }
        return 1;
    });
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    tool.file_path->setText(tree);
    tool.output_path->setText(out);
    tool.OK_Btn_Clicked();
    ASSERT_EQ(tool.screens->currentWidget(), tool.Crop_Screen_Box);
    tool.Crop_Single_Image_Clicked();
    const QString wait = QStringLiteral("It may take a while, Please wait..");
    EXPECT_EQ(watch.seen, QStringList({"shown | " + wait + " | 0", "hidden | " + wait + " | 1"}));
    EXPECT_EQ(afterBox, QStringList{"Open file. | Image has been cropped successfully."});

    // The same name again: the keep-or-replace question comes with the sheet down.
    watch.seen.clear();
    afterBox.clear();
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    tool.file_path->setText(tree);
    tool.output_path->setText(out);
    tool.OK_Btn_Clicked();
    tool.Crop_Single_Image_Clicked();
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(askedUnderTheSheet);
    EXPECT_FALSE(tool.plz_wait_Window->isVisible());
    EXPECT_EQ(afterBox.size(), 1);
    Set_Modal_Runner(previous);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join('|').toStdString();
}

// Nothing here shows pictures, PDF files or folders (the offscreen desktop
// launches nothing): the wizard's Help, its Open Output Folder and the box
// after a crop each say where the file or folder is.
TEST(CropWizard, WithoutAViewerEveryOpenCommandSaysWhereItIs)
{
    Temp_Folders dirs;
    Boxes boxes;
    ASSERT_TRUE(writeFile(dirs.path("resources/Help.pdf"), "%PDF-1.4"));
    const QString tree = writePicture(dirs.path("tree.png"), detailed(120, 80));
    const QString out = dirs.mkdir("out");
    struct Runner {
        ModalRunner previous = Set_Modal_Runner([](QDialog& d) {
            if (auto* box = qobject_cast<Open_Export_Log*>(&d)) {
                EXPECT_EQ(box->_open_log_chk->text(), "Open file.");
                box->OKPressed();
                return d.result();
            }
            return 1;
        });
        ~Runner() { Set_Modal_Runner(previous); }
    } runner;
    Cropping_Tool tool;
    ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
    tool.file_path->setText(tree);
    tool.output_path->setText(out);

    QPushButton* help = nullptr;
    for (QPushButton* b : tool.findChildren<QPushButton*>())
        if (b->text() == QLatin1String("Help"))
            help = b;
    ASSERT_NE(help, nullptr);
    help->click();
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts().last().contains("The user help is\n" + QDir::toNativeSeparators(dirs.path("resources/Help.pdf"))))
        << boxes.texts().last().toStdString();

    tool.OK_Btn_Clicked();
    ASSERT_EQ(tool.screens->currentWidget(), tool.Crop_Screen_Box);
    tool.Open_Folder_Btn->click();
    ASSERT_EQ(boxes.texts().size(), 2);
    EXPECT_TRUE(boxes.texts().last().contains("No file manager to show folders was found."));
    EXPECT_TRUE(boxes.texts().last().contains("The output folder is\n" + QDir::toNativeSeparators(out) + "\n"));

    tool.Crop_Single_Image_Clicked();
    const QString written = QDir::toNativeSeparators(dirs.path("out/tree.JPG"));
    ASSERT_TRUE(QFileInfo::exists(written));
    ASSERT_EQ(boxes.texts().size(), 3) << boxes.texts().join('|').toStdString();
    EXPECT_TRUE(boxes.texts().last().contains("No program to show JPG files was found."));
    EXPECT_TRUE(boxes.texts().last().contains("The exported file is\n" + written + "\n"));
}
