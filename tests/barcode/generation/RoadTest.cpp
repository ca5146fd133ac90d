// The generation road: every type name end to end, sizes, decoders reading
// back what was drawn, PDF data, failures and threads.
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/view/BarcodeImage.h"
#include "barcode/engines/view/BarcodeText.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/SettingsOwnerRoad.h"
#include "barcode/generation/TwoDSymbols.h"
#include "barcode/engines/grid/ModuleGrid.h"
#include "common/TestSupport.h"
#include "platform/MessageSink.h"

#include <QDir>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

// A value each symbology accepts.
QString Sample_Value(const QString& type)
{
    const Symbology* s = Find_Symbology(type);
    return s ? s->sampleValue() : QString();
}

BarcodeSettings Settings_For(const QString& type)
{
    BarcodeSettings s;
    Set_Barcode_Type(s, type);
    return s;
}

bool Save(const QImage& img, const QString& path)
{
    return img.save(path, "PNG");
}

// Reads every file with one ZXingReader run: file name -> decoded text.
QHash<QString, QString> ZXing_Read_All(const QStringList& files)
{
    QHash<QString, QString> out;
    // One line a symbol: "<file> <format> "<text>"". Rotation and scaling
    // passes are left out: the reader's own duplicate check can trip on
    // large linear symbols.
    const auto r = testsupport::Run_Tool(QStringLiteral("ZXingReader"),
                                         QStringList{"-norotate", "-noscale", "-1"} + files);
    for (const QByteArray& line : r.out.split('\n')) {
        const QString l = QString::fromUtf8(line);
        for (const QString& f : files) {
            const QString name = QFileInfo(f).fileName();
            const qsizetype at = l.indexOf(name);
            if (at < 0)
                continue;
            QString rest = l.mid(at + name.size());
            // "<file> <format> "<text>"" or similar: take the quoted text.
            const qsizetype q1 = rest.indexOf(QLatin1Char('"'));
            const qsizetype q2 = rest.lastIndexOf(QLatin1Char('"'));
            if (q1 >= 0 && q2 > q1)
                rest = rest.mid(q1 + 1, q2 - q1 - 1);
            if (!out.contains(name))
                out.insert(name, rest.trimmed());
        }
    }
    return out;
}

} // namespace

TEST(BarcodeRoad, EveryTypeFollowsTheSizeRules)
{
    for (const QString& type : Symbology_Titles()) {
        SCOPED_TRACE(type.toStdString());
        const QString value = Sample_Value(type);
        ASSERT_FALSE(value.isEmpty());
        BarcodeSettings s = Settings_For(type);
        const BarcodeMakeResult r = Make_Barcode(s, value, s.HeaderText, s.FooterText);
        ASSERT_FALSE(r.image.isNull());
        const BarcodeSettings& f = r.settings;
        const double TB = Unit_To_Points(0.1f, Unit_Centimetre);
        const double LR = TB;
        const double hw = zbtext::Text_Size(QStringLiteral("HEADER"), s.header_font).width();
        const double fw = zbtext::Text_Size(QStringLiteral("FOOTER"), s.footer_font).width();
        const double hh = zbtext::Text_Height_Inches(s.header_font) * 72.0;
        const double fh = zbtext::Text_Height_Inches(s.footer_font) * 72.0;
        if (!Is_TwoD_Symbology(type)) {
            ASSERT_TRUE(r.barcode);
            const ZBBarcode& b = *r.barcode;
            // The engine's own width (wider than the bars for UPC and EAN).
            std::unique_ptr<ZBBarcode> plain = b.clone();
            plain->calculateWidth();
            const double bars = plain->width();
            EXPECT_NEAR(r.image.size().width(), std::max({bars, hw, fw}) + 2 * LR + 15.0, 1e-3);
            // Japan Post too: its nominal size is apart from the height.
            const double ch = zbtext::Text_Height_Inches(s.value_font) * 72.0;
            const double expected = 28.346472 + ch + TB + hh + TB + fh + TB + 2 * TB;
            EXPECT_NEAR(r.image.size().height(), expected, 1e-3);
        } else {
            const QSizeF sym = r.image_2d.size();
            ASSERT_FALSE(r.image_2d.isNull());
            EXPECT_NEAR(f.height, sym.height() + hh + TB + fh + TB + 2 * TB, 1e-3);
            EXPECT_NEAR(f.width, std::max({sym.width(), hw, fw}) + 2 * LR + 15.0, 1e-3);
            EXPECT_EQ(r.image.size(), QSizeF(f.width, f.height));
        }
    }
}

