#include "common/ScopedFolders.h"
#include "common/TestSupport.h"
#include "core/FakeMainWindow.h"
#include "core/model/LMNGraphic.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/ServiceInterfaces.h"
#include "core/util/SharedValues.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

#include <unistd.h>

namespace {

QImage checker(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, ((x + y) & 1) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return img;
}

using testsupport::readAll;
using testsupport::touch;

TEST(IncreaseDpi, RaisesPixelsAndKeepsPoints)
{
    const PtImage src(checker(100, 50), QSizeF(100, 50));
    const PtImage hi = MainWindowServices::Increase_DPI(src, 300);
    ASSERT_FALSE(hi.isNull());
    EXPECT_EQ(hi.raster().size(), QSize(417, 209));
    EXPECT_EQ(hi.size(), QSizeF(100, 50));
    EXPECT_EQ(MainWindowServices::Increase_DPI(src, 72).raster().size(), QSize(100, 50));
    EXPECT_EQ(MainWindowServices::Increase_DPI(PtImage(checker(3, 3), QSizeF(10.5, 0.2)), 72).raster().size(),
              QSize(11, 1));
    // Nearest neighbour: a module stays pure black or white.
    const QRgb p = hi.raster().pixel(200, 100);
    EXPECT_TRUE(qGray(p) == 0 || qGray(p) == 255);
    EXPECT_TRUE(MainWindowServices::Increase_DPI(PtImage(), 300).isNull());
    EXPECT_TRUE(MainWindowServices::Increase_DPI(src, -5).isNull());
    // A hostile DPI does not try to allocate gigabytes.
    EXPECT_TRUE(MainWindowServices::Increase_DPI(src, 1.0e6).isNull());
}

TEST(SaveGenImage, WritesTheFormatTheExtensionNamesAtomically)
{
    QTemporaryDir dir;
    const PtImage img(checker(40, 40), QSizeF(20, 20));  // 144 dpi
    const struct { const char* name; QByteArray magic; } cases[] = {
        {"x.jpg", QByteArray("\xFF\xD8\xFF", 3)}, {"x.png", QByteArray("\x89PNG", 4)},
        {"x.pdf", QByteArray("%PDF")},             {"x.PDF", QByteArray("%PDF")},
        {"x.tiff", QByteArray("II*\0", 4)},         {"x.bmp", QByteArray("BM")},
        {"x.gif", QByteArray("GIF8")},              {"x.unknown", QByteArray("\x89PNG", 4)},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(MainWindowServices::Save_gen_image(img, path)) << c.name;
        const QByteArray bytes = readAll(path);
        EXPECT_TRUE(bytes.startsWith(c.magic)) << c.name;
        if (c.magic.startsWith("%PDF")) {
            // One page of the image's size in points.
            EXPECT_TRUE(QString::fromLatin1(bytes).contains(
                QRegularExpression(R"(/MediaBox \[ ?0 0 20(\.0+)? 20(\.0+)? ?\])")))
                << c.name;
            continue;
        }
        // The pixels themselves, and the resolution where the format keeps one.
        QImage back = QImage::fromData(bytes);
        ASSERT_EQ(back.size(), QSize(40, 40)) << c.name;
        back = back.convertToFormat(QImage::Format_RGB32);
        int wrong = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) wrong += std::abs(qGray(back.pixel(x, y)) - qGray(img.raster().pixel(x, y))) > 100;
        EXPECT_EQ(wrong, 0) << c.name;
        if (!c.magic.startsWith("GIF")) {
            EXPECT_NEAR(back.dotsPerMeterX() * 0.0254, 144.0, 1.0) << c.name;
        }
    }

    // Replacing goes through a new file renamed over the old one: a second
    // name of the old file still holds the old bytes.
    const QString png = dir.filePath("x.png");
    const QString alias = dir.filePath("alias.keep");
    ASSERT_EQ(::link(QFile::encodeName(png).constData(), QFile::encodeName(alias).constData()), 0);
    const QByteArray oldPng = readAll(png);
    ASSERT_TRUE(MainWindowServices::Save_gen_image(PtImage(checker(8, 8), QSizeF(8, 8)), png));
    EXPECT_EQ(readAll(alias), oldPng);
    EXPECT_NE(readAll(png), oldPng);
    QFile::remove(alias);

    // Replacing: a failed write keeps the old file; no temporary file is left.
    const QByteArray before = readAll(dir.filePath("x.jpg"));
    EXPECT_FALSE(MainWindowServices::Save_gen_image(PtImage(), dir.filePath("x.jpg")));
    EXPECT_EQ(readAll(dir.filePath("x.jpg")), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), int(std::size(cases)));
}

