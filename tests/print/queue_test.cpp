// A real print queue: a 3 x 10 sheet of a 25-row barcode list goes through
// the print window and the system's printing to the private PDF queue that
// ./test starts (tests/print/print-queue.sh); the PDF the queue writes holds
// 25 labels, each reading as its row's value, in row order, at the cells of
// the layout.
#include "barcode/generation/BarcodeRoad.h"
#include "common/PageSetup.h"
#include "common/PrintQueue.h"
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"

#include <QComboBox>
#include <QLineEdit>
#include <QUuid>

using namespace printtest;

TEST_F(PrintTest, ASheetOfBarcodesGoesThroughARealPrintQueue)
{
    const QString queue = testsupport::Test_Print_Queue();
    ASSERT_FALSE(queue.isEmpty());
    Set_Printer_Names_Provider({});
    ASSERT_TRUE(Printer_Names().contains(queue)) << Printer_Names().join(", ").toStdString();

    // 25 rows of Code 128 values.
    BarcodeSettings settings;
    Set_Barcode_Type(settings, QStringLiteral("Code 128"));
    QStringList values;
    for (int i = 1; i <= 25; ++i)
        values << QStringLiteral("ZL-%1").arg(i, 4, 10, QLatin1Char('0'));
    batch.state.settings = settings;
    batch.state.value = values.first();
    batch.state.dataSource = batch.state.valueChecked = true;
    for (const QString& v : values)
        batch.list << BarcodeListRow{{"Value", v}, {"Header", ""}, {"Footer", ""}, {"PQ", "1"}};
    batch.barcodeRows = 25;
    batch.rowImage = [&](int row) { return Make_Barcode_Image(settings, values.value(row), "", ""); };

    PrintInfo info;
    info.printerName = queue;
    info.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    MainWindowServices::setPrintInfo(info);

    Print_Wnd w;
    w.Reset_For_Opening();
    ASSERT_EQ(w.Printer_ComboBox->currentText(), queue);
    w.width_Text->setText("65");
    w.Width_Changed(w.width_Text);
    w.height_Text->setText("27");
    w.Height_Changed(w.height_Text);
    w.Col_Text->setText("3");
    w.Col_Changed(w.Col_Text);
    w.Row_Text->setText("10");
    w.Row_Changed(w.Row_Text);
    ASSERT_EQ(w.sheet.Print_Row * w.sheet.Print_Col, 30);
    QList<Printing_View::Placed_Label> placed;
    w.on_sheet = [&](int, const QList<Printing_View::Placed_Label>& labels) { placed << labels; };
    const QString stem = QStringLiteral("zltest-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    w.job_title = stem;
    w.Execute_Printing(false);
    ASSERT_EQ(w.last_job_sheets, 1);
    ASSERT_EQ(placed.size(), 25);

    const QString pdf = testsupport::Wait_For_Print_Queue_Output(stem);
    ASSERT_FALSE(pdf.isEmpty()) << "the queue wrote nothing into "
                                << testsupport::Print_Queue_Output_Folder().toStdString();
    const auto removeOutput = qScopeGuard([&] { QFile::remove(pdf); });
    ASSERT_EQ(Pdf_Pages(pdf), 1);

    // Each cell of the layout: label 1 at the top-left corner of the
    // printer's printable area, columns 65 mm apart, rows 27 mm.
    const double dpi = 200, scale = dpi / 72.0, mm = 2.834645669291;
    const QImage page = Pdf_Page_Image(pdf, 1, int(dpi));
    ASSERT_FALSE(page.isNull());
    QTemporaryDir crops;
    for (int n = 0; n < 30; ++n) {
        SCOPED_TRACE(n + 1);
        const QRectF cell(w.sheet.Left_Mar + (n % 3) * 65 * mm, w.sheet.Top_Mar + (n / 3) * 27 * mm, 65 * mm, 27 * mm);
        const QImage crop = page.copy(QRectF(cell.topLeft() * scale, cell.size() * scale).toRect());
        if (n >= 25) {
            // The cells after the last row stay blank.
            int ink = 0;
            for (int y = 0; y < crop.height(); y += 2)
                for (int x = 0; x < crop.width(); x += 2)
                    ink += qGray(crop.pixel(x, y)) < 128;
            EXPECT_EQ(ink, 0);
            continue;
        }
        EXPECT_EQ(placed[n].dataRow, n);
        EXPECT_NEAR(placed[n].cell.x(), cell.x(), 1e-3);
        EXPECT_NEAR(placed[n].cell.y(), cell.y(), 1e-3);
        const QString path = crops.filePath(QStringLiteral("cell%1.png").arg(n));
        ASSERT_TRUE(crop.save(path));
        EXPECT_EQ(QString::fromUtf8(testsupport::ZXing_Decode(path)).trimmed(), values[n]);
    }
}

// The print window's Page Setup on the real queue starts from the paper the
// window shows (Letter, not the printer's own first choice) and keeps the
// margins typed there: the window's margin fields show them.
TEST_F(PrintTest, PageSetupOpensOnThePaperShownAndKeepsTheMarginsTyped)
{
    const QString queue = testsupport::Test_Print_Queue();
    ASSERT_FALSE(queue.isEmpty());
    Set_Printer_Names_Provider({});
    PrintInfo info;
    info.printerName = queue;
    info.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    MainWindowServices::setPrintInfo(info);
    Print_Wnd w;
    w.Reset_For_Opening();
    ASSERT_EQ(w.Paper_id->text(), "Letter");

    testsupport::Page_Setup_Seen seen;
    onDialog([&seen](QDialog& d) {
        if (auto* setup = qobject_cast<QPageSetupDialog*>(&d))
            seen = testsupport::Type_Margins_Into_Page_Setup(*setup, 20, 15);
        return d.result();
    });
    w.page_setup_btn->click();
    EXPECT_NEAR(seen.paper.width(), 612, 0.5) << seen.paperName.toStdString();
    EXPECT_NEAR(seen.paper.height(), 792, 0.5) << seen.paperName.toStdString();
    EXPECT_EQ(w.Paper_id->text(), "Letter");
    EXPECT_EQ(w.Size_id->text(), "215.90 x 279.40");
    EXPECT_EQ(w.l_mar_id->text(), "20.00");
    EXPECT_EQ(w.t_mar_id->text(), "15.00");
}
