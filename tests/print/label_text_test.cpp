// Barcode labels printed into a PDF keep their captions as text: a page of
// Avery 5160 from a 30-row list holds every row's caption as text that
// pdftotext finds, a font embedded for it, and each cell's bars, rasterised
// by pdftoppm, read as the row's value.
#include "barcode/generation/BarcodeRoad.h"
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"

#include <QComboBox>
#include <QRegularExpression>

using namespace printtest;

TEST_F(PrintTest, PrintedLabelsKeepTheirCaptionsAsTextAndScanAtTheirCells)
{
    const QString pdf = dir.filePath("labels.pdf");
    usePdf(pdf, QPageSize(QPageSize::Letter));

    // Code 128 at 15 mils: the symbol fits the 66.7 mm label.
    BarcodeSettings settings;
    Set_Barcode_Type(settings, QStringLiteral("Code 128"));
    settings.bar_width_mils = 15;
    QStringList values;
    for (int i = 1; i <= 30; ++i)
        values << QStringLiteral("ZL-%1").arg(i, 6, 10, QLatin1Char('0'));
    batch.state.settings = settings;
    batch.state.value = values.first();
    batch.state.dataSource = batch.state.valueChecked = true;
    for (const QString& v : values)
        batch.list << BarcodeListRow{{"Value", v}, {"PQ", "1"}};
    batch.barcodeRows = 30;
    batch.rowImage = [&](int row) { return Make_Barcode_Image(settings, values.value(row), "", ""); };

    Print_Wnd w;
    w.Reset_For_Opening();
    w.Predefined_Label_Changed();
    w.Label_ComboBox->setCurrentText("Avery");
    w.comboBoxSelectionDidChange(w.Label_ComboBox);
    w.Product_num_ComboBox->setCurrentText("5160");
    w.comboBoxSelectionDidChange(w.Product_num_ComboBox);
    ASSERT_EQ(w.sheet.Print_Row * w.sheet.Print_Col, 30);
    QList<Printing_View::Placed_Label> placed;
    w.on_sheet = [&](int, const QList<Printing_View::Placed_Label>& labels) { placed << labels; };
    w.Execute_Printing(false);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    ASSERT_EQ(Pdf_Pages(pdf), 1);
    ASSERT_EQ(placed.size(), 30);

    // The captions are text in an embedded font.
    const QString text = Pdf_Text(pdf, 1);
    for (const QString& v : values)
        EXPECT_TRUE(text.contains(v)) << v.toStdString();
    const testsupport::ToolResult fonts = testsupport::Run_Tool("pdffonts", {pdf});
    EXPECT_TRUE(QString::fromUtf8(fonts.out).contains(QRegularExpression(QStringLiteral("\\byes\\b"))))
        << fonts.out.toStdString();

    // Each cell reads as its row.
    const double dpi = 300, scale = dpi / 72.0;
    const QImage page = Pdf_Page_Image(pdf, 1, int(dpi));
    ASSERT_FALSE(page.isNull());
    QTemporaryDir crops;
    for (int n = 0; n < 30; ++n) {
        SCOPED_TRACE(values[n].toStdString());
        EXPECT_EQ(placed[n].dataRow, n);
        const QRectF cell = placed[n].cell;
        const QImage crop = page.copy(QRectF(cell.topLeft() * scale, cell.size() * scale).toRect());
        const QString path = crops.filePath(QStringLiteral("cell%1.png").arg(n));
        ASSERT_TRUE(crop.save(path));
        EXPECT_EQ(QString::fromUtf8(testsupport::ZXing_Decode(path)).trimmed(), values[n]);
    }
}