TEST(BarcodeRoad, AllTextsHiddenWorkedValue)
{
    // Bars of 10 mm with every text hidden and no margins: 28.346472 points high.
    for (const QString& type : Symbology_Titles()) {
        if (Is_TwoD_Symbology(type))
            continue;   // the postal codes too hide their texts when asked
        SCOPED_TRACE(type.toStdString());
        BarcodeSettings s = Settings_For(type);
        s.unit = Unit_Millimetre;
        s.bar_height = 10.0f;
        s.val_mar = s.hdr_mar = s.ftr_mar = s.TB_mar = s.LR_mar = 0.0f;
        s.hide_value = s.hide_header = s.hide_footer = true;
        const BarcodeMakeResult r = Make_Barcode(s, Sample_Value(type), s.HeaderText, s.FooterText);
        ASSERT_FALSE(r.image.isNull());
        EXPECT_FLOAT_EQ(float(r.image.size().height()), 28.346472f);
    }
}

TEST(BarcodeRoad, DecodersReadTheImagesAt600Dpi)
{
    if (!testsupport::Tool_Available(QStringLiteral("ZXingReader")))
        FAIL() << "ZXingReader missing";
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("ZL_KEEP_TEST_FILES"));
    struct Expect { QString type; QString text; };
    const QList<Expect> cases{
        {QStringLiteral("Code 39"), QStringLiteral("ZORV-42")},
        {QStringLiteral("Code 128"), QStringLiteral("Zorv Label 128")},
        {QStringLiteral("Code 128 SET A"), QStringLiteral("ZORV128")},
        {QStringLiteral("Code 128 SET B"), QStringLiteral("zorv 128")},
        {QStringLiteral("Code 128 SET C"), QStringLiteral("12345678")},
        {QStringLiteral("Interleaved 2 of 5"), QString()},
        {QStringLiteral("UPCA"), QStringLiteral("036000291452")},
        {QStringLiteral("EAN-13"), QStringLiteral("5901234123457")},
        {QStringLiteral("EAN-8"), QStringLiteral("96385074")},
        {QStringLiteral("UPCE"), QStringLiteral("01234565")},
        {QStringLiteral("Codabar"), QStringLiteral("12345")},  // read without start and stop
        {QStringLiteral("QR Code"), Sample_Value(QStringLiteral("QR Code"))},
        {QStringLiteral("PDF417"), Sample_Value(QStringLiteral("PDF417"))},
        {QStringLiteral("DataMatrix"), Sample_Value(QStringLiteral("DataMatrix"))},
    };
    QStringList files;
    for (const Expect& e : cases) {
        BarcodeSettings s = Settings_For(e.type);
        s.HeaderText = QStringLiteral("Header of %1").arg(e.type);
        s.FooterText = QStringLiteral("Footer text");
        s.USED_DPI_VALUE = 600;
        const PtImage img = Make_Barcode_Image(s, Sample_Value(e.type), s.HeaderText, s.FooterText);
        if (img.isNull()) {
            ADD_FAILURE() << "no image for " << e.type.toStdString();
            continue;
        }
        QImage px = img.toImage(600);
        ASSERT_FALSE(px.isNull());
        QImage flat(px.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(0, 0, px);
        }
        const QString path = dir.filePath(QString::number(files.size()) + QStringLiteral(".png"));
        ASSERT_TRUE(Save(flat, path));
        files << path;
    }
    const QHash<QString, QString> read = ZXing_Read_All(files);
    for (int i = 0; i < files.size() && i < cases.size(); ++i) {
        const QString name = QFileInfo(files[i]).fileName();
        SCOPED_TRACE(cases[i].type.toStdString());
        ASSERT_TRUE(read.contains(name)) << "nothing read";
        QString expected = cases[i].text;
        if (expected.isEmpty())
            expected = Sample_Value(cases[i].type);
        EXPECT_TRUE(read.value(name).contains(expected)) << read.value(name).toStdString();
    }
}

