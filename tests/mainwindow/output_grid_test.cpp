// A grid of labels placed by its alignment on a page whose margins all
// differ, through the main window's PDF button: the labels land against the
// right margin (not the left one), against the bottom margin, or in the
// middle of what the margins leave, where the page written says.
#include "MainWindowFixture.h"
#include "OutputTestSupport.h"

#include "common/TestSupport.h"
#include "core/model/LMNDocument.h"
#include "core/model/Shape_Control.h"
#include "core/util/MainWindowServices.h"
#include "export/PdfExportWindow.h"
#include "mainwindow/design/DesignModeView.h"
#include "print/PrinterList.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace outputtest;

namespace {

constexpr double kMM = 72.0 / 25.4;

class GridAlignmentTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        savedInfo = MainWindowServices::printInfo();
        Set_Printer_Names_Provider([] { return QStringList{QStringLiteral("Office")}; });
        // An A4 page whose printer keeps margins of 10, 30, 15 and 40 mm
        // (left, right, top, bottom).
        PrintInfo info = savedInfo;
        info.printerName = QStringLiteral("Office");
        info.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10 * kMM, 15 * kMM, 30 * kMM, 40 * kMM), QPageLayout::Point);
        MainWindowServices::setPrintInfo(info);
    }
    void TearDown() override
    {
        MainWindowServices::setPrintInfo(savedInfo);
        Set_Printer_Names_Provider({});
        MainWindowTest::TearDown();
    }

    // A design of 50 x 20 mm filled blue.
    void blueCard()
    {
        LMNWindowController& w = make();
        w.Designing_Mode_Select();
        const QSizeF card(50 * kMM, 20 * kMM);
        w.designModeView()->Apply_Card_Size(card);
        auto shape = std::make_shared<Shape_Control>();
        shape->Set_Shape_Type(QStringLiteral("R"));
        shape->_isDrawingFill = true;
        shape->_fillColor = Qt::blue;
        shape->_isDrawingStroke = false;
        shape->alpha_val = 1.0f;
        shape->_bounds = QRectF(QPointF(0, 0), card);
        w.designModeView()->document()->insertGraphic(shape, 0);
    }

    // Four copies in 2 rows of 2 columns, 5 mm apart, placed by the
    // alignment button `align` (1 top left ... 9 bottom right); the blue
    // area of the page written, in points.
    QRect exportAligned(int align, const QString& name)
    {
        Windows windows;
        windows.on = [&](QDialog& d) {
            auto* pdf = qobject_cast<PDF_Export*>(&d);
            if (!pdf)
                return;
            // Typed, then the field left.
            auto typeIn = [](QLineEdit* field, const QString& text) {
                field->setText(text);
                emit field->textEdited(text);
                emit field->editingFinished();
            };
            if (pdf->sheetPane->Auto_Center_chk_bx->isChecked())
                pdf->sheetPane->Auto_Center_chk_bx->click();
            typeIn(pdf->sheetPane->Row_Text, QStringLiteral("2"));
            typeIn(pdf->sheetPane->Col_Text, QStringLiteral("2"));
            typeIn(pdf->sheetPane->horz_mar_Text, QStringLiteral("5"));
            typeIn(pdf->sheetPane->vert_mar_Text, QStringLiteral("5"));
            typeIn(pdf->sheetPane->Total_Text, QStringLiteral("4"));
            pdf->sheetPane->Alignment_Buttons()[align - 1]->click();
            pdf->pdf_option[0]->click();   // the sheets in one file
            const auto job = Export_Pdf_And_Close(*pdf, name, dir.path());
            ASSERT_TRUE(job && job->done.load());
        };
        window->pdf_btn->trigger();
        const QString pdf = QDir(dir.path()).filePath(QStringLiteral("Zorv PDF Label/%1.PDF").arg(name));
        EXPECT_TRUE(QFileInfo::exists(pdf)) << windows.seen.join('|').toStdString() << messages.join('|').toStdString();
        QTemporaryDir out;
        testsupport::Run_Tool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"),
                                                           QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf,
                                                           out.filePath(QStringLiteral("p"))});
        const QImage page(out.filePath(QStringLiteral("p.png")));
        EXPECT_FALSE(page.isNull());
        QRect blue;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QRgb c = page.pixel(x, y);
                if (qBlue(c) > 150 && qRed(c) < 100 && qGreen(c) < 100)
                    blue |= QRect(x, y, 1, 1);
            }
        return blue;
    }

    QTemporaryDir dir;
    PrintInfo savedInfo;
};

} // namespace

TEST_F(GridAlignmentTest, AlignedGridsLandAgainstTheMarginsTheyNameOnAPageWithUnequalMargins)
{
    blueCard();
    const QSizeF page = QPageSize(QPageSize::A4).size(QPageSize::Point);
    const double L = 10 * kMM, R = 30 * kMM, T = 15 * kMM, B = 40 * kMM;
    const double gridW = (2 * 50 + 5) * kMM, gridH = (2 * 20 + 5) * kMM;
    const struct {
        int align;
        const char* name;
        double left, top;
    } cases[] = {
        {1, "top left", L, T},
        {3, "top right", page.width() - R - gridW, T},
        {9, "bottom right", page.width() - R - gridW, page.height() - B - gridH},
        {7, "bottom left", L, page.height() - B - gridH},
        {6, "middle right", page.width() - R - gridW, T + (page.height() - T - B - gridH) / 2},
        {5, "centre", L + (page.width() - L - R - gridW) / 2, T + (page.height() - T - B - gridH) / 2},
        {2, "top middle", L + (page.width() - L - R - gridW) / 2, T},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect blue = exportAligned(c.align, QStringLiteral("Grid%1").arg(c.align));
        EXPECT_NEAR(blue.left(), c.left, 1.5);
        EXPECT_NEAR(blue.top(), c.top, 1.5);
        EXPECT_NEAR(blue.width(), gridW, 2.0);
        EXPECT_NEAR(blue.height(), gridH, 2.0);
    }
}