TEST(NewItemPlacement, CascadeFollowsTheWorkedValues)
{
    FakeMainWindow win;
    win.last_ctrl_X = win.last_ctrl_Y = 10.0f;
    win.last_ctrl_X_Exeed_Count = win.last_ctrl_Y_Exeed_Count = 2.0f;
    win.canvasBounds = QRectF(0, 0, 300, 1000);
    QList<double> xs;
    for (int i = 0; i < 13; ++i) xs << win.Control_New_Point("B").x();
    EXPECT_EQ(xs, (QList<double>{30, 50, 70, 90, 110, 130, 150, 170, 190, 210, 230, 12, 32}));
    EXPECT_FLOAT_EQ(win.last_ctrl_X_Exeed_Count, 7.0f);
    // Later wraps step in by 5 each time.
    while (win.Control_New_Point("B").x() != 17.0) {}
    while (win.Control_New_Point("B").x() != 22.0) {}

    // A canvas of no width: always 12, the indent stays at 7.
    win.last_ctrl_X = win.last_ctrl_Y = 10.0f;
    win.last_ctrl_X_Exeed_Count = win.last_ctrl_Y_Exeed_Count = 2.0f;
    win.canvasBounds = QRectF();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(win.Control_New_Point("F"), QPointF(12, 12));
    EXPECT_FLOAT_EQ(win.last_ctrl_X_Exeed_Count, 7.0f);
    EXPECT_FLOAT_EQ(win.last_ctrl_Y_Exeed_Count, 7.0f);
}

TEST(NewItemPlacement, FrontSideStepsByTheItemCount)
{
    FakeMainWindow win;
    win.canvasBounds = QRectF(0, 0, 1000, 1000);
    win.controlCount = 35;
    win.last_ctrl_X = win.last_ctrl_Y = 10.0f;
    EXPECT_EQ(win.Control_New_Point("F"), QPointF(45, 45));
    EXPECT_EQ(win.Control_New_Point("B"), QPointF(65, 65));
    win.controlCount = 3;
    EXPECT_EQ(win.Control_New_Point("F"), QPointF(85, 85));  // never less than 20

    // A failing query answers (10, 10) and leaves the cascade where it was.
    win.throwOnQuery = [] { throw std::runtime_error("no canvas"); };
    EXPECT_EQ(win.Control_New_Point("F"), QPointF(10, 10));
    win.throwOnQuery = nullptr;
    EXPECT_EQ(win.Control_New_Point("B"), QPointF(105, 105));
}

TEST(ResourcePaths, ForeignInstallationPathsAreRebasedOntoOurs)
{
    FakeMainWindow win;
    QTemporaryDir res, user, other;
    testsupport::Scoped_Folders folders;
    Folders.Resource_Path = res.path();
    Folders.Created_Resource_Path = user.path();
    ASSERT_TRUE(QDir().mkpath(user.filePath("LibraryImage")));
    ASSERT_TRUE(QDir().mkpath(res.filePath("Background")));
    touch(user.filePath("LibraryImage/mine.png"));
    touch(res.filePath("sign_sample.png"));
    touch(res.filePath("Background/sky.png"));
    touch(res.filePath("sky.png"));
    EXPECT_EQ(win.Check_Path_For_App_Resources("/Applications/Other.app/Contents/Resources/Background/a.png"),
              res.path() + "/Background/a.png");
    EXPECT_EQ(win.Check_Path_For_App_Resources("/x/Old.app/Contents/Resources/LibraryImage/mine.png"),
              user.path() + "/LibraryImage/mine.png");
    EXPECT_EQ(win.Check_Path_For_App_Resources("/home/me/pictures/a.png"), "/home/me/pictures/a.png");
    EXPECT_EQ(win.Check_Path_For_App_Resources(""), "");

    // Another installation on Linux, or a build tree's resources: the
    // longest ending that is one of ours wins.
    EXPECT_EQ(Rebase_Picture_Path("/usr/share/zorv-label/sign_sample.png"), res.filePath("sign_sample.png"));
    EXPECT_EQ(Rebase_Picture_Path("/opt/zl/share/zorv-label/Background/sky.png"), res.filePath("Background/sky.png"));
    EXPECT_EQ(Rebase_Picture_Path("/home/dev/zorv/resources/Background/sky.png"), res.filePath("Background/sky.png"));
    EXPECT_EQ(Rebase_Picture_Path("/home/bob/.local/share/" + QFileInfo(user.path()).fileName()
                                  + "/LibraryImage/mine.png"),
              user.filePath("LibraryImage/mine.png"))
        << "another user's data folder";
    // Nothing of ours by that name, or a folder of no installation: unchanged.
    EXPECT_EQ(Rebase_Picture_Path("/usr/share/zorv-label/gone.png"), "/usr/share/zorv-label/gone.png");
    EXPECT_EQ(Rebase_Picture_Path("/home/me/Background/sky.png"), "/home/me/Background/sky.png");
    // A user's own existing folder named "resources" is left alone.
    ASSERT_TRUE(QDir().mkpath(other.filePath("resources")));
    touch(other.filePath("resources/sky.png"));
    EXPECT_EQ(Rebase_Picture_Path(other.filePath("resources/sky.png")), other.filePath("resources/sky.png"));
    // Our own paths stay as they are.
    EXPECT_EQ(Rebase_Picture_Path(res.filePath("Background/sky.png")), res.filePath("Background/sky.png"));

    // Shipped pictures are stored relative to the resource folder and read back.
    EXPECT_EQ(Picture_Path_To_Store(res.filePath("Background/sky.png")), "Background/sky.png");
    EXPECT_EQ(Picture_Path_To_Store(res.path() + "//sign_sample.png"), "sign_sample.png");
    EXPECT_EQ(Picture_Path_To_Store(user.filePath("LibraryImage/mine.png")), user.filePath("LibraryImage/mine.png"));
    EXPECT_EQ(Picture_Path_To_Store("/home/me/pictures/a.png"), "/home/me/pictures/a.png");
    EXPECT_EQ(Rebase_Picture_Path("Background/sky.png"), res.filePath("Background/sky.png"));
    EXPECT_EQ(Rebase_Picture_Path("LibraryImage/mine.png"), user.filePath("LibraryImage/mine.png"));
    EXPECT_EQ(Rebase_Picture_Path("../../etc/passwd"), "../../etc/passwd") << "never outside the folder";
}

class SeriesFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = Folders.Data_Folder_Path;
        Folders.Data_Folder_Path = dir.path();
    }
    void TearDown() override { Folders.Data_Folder_Path = saved; }
    QTemporaryDir dir;
    QString saved;
};

TEST_F(SeriesFolder, SeriesNamesAreTxtFilesOnly)
{
    touch(dir.filePath("Names.txt"));
    touch(dir.filePath("LOUD.TXT"));
    touch(dir.filePath("other.csv"));
    touch(dir.filePath("two.dots.txt"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.txt")));
    QStringList names = MainWindowServices::Get_datasheet_File_Name_Array();
    names.sort();
    EXPECT_EQ(names, (QStringList{"LOUD", "Names", "two.dots"}));
    Folders.Data_Folder_Path = dir.filePath("missing");
    EXPECT_TRUE(MainWindowServices::Get_datasheet_File_Name_Array().isEmpty());
}

TEST_F(SeriesFolder, SeriesInUseByBarcodeModeOrABoundItem)
{
    FakeMainWindow win;
    auto text = LMNGraphic::newOfKind(LMNKind::Text);
    auto line = LMNGraphic::newOfKind(LMNKind::Line);
    text->data_source_type = 1;
    text->batch_hdr_list_name = "Names";
    line->data_source_type = 1;
    line->batch_list_name = "Lines";
    win.items = {text.get(), line.get()};
    win.barcodeModeSeries = {"Codes"};

    EXPECT_TRUE(win.Check_Batch_File_In_Use_Validation("Codes"));   // no file needed
    EXPECT_FALSE(win.Check_Batch_File_In_Use_Validation("Names"));  // file missing
    touch(dir.filePath("Names.txt"));
    touch(dir.filePath("Lines.txt"));
    EXPECT_TRUE(win.Check_Batch_File_In_Use_Validation("Names"));
    // Names match without regard to case, the file's included.
    EXPECT_TRUE(win.Check_Batch_File_In_Use_Validation("names"));
    text->batch_hdr_list_name = "LOUD (1)";
    touch(dir.filePath("Loud (1).TXT"));
    EXPECT_TRUE(win.Check_Batch_File_In_Use_Validation("loud (1)"));
    win.barcodeModeSeries = {"CODES"};
    EXPECT_TRUE(win.Check_Batch_File_In_Use_Validation("codes"));
    EXPECT_FALSE(win.Check_Batch_File_In_Use_Validation("Lines"));  // a line item binds nothing
    text->data_source_type = 2;
    EXPECT_FALSE(win.Check_Batch_File_In_Use_Validation("Names"));
}

TEST(FolderListings, ListFoldersFilesAndTrees)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("b/c.d")));
    touch(dir.filePath("a.png"));
    touch(dir.filePath("b/x.tar.gz"));
    touch(dir.filePath(".hidden"));
    EXPECT_EQ(MainWindowServices::Get_Folder_Array_At_Path(dir.path()), QStringList{"b"});
    EXPECT_EQ(MainWindowServices::Get_Files_Array_At_Path(dir.path(), false), (QStringList{".hidden", "a.png"}));
    EXPECT_EQ(MainWindowServices::Get_Files_Array_At_Path(dir.path(), true), (QStringList{".hidden", "a"}));
    EXPECT_EQ(MainWindowServices::Get_Folders_And_Sub_Folder_Array_At_Path(dir.path()), (QStringList{"b", "b/c"}));
    EXPECT_EQ(MainWindowServices::Get_Files_And_Folder_Array_At_Path(dir.path()),
              (QStringList{".hidden", "a", "b", "b/c", "b/x.tar"}));
    EXPECT_TRUE(MainWindowServices::Get_Files_Array_At_Path(dir.filePath("a.png"), true).isEmpty());
    EXPECT_TRUE(MainWindowServices::Get_Folder_Array_At_Path(dir.filePath("none")).isEmpty());
}

