// The crop wizard asks before a batch replaces the pictures of a series or
// makes a new series: No leaves the wizard on its first screen and every
// series file as it was, with nothing written.
#include "ImageToolsSupport.h"

#include "data/SeriesStore.h"
#include "imagetools/crop/Cropping_Tool.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStackedWidget>
#include <gtest/gtest.h>

using namespace imgtest;

TEST(CropConfirmations, ABatchOverASeriesAsksAndNoChangesNothing)
{
    Temp_Folders dirs;
    Boxes boxes([](const QString& text) { return text.startsWith(QLatin1String("This action will")) ? 1 : 0; });
    Dialogs dialogs;
    const QString in = dirs.mkdir("in");
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(QColor(40, 90, 200));
    ASSERT_TRUE(writeFile(in + "/a.png", encode(picture, "png")));
    ASSERT_TRUE(writeFile(Series_File_Path("S"), (in + "/a.png\n").toUtf8()));
    const QByteArray before = [] {
        QFile f(Series_File_Path("S"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const struct {
        int batch;
        const char* question;
    } cases[] = {
        {1, "This action will replace selected batch series items with all new cropped images.\nAre you sure you want "
            "to continue?"},
        {0, "This action will create new batch series with all new cropped images.\nAre you sure you want to "
            "continue?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.batch);
        const QString out = dirs.mkdir(QStringLiteral("out%1").arg(c.batch));
        Cropping_Tool tool;
        ASSERT_TRUE(tool.Reset_For_Open(0, QString()));
        tool.input_option_matrix->button(2)->setChecked(true);
        tool.camera_list->setCurrentIndex(tool.camera_list->findText("S"));
        tool.batch_matrix->button(c.batch)->setChecked(true);
        tool.output_path->setText(out);
        tool.OK_Btn_Clicked();
        EXPECT_TRUE(boxes.texts().contains(QString::fromLatin1(c.question))) << boxes.texts().join('|').toStdString();
        EXPECT_NE(tool.screens->currentWidget(), tool.Crop_Screen_Box) << "No stays on the first screen";
        EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());
        QFile f(Series_File_Path("S"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before);
        EXPECT_FALSE(QFileInfo::exists(Series_File_Path("S (1)")));
    }
}
