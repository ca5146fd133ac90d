// A picture copied in another program (the clipboard holds only its pixels)
// pasted in designing mode through the Paste command: the new picture item
// shows it on the canvas and on the card a job renders, after undo and redo,
// copied and pasted again, and after the design is saved and opened again.
// A picture over the pixel limit is refused with its message.
#include "mainwindow/MainWindowFixture.h"

#include "common/ScopedFolders.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNGraphic.h"
#include "data/BatchBinding.h"
#include "imagetools/picture/PictureDecoder.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/EditCommands.h"
#include "mainwindow/files/FilePanels.h"
#include "mainwindow/files/ProjectCommands.h"
#include "platform/Paths.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// Four quadrants of four colours: a picture nothing else on a card looks like.
QImage Quadrants(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y, colours[(y >= h / 2) * 2 + (x >= w / 2)]);
    return img;
}

bool Near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40
        && std::abs(a.blue() - b.blue()) < 40;
}

class PastePictureTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        folders = std::make_unique<testsupport::Scoped_Folders>();
        Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text.trimmed();
            return answers.isEmpty() ? 0 : answers.takeFirst();
        });
        previousPanel = Set_File_Panel_Runner([this](const File_Panel_Request&) {
            return paths.isEmpty() ? QString() : paths.takeFirst();
        });
        previousRunner = Set_Modal_Runner([](QDialog&) { return 1; });
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        QGuiApplication::clipboard()->clear();
        Set_File_Panel_Runner(previousPanel);
        Set_Modal_Runner(previousRunner);
        MainWindowTest::TearDown();
        folders.reset();
    }

    LMNWindowController& designWindow()
    {
        LMNWindowController& w = make();
        w.Designing_Mode_Select();
        w.designModeView()->Set_Canvas_to_100_percent();
        // The window takes the user's data folder; the test's own instead.
        Folders.Created_Resource_Path = dir.filePath(QStringLiteral("user"));
        Folders.Cropped_Img_Path = Path_Join(Folders.Created_Resource_Path, QStringLiteral("Cropped_Images"));
        messages.clear();
        return w;
    }
    QList<LMNGraphic*> items() { return window->Get_Front_Controls_Array(); }
    QString keptFolder() const { return Path_Join(Folders.Created_Resource_Path, QStringLiteral("Cropped_Images")); }

    // The canvas as the user sees it, no handles shown.
    QImage canvasShot()
    {
        LMNGraphicView* canvas = window->graphicView();
        canvas->changeSelectionIndexes({});
        QImage img(canvas->size(), QImage::Format_ARGB32);
        img.fill(Qt::white);
        canvas->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
        return img;
    }
    // Whether the quadrant picture shows over `area` (points; pixels of the
    // shot at 100 % or 72 DPI): each quadrant's middle has its colour.
    static ::testing::AssertionResult Shows(const QImage& shot, const QRectF& area)
    {
        const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
        for (int q = 0; q < 4; ++q) {
            const QPointF at(area.x() + area.width() * (q % 2 ? 0.75 : 0.25),
                             area.y() + area.height() * (q / 2 ? 0.75 : 0.25));
            const QColor seen = shot.pixelColor(at.toPoint());
            if (!Near(seen, colours[q]))
                return ::testing::AssertionFailure() << "quadrant " << q << " at " << at.x() << "," << at.y()
                                                     << " is " << seen.name().toStdString();
        }
        return ::testing::AssertionSuccess();
    }
    // The card a job renders from fresh copies of the design.
    QImage jobCard()
    {
        Batch_Binding* b = window->binding();
        const std::shared_ptr<const Design_Rows> rows = b->Make_Rows(b->Count_Rows());
        QImage px = rows->currentImage().toImage(72);
        QImage flat(px.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, px);
        p.end();
        return flat;
    }
    void putOnClipboard(const QImage& image)
    {
        auto* data = new QMimeData;
        data->setImageData(image);
        QGuiApplication::clipboard()->setMimeData(data);
    }
    void paste()
    {
        EditCommands_Paste_Enabled = window->editCommands()->Paste_btn->isEnabled();
        window->editCommands()->Paste_btn->trigger();
    }

    QTemporaryDir dir;
    std::unique_ptr<testsupport::Scoped_Folders> folders;
    QList<int> answers;   // 0 Yes, 1 No, 2 Cancel
    QStringList paths;    // what the file panels answer
    bool EditCommands_Paste_Enabled = false;
    File_Panel_Runner previousPanel;
    ModalRunner previousRunner;
};