TEST(PathCheck, InvalidPathsAreReportedWithTheirMessage)
{
    QTemporaryDir dir;
    touch(dir.filePath("f"));
    ScriptedMessages msgs;
    EXPECT_TRUE(MainWindowServices::Check_And_Validate_File_Path("   "));
    EXPECT_TRUE(MainWindowServices::Check_And_Validate_File_Path(dir.filePath("nothing")));
    EXPECT_FALSE(MainWindowServices::Check_And_Validate_File_Path(dir.filePath("f") + " "));
    EXPECT_EQ(msgs.texts(), (QStringList{"\nPlease select valid file path.", "\nPlease select valid file path."}));
}

TEST(Pictures, ThumbnailsAndFullPictures)
{
    QTemporaryDir dir;
    QImage big(1600, 900, QImage::Format_RGB32);
    big.fill(Qt::red);
    big.setDotsPerMeterX(int(144 / 0.0254));
    big.setDotsPerMeterY(int(144 / 0.0254));
    ASSERT_TRUE(big.save(dir.filePath("big.png")));
    const PtImage thumb = MainWindowServices::Get_Image_For_Path(dir.filePath("big.png"), false, false);
    ASSERT_FALSE(thumb.isNull());
    EXPECT_EQ(thumb.raster().size(), QSize(800, 450));
    const PtImage full = MainWindowServices::Get_Image_For_Path(dir.filePath("big.png"), false, true);
    EXPECT_EQ(full.raster().size(), QSize(1600, 900));
    EXPECT_NEAR(full.size().width(), 800.0, 0.5);  // 1600 px at 144 dpi
    EXPECT_TRUE(MainWindowServices::Get_Image_For_Path(dir.filePath("none.png"), false, false).isNull());
    // Something that is no picture gives an icon rather than nothing.
    touch(dir.filePath("notes.txt"), "hello");
    EXPECT_FALSE(MainWindowServices::Get_Image_For_Path(dir.filePath("notes.txt"), false, false).isNull());
    EXPECT_TRUE(MainWindowServices::Get_Image_For_Path(dir.filePath("notes.txt"), false, true).isNull());
    EXPECT_TRUE(MainWindowServices::Get_Image_For_Data(QByteArray(), false).isNull());
    EXPECT_EQ(MainWindowServices::Get_File_Size_At_Path(dir.filePath("notes.txt")), 5u);
    EXPECT_EQ(MainWindowServices::Get_File_Size_At_Path(dir.filePath("none")), 0u);
    EXPECT_FALSE(MainWindowServices::Image_Is_Over_Size(dir.filePath("big.png"), true, true));
}

TEST(Texts, DatePatternsAndEmailCopies)
{
    const QString year = QString::number(QDate::currentDate().year());
    EXPECT_EQ(MainWindowServices::Get_date_Value("yyyy"), year);
    EXPECT_EQ(MainWindowServices::Get_date_Value("'Year' yyyy"), "Year " + year);
    EXPECT_FALSE(MainWindowServices::Get_time_Value("hh:mm a").contains('a'));
    EXPECT_GT(MainWindowServices::Get_OS_Version(), 1038);

    struct FakePrefs : Preferences {
        QString send_email_SenderEmail() const override { return "me@example.org"; }
        QString send_email_Password() const override { return "pw"; }
        QString send_email_SMTP_server() const override { return "smtp.example.org"; }
        QString send_email_PORT_num() const override { return "587"; }
        QString send_email_enable_ssl() const override { return "Y"; }
    };
    int loads = 0;
    Preferences::Set_Loader([&loads] { ++loads; return std::make_shared<FakePrefs>(); });
    const Email_Details details = MainWindowServices::Get_Email_Details();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(details.sender_email, "me@example.org");
    EXPECT_EQ(details.sender_pwd, "pw");
    EXPECT_EQ(details.sending_server, "smtp.example.org");
    EXPECT_EQ(details.sending_port, "587");
    EXPECT_EQ(details.send_enable_ssl, "Y");
    Preferences::Set_Loader(nullptr);
}

} // namespace
