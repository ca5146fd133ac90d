// Barcode labels printed into a PDF keep their captions as text: a page of
// Avery 5160 from a 30-row list holds every row's caption as text that
// pdftotext finds, a font embedded for it, and each cell's bars, rasterised
// by pdftoppm, read as the row's value.
#include "barcode/generation/BarcodeRoad.h"
#include "common/PdfChecks.h"
#include "print/PdfFontTags.h"
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"

#include <QBuffer>
#include <QComboBox>
#include <QPainter>
#include <QPdfWriter>
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
    // Each font embedded, and named as the subset it is ("ABCDEF+Name").
    EXPECT_TRUE(testsupport::Fonts_Are_Tagged_Subsets(pdf));

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

// The font tags do not depend on how the writer cuts its output: a PDF fed
// through in pieces of one byte, seven bytes or a whole page comes out the
// same, each font named with its descriptor's tag, every object where the
// cross-reference table says it is.
TEST(PdfFontTags, EveryFontTakesItsDescriptorsTagInPiecesOfAnySize)
{
    QBuffer raw;
    raw.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&raw);
        QPainter p(&writer);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        p.drawText(100, 100, QStringLiteral("ZL-000001"));
        p.setFont(QFont(QStringLiteral("DejaVu Serif"), 10));
        p.drawText(100, 300, QStringLiteral("Serif"));
    }
    const QByteArray in = raw.data();
    ASSERT_TRUE(in.contains("/FontName /"));
    QByteArray first;
    for (int piece : {1, 7, 4096}) {
        SCOPED_TRACE(piece);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        Pdf_Font_Tag_Device tags(&out);
        for (qsizetype at = 0; at < in.size(); at += piece)
            ASSERT_EQ(tags.write(in.mid(at, piece)), in.mid(at, piece).size());
        tags.close();
        ASSERT_TRUE(tags.ok());
        const QByteArray bytes = out.data();
        if (first.isEmpty())
            first = bytes;
        EXPECT_EQ(bytes, first);
        // Each font's name carries the tag of its descriptor.
        const QRegularExpression described(QStringLiteral("/FontName /([A-Z]{6}\\+)(\\S+)"));
        int fonts = 0;
        for (auto it = described.globalMatch(QString::fromLatin1(bytes)); it.hasNext(); ++fonts) {
            const auto m = it.next();
            EXPECT_EQ(QString::fromLatin1(bytes).count(QStringLiteral("/BaseFont /") + m.captured(1) + m.captured(2)), 2)
                << m.captured(2).toStdString();
        }
        EXPECT_EQ(fonts, 2);
        EXPECT_FALSE(bytes.contains("/BaseFont /DejaVu"));
        EXPECT_TRUE(testsupport::Cross_References_Hold(bytes));
    }
}
