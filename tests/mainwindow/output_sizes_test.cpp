// A label whose width and height are both fractional points comes out whole
// in every writer, through the main window's Export and PDF buttons: the
// EPS bounding box is rounded up (never cut), every picture format holds the label at 600 DPI rounded up, and a
// PDF page of the label's size is the label's size.
#include "MainWindowFixture.h"
#include "OutputTestSupport.h"

#include "common/TestSupport.h"
#include "core/model/LMNDocument.h"
#include "core/model/Shape_Control.h"
#include "export/ExportDialogs.h"
#include "export/PdfExportWindow.h"
#include "mainwindow/design/DesignModeView.h"
#include "print/PrinterList.h"

#include <QAction>
#include <QComboBox>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

using namespace outputtest;

namespace {

class FractionalSizesTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        Set_Printer_Names_Provider([] { return QStringList(); });
    }
    void TearDown() override
    {
        Set_Printer_Names_Provider({});
        MainWindowTest::TearDown();
    }

    // A card of 144.3 x 71.6 points filled by a blue rectangle.
    void fractionalCard()
    {
        LMNWindowController& w = make();
        w.Designing_Mode_Select();
        w.designModeView()->Apply_Card_Size(kCard);
        auto shape = std::make_shared<Shape_Control>();
        shape->Set_Shape_Type(QStringLiteral("R"));
        shape->_isDrawingFill = true;
        shape->_fillColor = Qt::blue;
        shape->alpha_val = 1.0f;
        shape->_bounds = QRectF(QPointF(0, 0), kCard);
        w.designModeView()->document()->insertGraphic(shape, 0);
    }

    // Export of the one card (or barcode) in the format of the list's row.
    QString exportAs(int formatRow, const QString& folder)
    {
        QDir().mkpath(folder);   // as the folder chooser gives it
        Windows windows;
        windows.on = [&](QDialog& d) {
            auto* w = qobject_cast<Export_Window_Base*>(&d);
            if (!w)
                return;
            w->ex_bar_image_type_combo->setCurrentIndex(formatRow);
            w->Export_Dest_Path->setText(folder);
            w->setResult(0);
            w->export_btn_on_export_image->click();
        };
        const int before = int(messages.size());
        window->export_btn->trigger();
        EXPECT_TRUE(Wait_For([&] { return !windows.boxMessages.isEmpty() || messages.size() > before; }));
        QDir out(folder);
        const QStringList sub = out.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        const QString where = sub.isEmpty() ? folder : out.filePath(sub.first());
        const QStringList files = Files_In(where);
        EXPECT_EQ(files.size(), 1) << files.join('|').toStdString() << " " << messages.join('|').toStdString();
        return files.isEmpty() ? QString() : QDir(where).filePath(files.first());
    }

    // Every format of the export window: the picture formats hold
    // ceil(600 / 72 x size) pixels, the EPS boxes say the size.
    void expectEveryFormatWhole(QSizeF points)
    {
        const QSize pixels(int(std::ceil(points.width() * 600.0 / 72.0 - 1e-6)),
                           int(std::ceil(points.height() * 600.0 / 72.0 - 1e-6)));
        const char* formats[] = {"jpg", "tiff", "bmp", "png", "eps", "gif"};
        for (int row = 0; row < 6; ++row) {
            SCOPED_TRACE(formats[row]);
            const QString file = exportAs(row, dir.filePath(QStringLiteral("%1-%2").arg(++m_runs).arg(row)));
            ASSERT_FALSE(file.isEmpty());
            EXPECT_TRUE(file.endsWith(QLatin1String(formats[row]), Qt::CaseInsensitive)) << file.toStdString();
            if (QLatin1String(formats[row]) == QLatin1String("eps")) {
                const QByteArray eps = testsupport::readAll(file);
                const QByteArray box = "%%BoundingBox: 0 0 " + QByteArray::number(int(std::ceil(points.width())))
                    + ' ' + QByteArray::number(int(std::ceil(points.height())));
                EXPECT_TRUE(eps.contains(box + '\n')) << "wanted " << box.toStdString() << " in\n"
                                                      << eps.left(400).toStdString();
                // Drawn by an outside renderer, the label fills its box.
                QString log;
                const QString png = Render_Eps(file, &log);
                ASSERT_FALSE(png.isEmpty()) << log.toStdString();
                EXPECT_EQ(QImage(png).size(), QSize(int(std::ceil(points.width())), int(std::ceil(points.height()))));
            } else {
                QImageReader reader(file);
                EXPECT_EQ(reader.size(), pixels) << reader.errorString().toStdString();
            }
        }
    }

    // Ghostscript's picture of an EPS file at 72 DPI, cropped to its box.
    QString Render_Eps(const QString& eps, QString* log)
    {
        const QString png = eps + QStringLiteral(".png");
        const testsupport::ToolResult r = testsupport::Run_Tool(
            QStringLiteral("gs"), {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                                   QStringLiteral("-dNOPAUSE"), QStringLiteral("-dEPSCrop"),
                                   QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r72"),
                                   QStringLiteral("-sOutputFile=") + png, eps});
        *log = QString::fromUtf8(r.out + r.err);
        return r.exitCode == 0 ? png : QString();
    }

    static constexpr QSizeF kCard{144.3, 71.6};
    QTemporaryDir dir;
    int m_runs = 0;
};