// An EAN-13 code usually comes with its check digit (a workbook's codes do):
// typed so, it is the symbol of its twelve digits; a wrong thirteenth digit is
// refused, and the box before output says the check digit is wrong.
TEST(BarcodeRoad, EAN13TakesItsCheckDigitOnlyWhenRight)
{
    if (!testsupport::Tool_Available(QStringLiteral("ZXingReader")))
        FAIL() << "ZXingReader missing";
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("ZL_KEEP_TEST_FILES"));
    BarcodeSettings s = Settings_For(QStringLiteral("EAN-13"));
    s.USED_DPI_VALUE = 600;
    const auto pixels = [&](const QString& value) {
        const BarcodeMakeResult r = Make_Barcode(s, value, s.HeaderText, s.FooterText);
        QImage flat;
        if (r.image.isNull())
            return std::pair{flat, r.reason};
        const QImage px = r.image.toImage(600);
        flat = QImage(px.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, px);
        return std::pair{flat, r.reason};
    };
    const auto [twelve, none12] = pixels(QStringLiteral("400638133393"));
    const auto [thirteen, none13] = pixels(QStringLiteral("4006381333931"));
    ASSERT_FALSE(twelve.isNull()) << none12.toStdString();
    ASSERT_FALSE(thirteen.isNull()) << none13.toStdString();
    EXPECT_EQ(thirteen, twelve);   // bars and caption alike
    const QString path = dir.filePath(QStringLiteral("ean13.png"));
    ASSERT_TRUE(Save(thirteen, path));
    EXPECT_EQ(ZXing_Read_All({path}).value(QStringLiteral("ean13.png")), QStringLiteral("4006381333931"));

    const auto [wrong, reason] = pixels(QStringLiteral("4006381333932"));
    EXPECT_TRUE(wrong.isNull());
    EXPECT_TRUE(reason.contains(QStringLiteral("The check digit of 400638133393 is 1, not 2."))) << reason.toStdString();

    QStringList shown;
    const MessageResponder old = Set_Message_Responder([&](const MessageRequest& r) {
        shown << r.text;
        return 0;
    });
    SettingsOwnerRoad road;
    road.setSettings(Settings_For(QStringLiteral("EAN-13")));
    road.settings().dataText = QStringLiteral("4006381333931");
    road.goButtonActionPerformed();
    EXPECT_FALSE(road.previewImage().isNull());
    EXPECT_TRUE(road.Check_And_Validat_Barcode(true, true));
    road.settings().dataText = QStringLiteral("4006381333932");
    road.goButtonActionPerformed();
    EXPECT_TRUE(road.previewImage().isNull());
    EXPECT_FALSE(road.Check_And_Validat_Barcode(true, true));
    Set_Message_Responder(old);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].trimmed(), invalid_barcode_msg + QStringLiteral("\nThe check digit of 400638133393 is 1, not 2."));
}