TEST_F(PastePictureTest, APastedPictureShowsOnTheCanvasAndTheJobsCardAndComesBackWithTheDesign)
{
    LMNWindowController& w = designWindow();
    const QImage picture = Quadrants(48, 36);
    putOnClipboard(picture);
    const QRectF where(50, 50, 48, 36);   // its top left corner at (50, 50)
    EXPECT_FALSE(Shows(canvasShot(), where)) << "the empty card shows no picture";

    paste();
    EXPECT_TRUE(EditCommands_Paste_Enabled) << "Paste is offered for a picture of another program";
    ASSERT_EQ(items().size(), 1);
    LMNGraphic* pasted = items().first();
    ASSERT_EQ(pasted->kind(), LMNKind::Image);
    EXPECT_EQ(pasted->bounds(), where);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_TRUE(Shows(canvasShot(), where)) << "on the canvas";
    EXPECT_TRUE(Shows(jobCard(), where)) << "on the card a job renders";
    // Kept as a file of the user's pictures, with its own pixels.
    EXPECT_EQ(QFileInfo(pasted->_file_path).absolutePath(), QFileInfo(keptFolder()).absoluteFilePath());
    EXPECT_EQ(QImage(pasted->_file_path).convertToFormat(QImage::Format_RGB32), picture);

    // Undo takes it away, Redo brings it back drawn.
    w.Undo_Action_Perform();
    EXPECT_TRUE(items().isEmpty());
    EXPECT_FALSE(Shows(canvasShot(), where));
    w.Redo_Action_Perform();
    ASSERT_EQ(items().size(), 1);
    EXPECT_TRUE(Shows(canvasShot(), where)) << "after undo and redo";

    // Copied and pasted within the program: a second item showing it.
    w.graphicView()->changeSelectionIndexes({0});
    w.editCommands()->Copy_btn->trigger();
    paste();
    ASSERT_EQ(items().size(), 2);
    // Moved off the original, which it covers at first.
    const QRectF copyArea(150, 90, 48, 36);
    items().first()->setBounds(copyArea);
    w.Insert_In_Undo_Redo();
    EXPECT_EQ(items().first()->_file_path, items().last()->_file_path);
    const QImage both = canvasShot();
    EXPECT_TRUE(Shows(both, where)) << "the original";
    EXPECT_TRUE(Shows(both, copyArea)) << "the copy";

    // Saved, a new design, and the file opened again.
    const QString path = dir.filePath("pasted.dbs");
    paths << path;
    w.Save_btn->trigger();
    ASSERT_EQ(w.projectCommands()->Project_File_Name, path);
    answers = {1};
    w.New_btn->trigger();
    ASSERT_TRUE(items().isEmpty());
    EXPECT_FALSE(Shows(canvasShot(), where));
    answers = {1};
    paths << path;
    w.Open_btn->trigger();
    ASSERT_EQ(items().size(), 2);
    const QImage reopened = canvasShot();
    EXPECT_TRUE(Shows(reopened, where)) << "the pasted picture, reopened";
    EXPECT_TRUE(Shows(reopened, copyArea)) << "its copy, reopened";
    EXPECT_TRUE(Shows(jobCard(), where)) << "on the card a job renders, reopened";
}

// Over the pixel limit: in Qt's own picture form or as the picture data of
// another program (refused from the size its header states), Paste says why
// and makes nothing, and no file is kept.
TEST_F(PastePictureTest, APictureOverThePixelLimitIsRefusedWithItsMessage)
{
    designWindow();
    const QString tooLarge = Picture_Status_Message(PictureStatus::TooLarge);
    // One bit a pixel, so that the test holds no large picture.
    QImage big(10001, 10000, QImage::Format_Mono);
    big.fill(0);
    putOnClipboard(big);
    paste();
    EXPECT_TRUE(EditCommands_Paste_Enabled);
    EXPECT_EQ(messages, QStringList{tooLarge});
    EXPECT_TRUE(items().isEmpty());

    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(QImageWriter(&buffer, "png").write(big));
    }
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), png);
    QGuiApplication::clipboard()->setMimeData(data);
    messages.clear();
    paste();
    EXPECT_TRUE(EditCommands_Paste_Enabled);
    EXPECT_EQ(messages, QStringList{tooLarge});
    EXPECT_TRUE(items().isEmpty());
    EXPECT_TRUE(QDir(keptFolder()).entryList(QDir::Files).isEmpty()) << "nothing kept";

    // Within the limit, the same road pastes it.
    QImage fits = Quadrants(20, 20);
    png.clear();
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(QImageWriter(&buffer, "png").write(fits));
    }
    data = new QMimeData;
    data->setData(QStringLiteral("image/png"), png);
    QGuiApplication::clipboard()->setMimeData(data);
    messages.clear();
    paste();
    ASSERT_EQ(items().size(), 1);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(Shows(canvasShot(), QRectF(50, 50, 20, 20)));
}

} // namespace
