// The picture panel's Invert and opacity and the line panel's Direction show
// in every output: the card exported as an image file (redrawn at 600 DPI),
// as EPS and as PDF (each read back by an outside renderer) has the pixels
// the setting asks for.
#include "PanelsTestSupport.h"

#include "common/TestSupport.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "export/ExportWriter.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

class EffectsTest : public PanelsTest {
protected:
    // The card in the three outputs, each as a picture at 72 DPI.
    struct Outputs {
        QImage png, eps, pdf;
    };

    Outputs exported()
    {
        Outputs o;
        const QList<LMNGraphic*> selected = canvas->selectedGraphics();
        w->Set_Front_Back_Value_To_Print_Export_Mail();
        const PtImage card = w->Make_Batch_Rows()->image(0);   // as a job takes its rows
        const QByteArray pdf = LMNRenderingView::pdfDataWithGraphics_data(w->Get_Front_Controls_Array());
        w->Create_Card_Design_Again();
        // The job's end leaves nothing selected: the items are selected
        // again, as the user clicks them to go on.
        select(selected);
        QString error;
        const QByteArray png = Encode_Export_File(card, dir.filePath(QStringLiteral("card.png")), true, &error);
        EXPECT_FALSE(png.isEmpty()) << error.toStdString();
        o.png = QImage::fromData(png).scaled(card.size().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QByteArray eps = Encode_Export_File(card, dir.filePath(QStringLiteral("card.eps")), true, &error);
        o.eps = render(eps, QStringLiteral("card.eps"), {QStringLiteral("gs"), QStringLiteral("-q"), QStringLiteral("-dSAFER"),
                                                         QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
                                                         QStringLiteral("-dEPSCrop"), QStringLiteral("-sDEVICE=png16m"),
                                                         QStringLiteral("-r72")});
        o.pdf = render(pdf, QStringLiteral("card.pdf"), {QStringLiteral("gs"), QStringLiteral("-q"), QStringLiteral("-dSAFER"),
                                                         QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
                                                         QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r72")});
        return o;
    }

    QImage render(const QByteArray& data, const QString& name, QStringList command)
    {
        const QString in = dir.filePath(name);
        const QString out = dir.filePath(name + QStringLiteral(".png"));
        QFile f(in);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        f.close();
        QFile::remove(out);
        const QString program = command.takeFirst();
        command << QStringLiteral("-sOutputFile=") + out << in;
        const testsupport::ToolResult r = testsupport::Run_Tool(program, command);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QImage(out);
    }

    static void expectNear(const QImage& image, QPoint at, QColor want, const char* output, int tolerance = 24)
    {
        SCOPED_TRACE(output);
        ASSERT_FALSE(image.isNull());
        const QColor c = image.pixelColor(at);
        EXPECT_LE(std::abs(c.red() - want.red()), tolerance) << c.name().toStdString() << " for " << want.name().toStdString();
        EXPECT_LE(std::abs(c.green() - want.green()), tolerance) << c.name().toStdString() << " for " << want.name().toStdString();
        EXPECT_LE(std::abs(c.blue() - want.blue()), tolerance) << c.name().toStdString() << " for " << want.name().toStdString();
    }

    void expectEverywhere(QPoint at, QColor want, const char* what)
    {
        SCOPED_TRACE(what);
        const Outputs o = exported();
        expectNear(o.png, at, want, "image file");
        expectNear(o.eps, at, want, "EPS");
        expectNear(o.pdf, at, want, "PDF");
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(EffectsTest, InvertAndOpacityOfAPictureShowInEveryOutput)
{
    QImage red(80, 80, QImage::Format_RGB32);
    red.fill(QColor(230, 30, 20));
    ASSERT_TRUE(red.save(dir.filePath(QStringLiteral("red.png"))));
    auto* picture = static_cast<LMNImage*>(add(LMNKind::Image, QRectF(40, 40, 80, 80)));
    picture->setFilePath(dir.filePath(QStringLiteral("red.png")));
    select({picture});
    const QPoint middle(80, 80);
    expectEverywhere(middle, QColor(230, 30, 20), "as it is");

    // Inverted: each colour's complement.
    host->image_tab->Image_Invert_chk->click();
    EXPECT_TRUE(picture->invert_clr);
    expectEverywhere(middle, QColor(25, 225, 235), "inverted");

    // Half opaque over the white card.
    host->image_tab->Image_Invert_chk->click();
    host->image_tab->Trsp_slidr->setValue(50);
    EXPECT_FLOAT_EQ(picture->img_trnsp_val, 50.0f);
    expectEverywhere(middle, QColor(242, 142, 137), "half opaque");
    // Fully clear: the card shows through.
    host->image_tab->Trsp_slidr->setValue(0);
    expectEverywhere(middle, QColor(255, 255, 255), "clear");
}

TEST_F(EffectsTest, ALinesDirectionTurnsItInEveryOutput)
{
    auto* line = static_cast<LMNLine*>(add(LMNKind::Line, QRectF(40, 40, 120, 120)));
    line->_pointsRight = line->_pointsDown = true;
    line->_strokeWidth = 6;
    select({line});
    EXPECT_EQ(host->line_tab->Line_ori_style->currentIndex(), 2) << "the panel shows the line diagonal";
    expectEverywhere(QPoint(60, 60), Qt::black, "diagonal: on the line");
    expectEverywhere(QPoint(160, 100), Qt::white, "diagonal: beside it");

    // Horizontal: about its centre (100, 100), its length kept.
    choose(host->line_tab->Line_ori_style, 0);
    EXPECT_NEAR(line->bounds().height(), 0.0, 1e-9);
    EXPECT_NEAR(line->bounds().width(), 120 * std::sqrt(2.0), 1e-6);
    EXPECT_EQ(line->_line_ori, 0);
    expectEverywhere(QPoint(160, 100), Qt::black, "horizontal: right of the centre");
    expectEverywhere(QPoint(60, 60), Qt::white, "horizontal: the old diagonal");

    // Vertical.
    choose(host->line_tab->Line_ori_style, 1);
    EXPECT_NEAR(line->bounds().width(), 0.0, 1e-9);
    expectEverywhere(QPoint(100, 40), Qt::black, "vertical: above the centre");
    expectEverywhere(QPoint(160, 100), Qt::white, "vertical: the old horizontal");

    // Another control changed later turns nothing.
    const QRectF vertical = line->bounds();
    host->line_tab->Line_clr->setColor(Qt::blue, true);
    EXPECT_EQ(line->bounds(), vertical);
    // Undo brings the horizontal line back.
    w->Undo_Action_Perform();
    w->Undo_Action_Perform();
    LMNGraphic* back = doc->graphicsPointers().first();
    EXPECT_NEAR(back->bounds().height(), 0.0, 1e-9);
}