TEST(BarcodeRoad, PdfDataIsVectorAndReadsBack)
{
    if (!testsupport::Tool_Available(QStringLiteral("pdfinfo"))
        || !testsupport::Tool_Available(QStringLiteral("pdftoppm")))
        FAIL() << "poppler tools missing";
    BarcodeSettings s = Settings_For(QStringLiteral("Code 128"));
    s.unit = Unit_Inch;
    s.bar_height = 1.0f;
    const BarcodeMakeResult r = Make_Barcode(s, QStringLiteral("PDF-128"), s.HeaderText, s.FooterText);
    ASSERT_TRUE(r.barcode);
    const QByteArray pdf = pdfFromBarcode(*r.barcode, r.barcode->settings());
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("ZL_KEEP_TEST_FILES"));
    const QString path = dir.filePath(QStringLiteral("barcode.pdf"));
    ASSERT_TRUE(testsupport::Write_File(path, pdf));
    const auto info = testsupport::Run_Tool(QStringLiteral("pdfinfo"), {path});
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_TRUE(QString::fromLatin1(info.out).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\n"))));
    const QRegularExpression re(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    const auto m = re.match(QString::fromLatin1(info.out));
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NEAR(m.captured(1).toDouble(), r.image.size().width(), 0.51);
    EXPECT_NEAR(m.captured(2).toDouble(), r.image.size().height(), 0.51);
    const auto ppm = testsupport::Run_Tool(QStringLiteral("pdftoppm"),
                                           {"-r", "600", "-png", "-singlefile", path,
                                            dir.filePath(QStringLiteral("page"))});
    ASSERT_EQ(ppm.exitCode, 0);
    const QString page = dir.filePath(QStringLiteral("page.png"));
    EXPECT_EQ(ZXing_Read_All({page}).value(QStringLiteral("page.png")), QStringLiteral("PDF-128"));
}

TEST(BarcodeRoad, NoImageForUnknownNamesOrInvalidValues)
{
    // Unknown names, linear or 2D.
    EXPECT_TRUE(Make_Barcode_Image(Settings_For(QStringLiteral("Code 93")), QStringLiteral("1"),
                                   QString(), QString()).isNull());
    BarcodeSettings aztec = Settings_For(QStringLiteral("QR Code"));
    aztec.barcodeType = QStringLiteral("AZTEC");  // accepted by the 2D branch, draws nothing
    const BarcodeMakeResult az = Make_Barcode(aztec, QStringLiteral("v"), QStringLiteral("h"), QStringLiteral("f"));
    EXPECT_TRUE(az.image.isNull());
    EXPECT_EQ(az.settings.content, QStringLiteral("v"));
    EXPECT_EQ(az.settings.header, QStringLiteral("h"));
    // Values the symbology refuses, empty values.
    EXPECT_TRUE(Make_Barcode_Image(Settings_For(QStringLiteral("EAN-13")), QStringLiteral("12AB"),
                                   QString(), QString()).isNull());
    EXPECT_TRUE(Make_Barcode_Image(Settings_For(QStringLiteral("Code 128")), QString(), QString(),
                                   QString()).isNull());
    BarcodeSettings dm = Settings_For(QStringLiteral("DataMatrix"));
    dm.dm_format = 1;  // 10 x 10 holds 3 data bytes
    const BarcodeMakeResult tooLong = Make_Barcode(dm, QStringLiteral("far too long for it"), {}, {});
    EXPECT_TRUE(tooLong.image.isNull());
    EXPECT_TRUE(tooLong.diagnostics.startsWith(QStringLiteral("No barcode produced\n")));

    // The preview road: an invalid value blanks the preview, and the check
    // before output says so through the message box.
    QStringList shown;
    const MessageResponder old = Set_Message_Responder([&](const MessageRequest& r) {
        shown << r.text;
        return 0;
    });
    SettingsOwnerRoad road;
    road.setSettings(Settings_For(QStringLiteral("EAN-13")));
    road.settings().dataText = QStringLiteral("12AB");
    road.goButtonActionPerformed();
    EXPECT_TRUE(road.previewImage().isNull());
    EXPECT_TRUE(road.barcodeErrorLabelVisible());
    EXPECT_FALSE(road.testBarcode());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(road.Check_And_Validat_Barcode(true, true));
    ASSERT_EQ(shown.size(), 1);
    // The message, then one line naming the cause.
    EXPECT_TRUE(shown[0].contains(invalid_barcode_msg + QLatin1Char('\n'))) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QStringLiteral("Characters not allowed: 'A', 'B'."))) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QStringLiteral("EAN-13 takes the digits 0-9.")));
    // A linear value outside ASCII fails already without the image check.
    road.settings().dataText = QStringLiteral("caf\u00e9");
    EXPECT_FALSE(road.Check_And_Validat_Barcode(true, false));
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[1].contains(QStringLiteral("Characters not allowed: 'c', 'a', 'f', '\u00e9'."))) << shown[1].toStdString();
    // A good value passes both.
    road.settings().dataText = QStringLiteral("590123412345");
    road.goButtonActionPerformed();
    EXPECT_FALSE(road.previewImage().isNull());
    EXPECT_TRUE(road.testBarcode());
    EXPECT_TRUE(road.Check_And_Validat_Barcode(true, true));
    EXPECT_EQ(shown.size(), 2);
    Set_Message_Responder(old);
}