// The page sizes pdfinfo reads, in points.
QList<QSizeF> Pdf_Page_Sizes(const QString& pdf)
{
    const testsupport::ToolResult r =
        testsupport::Run_Tool(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                                         QStringLiteral("-l"), QStringLiteral("1"), pdf});
    QList<QSizeF> sizes;
    const QRegularExpression line(QStringLiteral("Page +\\d+ size: +([0-9.]+) x ([0-9.]+) pts"));
    auto it = line.globalMatch(QString::fromUtf8(r.out));
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        sizes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return sizes;
}

} // namespace

TEST_F(FractionalSizesTest, ACardOfFractionalWidthAndHeightIsWholeInEveryPictureFormat)
{
    fractionalCard();
    expectEveryFormatWhole(kCard);
}

TEST_F(FractionalSizesTest, ABarcodeOfFractionalSizeIsWholeInEveryPictureFormat)
{
    LMNWindowController& w = make();
    chooseType(QStringLiteral("Code 128"));
    BarcodeSettings s = w.barcodeModeView()->Barcode_Settings();
    s.dataText = QStringLiteral("FRACTION-7");
    s.unit = 2;
    s.bar_height = 12.3f;   // millimetres: 34.87 points
    s.LR_mar = 1.1f;
    w.barcodeModeView()->Load_Barcode_Settings(s);
    w.goButtonActionPerformed();
    const QSizeF size = w.barcodeModeView()->Preview_Image().size();
    ASSERT_GT(size.width(), 0.0);
    ASSERT_NE(size.width(), std::floor(size.width())) << "the test needs a fractional width";
    ASSERT_NE(size.height(), std::floor(size.height())) << "the test needs a fractional height";
    expectEveryFormatWhole(size);
}

// A page per label of the label's size: 144.3 x 71.6 points becomes a page
// of 145 x 72, never 144 x 72 (which would cut the label's last 0.3 points).
TEST_F(FractionalSizesTest, APdfPageOfTheLabelsSizeHoldsTheWholeLabel)
{
    fractionalCard();
    Windows windows;
    windows.on = [&](QDialog& d) {
        auto* pdf = qobject_cast<PDF_Export*>(&d);
        if (!pdf)
            return;
        pdf->pdf_option[3]->click();   // a page per label
        pdf->use_label_size_chk_box->click();
        const auto job = Export_Pdf_And_Close(*pdf, QStringLiteral("Card"), dir.path());
        ASSERT_TRUE(job && job->done.load());
    };
    window->pdf_btn->trigger();
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("Zorv PDF Label/Card.PDF"));
    ASSERT_TRUE(QFileInfo::exists(pdf)) << windows.seen.join('|').toStdString();
    const QList<QSizeF> pages = Pdf_Page_Sizes(pdf);
    ASSERT_EQ(pages.size(), 1) << testsupport::Run_Tool(QStringLiteral("pdfinfo"), {pdf}).out.toStdString();
    // The page holds the whole label: its size rounded up to whole points
    // at most (the PDF writer sizes pages in whole points), never cut.
    EXPECT_GE(pages.first().width(), kCard.width());
    EXPECT_LT(pages.first().width(), kCard.width() + 1);
    EXPECT_GE(pages.first().height(), kCard.height());
    EXPECT_LT(pages.first().height(), kCard.height() + 1);
}