TEST(BarcodeRoad, SamePixelsOnAWorkerThread)
{
    for (const QString& type : {QStringLiteral("Code 128"), QStringLiteral("QR Code"),
                                QStringLiteral("DataMatrix"), QStringLiteral("UPCA")}) {
        SCOPED_TRACE(type.toStdString());
        BarcodeSettings s = Settings_For(type);
        s.USED_DPI_VALUE = 150;
        const QString v = Sample_Value(type);
        const QImage here = Make_Barcode_Image(s, v, s.HeaderText, s.FooterText).toImage(150);
        QImage there;
        std::thread worker([&] { there = Make_Barcode_Image(s, v, s.HeaderText, s.FooterText).toImage(150); });
        worker.join();
        ASSERT_FALSE(here.isNull());
        EXPECT_EQ(here, there);
    }
}

// One barcode image as a job and the window share it: drawn through its
// painting (bars and texts drawn afresh, not its pixels) on several threads
// at once, every drawing is alike, and so is the picture it is recorded as.
TEST(BarcodeRoad, OneImageDrawnOnSeveralThreadsAtOnceDrawsAlike)
{
    const BarcodeSettings s = Settings_For(QStringLiteral("Code 128"));
    const PtImage image = Make_Barcode_Image(s, QStringLiteral("ZL-000042"), s.HeaderText, s.FooterText);
    ASSERT_TRUE(image.isPainted());
    const auto draw = [](const PtImage& img) {
        QImage out(int(std::ceil(img.size().width() * 2)), int(std::ceil(img.size().height() * 2)),
                   QImage::Format_ARGB32_Premultiplied);
        out.fill(Qt::white);
        QPainter p(&out);
        p.scale(2, 2);
        img.draw(p, QRectF(QPointF(0, 0), img.size()));
        return out;
    };
    const QImage expected = draw(image);
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            const PtImage copy = image;
            for (int i = 0; i < 20; ++i)
                if (draw(copy) != expected)
                    ++wrong;
            if (copy.picture().size() == 0)
                ++wrong;
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_GT(image.picture().size(), 0u);
}

namespace {

class FakeRows : public BarcodeRowSource {
public:
    QList<QStringList> rows;
    int rowCount() const override { return int(rows.size()); }
    bool rowTexts(int row, QString& value, QString& header, QString& footer) const override
    {
        if (row >= rows.size())
            return false;
        value = rows[row].value(0);
        header = rows[row].value(1);
        footer = rows[row].value(2);
        return true;
    }
};

} // namespace

TEST(BarcodeRoad, RowsOfABatch)
{
    FakeRows rows;
    rows.rows = {{"  111  ", " H1 ", "F1"}, {"   ", "H2", "F2"}, {"333", "", ""}};
    SettingsOwnerRoad road;
    road.setSettings(Settings_For(QStringLiteral("Code 128")));
    road.setRowSource(&rows);
    road.settings().HeaderText = QStringLiteral("TYPED");
    road.goButtonActionPerformed();
    const std::shared_ptr<ZBBarcode> shown = road.testBarcode();
    ASSERT_TRUE(shown);
    const auto drawing = road.previewDrawing();
    ASSERT_TRUE(drawing);
    const int draws = road.drawCount();

    const PtImage first = road.Get_Image_From_List_Val(0);
    ASSERT_FALSE(first.isNull());
    ASSERT_TRUE(road.testBarcode_EXP());
    EXPECT_EQ(road.testBarcode_EXP()->content(), QStringLiteral("111"));  // trimmed
    EXPECT_EQ(road.testBarcode_EXP()->header(), QStringLiteral("H1"));
    EXPECT_TRUE(road.Get_Image_From_List_Val(1).isNull());  // empty value
    EXPECT_FALSE(road.Get_Image_From_List_Val(2).isNull());
    // Past the last row: the typed barcode, made anew for the job.
    const PtImage past = road.Get_Image_From_List_Val(3);
    ASSERT_FALSE(past.isNull());
    ASSERT_TRUE(road.testBarcode_EXP());
    EXPECT_NE(road.testBarcode_EXP(), shown);
    EXPECT_EQ(road.testBarcode_EXP()->content(), shown->content());
    EXPECT_EQ(road.testBarcode_EXP()->header(), QStringLiteral("TYPED"));
    // The preview and its symbol are the same as before the rows.
    EXPECT_EQ(road.testBarcode(), shown);
    EXPECT_EQ(shown->header(), QStringLiteral("TYPED"));
    EXPECT_EQ(road.previewDrawing(), drawing);
    EXPECT_EQ(road.drawCount(), draws);

    // The same for a 2D symbology: the kept symbol, which a change of look
    // frames again, stays the typed one.
    Set_Barcode_Type(road.settings(), QStringLiteral("QR Code"));
    road.settings().dataText_2D = QStringLiteral("TYPED 2D");
    road.goButtonActionPerformed();
    const QImage kept = road.image_2d().raster();
    ASSERT_FALSE(kept.isNull());
    EXPECT_FALSE(road.Get_Image_From_List_Val(0).isNull());
    EXPECT_FALSE(road.testBarcode_EXP());
    EXPECT_EQ(road.image_2d().raster(), kept);
    EXPECT_EQ(road.lastSettings().content, QStringLiteral("TYPED 2D"));
}

TEST(BarcodeRoad, DesigningModeImages)
{
    SettingsOwnerRoad dialog;
    BarcodeSettings s = Settings_For(QStringLiteral("Code 39"));
    s.unit = Unit_Millimetre;
    dialog.setSettings(s);
    const PtImage a = dialog.Get_Image_From_Val(QStringLiteral("0123"), QStringLiteral("H"), QStringLiteral("F"));
    ASSERT_FALSE(a.isNull());
    EXPECT_TRUE(dialog.previewImage().isNull());  // the dialog's preview is not touched
    EXPECT_TRUE(dialog.Get_Image_From_Val(QString(), QStringLiteral("H"), QStringLiteral("F")).isNull());
    Set_Barcode_Type(dialog.settings(), QStringLiteral("DataMatrix"));
    dialog.settings().dm_frame_border = false;
    dialog.settings().dm_module = 3;
    dialog.settings().dm_format = 1;  // 10 x 10
    const PtImage dm = dialog.Get_Image_From_Val(QStringLiteral("12"), QString(), QString());
    ASSERT_FALSE(dm.isNull());
    EXPECT_EQ(dialog.image_2d().size(), QSizeF(30, 30));
    // A value the chosen size cannot hold gives nothing, not the previous symbol.
    EXPECT_TRUE(dialog.Get_Image_From_Val(QStringLiteral("1234567890"), QString(), QString()).isNull());
    // While controls load, generation changes nothing.
    dialog.Not_Draw_Only_Prop_Change = true;
    EXPECT_EQ(dialog.Generate_Barcode_Variable(true, QString(), QString(), QString()), dialog.testBarcode());
}

namespace {

// Bounding box of the pixels close to a colour.
QRect Ink_Of(const QImage& img, const QColor& c)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) < 40 && std::abs(p.green() - c.green()) < 40
                && std::abs(p.blue() - c.blue()) < 40)
                box = box.united(QRect(x, y, 1, 1));
        }
    return box;
}

BarcodeSettings Coloured(const QString& type)
{
    BarcodeSettings s = Settings_For(type);
    s.header_font = s.footer_font = s.value_font = QFont(QStringLiteral("DejaVu Sans"), 12);
    s.bar_hdr_clr = QColor(220, 0, 0);
    s.bar_ftr_clr = QColor(0, 0, 220);
    s.bar_val_clr = QColor(0, 170, 0);
    s.HeaderText = QStringLiteral("HEAD");
    s.FooterText = QStringLiteral("FOOT");
    s.LR_mar = 0.0f;
    return s;
}

} // namespace

TEST(BarcodeRoad, TextsInTheirColoursAndAlignments)
{
    // A linear symbol: header left in red at the top, footer right in blue at
    // the bottom, the caption green and centred between bars and footer.
    {
        BarcodeSettings s = Coloured(QStringLiteral("Code 128"));
        s.align_hdr = QStringLiteral("Left");
        s.align_ftr = QStringLiteral("Right");
        const BarcodeMakeResult r = Make_Barcode(s, QStringLiteral("ZORV 128 LABEL"), s.HeaderText, s.FooterText);
        ASSERT_FALSE(r.image.isNull());
        const QImage img = r.image.toImage(288);  // 4 pixels a point
        const int W = img.width(), H = img.height();
        const QRect red = Ink_Of(img, s.bar_hdr_clr);
        const QRect blue = Ink_Of(img, s.bar_ftr_clr);
        const QRect green = Ink_Of(img, s.bar_val_clr);
        const QRect black = Ink_Of(img, Qt::black);
        ASSERT_FALSE(red.isEmpty());
        ASSERT_FALSE(blue.isEmpty());
        ASSERT_FALSE(green.isEmpty());
        ASSERT_FALSE(black.isEmpty());
        EXPECT_LT(red.bottom(), black.top());       // header above the bars
        EXPECT_LT(red.left(), W / 10);
        EXPECT_LT(red.right(), W / 2);
        EXPECT_GT(blue.top(), green.bottom());      // footer under the caption
        EXPECT_GT(blue.right(), W * 9 / 10);
        EXPECT_GT(blue.left(), W / 2);
        EXPECT_GT(green.top(), black.bottom());     // caption under the bars
        EXPECT_NEAR((green.left() + green.right()) / 2.0, W / 2.0, W * 0.05);
        EXPECT_LT(blue.bottom(), H);
        // Value on top: the caption moves above the bars, under the header.
        s.showinTop = 1;
        const QImage top = Make_Barcode_Image(s, QStringLiteral("ZORV 128 LABEL"), s.HeaderText, s.FooterText).toImage(288);
        const QRect g2 = Ink_Of(top, s.bar_val_clr);
        const QRect b2 = Ink_Of(top, Qt::black);
        ASSERT_FALSE(g2.isEmpty());
        EXPECT_LT(g2.bottom(), b2.top());
        EXPECT_GT(g2.top(), Ink_Of(top, s.bar_hdr_clr).bottom());
    }
    // A 2D symbol: header right, footer left, in their colours, the symbol
    // between them.
    {
        BarcodeSettings s = Coloured(QStringLiteral("QR Code"));
        s.align_hdr = QStringLiteral("Right");
        s.align_ftr = QStringLiteral("Left");
        s.HeaderText = QStringLiteral("A HEADER WIDER THAN THE SYMBOL");
        s.USED_DPI_VALUE = 288;
        const BarcodeMakeResult r = Make_Barcode(s, QStringLiteral("zorv"), s.HeaderText, s.FooterText);
        ASSERT_FALSE(r.image.isNull());
        const QImage img = r.image.toImage(288);
        const int W = img.width();
        const QRect red = Ink_Of(img, s.bar_hdr_clr);
        const QRect blue = Ink_Of(img, s.bar_ftr_clr);
        const QRect black = Ink_Of(img, Qt::black);
        ASSERT_FALSE(red.isEmpty());
        ASSERT_FALSE(blue.isEmpty());
        EXPECT_LT(red.bottom(), black.top());
        EXPECT_GT(blue.top(), black.bottom());
        EXPECT_LT(blue.left(), W / 10);
        EXPECT_LT(blue.right(), W / 2);
        EXPECT_NEAR((black.left() + black.right()) / 2.0, W / 2.0, 4.0);  // symbol centred
    }
}

TEST(BarcodeRoad, ReframingTakesTheLookAsItStandsNow)
{
    // A change of look frames the kept 2D symbol anew, with the header and
    // footer typed and the colours the controls hold now, without encoding.
    SettingsOwnerRoad road;
    road.setSettings(Coloured(QStringLiteral("QR Code")));
    road.settings().bar_hdr_clr = Qt::black;
    road.goButtonActionPerformed();
    ASSERT_FALSE(road.previewImage().isNull());
    const int encodes = road.encodeCount();
    EXPECT_TRUE(Ink_Of(road.previewImage().toImage(144), QColor(220, 0, 0)).isEmpty());
    road.settings().bar_hdr_clr = QColor(220, 0, 0);
    road.settings().HeaderText = QStringLiteral("typed since");
    const PtImage again = road.Get_2d_barcode_from_image(true);
    ASSERT_FALSE(again.isNull());
    EXPECT_EQ(road.lastSettings().header, QStringLiteral("typed since"));
    EXPECT_FALSE(Ink_Of(road.previewImage().toImage(144), QColor(220, 0, 0)).isEmpty());
    // Hiding the header takes its band out of the frame.
    const double withHeader = again.size().height();
    road.settings().hide_header = true;
    EXPECT_LT(road.Get_2d_barcode_from_image(true).size().height(), withHeader);
    EXPECT_EQ(road.encodeCount(), encodes);
}

TEST(BarcodeRoad, SymbolImagesStayFarBelowThePixelLimit)
{
    // A Data Matrix with a module size far beyond the control's range at
    // 2400 DPI (a stored value or a hand-edited file can hold one) once took
    // seconds and gigabytes. A module size beyond the control's range is
    // refused with the control's range, the largest one the control takes
    // still needs too many pixels and is refused with its reason, and no
    // image on the road grows beyond its bound.
    for (const int module : {70, 115, kDmModuleMax}) {
        SCOPED_TRACE(module);
        BarcodeSettings s = Settings_For(QStringLiteral("DataMatrix"));
        s.dm_module = module;
        s.USED_DPI_VALUE = 2400;
        const BarcodeMakeResult r = Make_Barcode(s, Sample_Value(QStringLiteral("DataMatrix")), {}, {});
        EXPECT_TRUE(r.image.isNull());
        EXPECT_TRUE(r.image_2d.isNull());
        const QString why = module > kDmModuleMax
                                ? QStringLiteral("The Data Matrix module size must be between 1 and 20 pt.")
                                : QStringLiteral("2400 DPI");
        EXPECT_TRUE(r.reason.contains(why)) << r.reason.toStdString();
    }
    // What fits is made, within the bounds: the symbol at one byte a pixel,
    // its frame at most twice as many pixels.
    for (const QString& type : {QStringLiteral("DataMatrix"), QStringLiteral("QR Code"), QStringLiteral("PDF417")}) {
        SCOPED_TRACE(type.toStdString());
        BarcodeSettings s = Settings_For(type);
        s.dm_module = 5;
        s.qr_size = 300;
        s.pdf_width = 400;
        s.USED_DPI_VALUE = 600;
        const BarcodeMakeResult r = Make_Barcode(s, Sample_Value(type), s.HeaderText, s.FooterText);
        ASSERT_FALSE(r.image.isNull()) << r.reason.toStdString();
        const QImage& symbol = r.image_2d.raster();
        EXPECT_LE(double(symbol.width()) * symbol.height(), kMaxSymbolImagePixels);
        EXPECT_EQ(symbol.depth(), 8);
        const QImage& framed = r.image.raster();
        EXPECT_LE(double(framed.width()) * framed.height(), 2.0 * kMaxSymbolImagePixels);
    }
    // A QR Code of the largest side at 600 DPI is refused the same way.
    BarcodeSettings qr = Settings_For(QStringLiteral("QR Code"));
    qr.qr_size = kQrSizeMax;
    const BarcodeMakeResult big = Make_Barcode(qr, QStringLiteral("big"), {}, {});
    EXPECT_TRUE(big.image.isNull());
    EXPECT_TRUE(big.reason.contains(QStringLiteral("600 DPI")));
}

TEST(BarcodeRoad, TypedTwoDimensionalValueIsADraftUntilTheNextGeneration)
{
    SettingsOwnerRoad road;
    road.setSettings(Settings_For(QStringLiteral("QR Code")));
    road.settings().dpi_choice = 3;   // "300"
    road.settings().Type_draw_2d_flag = true;
    road.goButtonActionPerformed();
    ASSERT_FALSE(road.previewImage().isNull());
    EXPECT_TRUE(road.previewIsDraft());
    EXPECT_EQ(road.image_2d().raster().width(), road.settings().qr_size);
    // The flag is cleared by the 2D generation: the next one is made at the DPI.
    EXPECT_FALSE(road.settings().Type_draw_2d_flag);
    road.goButtonActionPerformed();
    EXPECT_FALSE(road.previewIsDraft());
    // Whole pixels a module, the same for all: near the size at 300 DPI.
    const int at300 = Pixels_For(road.settings().qr_size, 300);
    EXPECT_NEAR(road.image_2d().raster().width(), at300, at300 / 20);
}
