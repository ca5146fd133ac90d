// Labels larger than their cells: each is cut at its own cell in the printed
// sheet and the preview (the PDF export: tests/export), so its neighbours keep their pixels
// and scan; before the job the user is told both sizes and what to change,
// and No prints or writes nothing.
#include "barcode/generation/BarcodeRoad.h"
#include "print/LabelFit.h"
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"
#include "print/SheetLayout.h"

#include <QBuffer>
#include <QComboBox>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QRadioButton>
#include <QPrinter>
#include <QScopeGuard>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <thread>
#include <zlib.h>

using namespace printtest;

namespace {

// Three barcodes a row of 70 mm cells on A4: the first one wider than its
// cell, the others short.
const QStringList Values{QStringLiteral("ZORVLABELWIDEX"), QStringLiteral("AB12"), QStringLiteral("CD34")};

// The content streams of the pages of a PDF (written by Qt: each one a
// FlateDecode stream), inflated and joined.
QByteArray Pdf_Page_Content(const QByteArray& pdf)
{
    QByteArray all;
    qsizetype pos = 0;
    while ((pos = pdf.indexOf("stream\n", pos)) >= 0) {
        const qsizetype start = pos + 7;
        const qsizetype end = pdf.indexOf("endstream", start);
        if (end < 0)
            break;
        const QByteArray dict = pdf.mid(std::max<qsizetype>(0, pos - 300), 300);
        if (dict.contains("FlateDecode")) {
            z_stream z{};
            if (inflateInit(&z) == Z_OK) {
                QByteArray out(1 << 20, 0);
                z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pdf.constData() + start));
                z.avail_in = uInt(end - start);
                z.next_out = reinterpret_cast<Bytef*>(out.data());
                z.avail_out = uInt(out.size());
                inflate(&z, Z_FINISH);
                all += out.left(qsizetype(z.total_out));
                inflateEnd(&z);
            }
        }
        all += '\n';
        pos = end;
    }
    return all;
}

class LabelFitTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        pdf = dir.filePath("labels.pdf");
        usePdf(pdf);
        Set_Barcode_Type(settings, QStringLiteral("Code 128"));
        batch.state.settings = settings;
        batch.state.value = Values.first();
        batch.state.dataSource = batch.state.valueChecked = true;
        for (const QString& v : Values)
            batch.list << BarcodeListRow{{"Value", v}, {"Header", ""}, {"Footer", ""}, {"PQ", "1"}};
        batch.barcodeRows = int(Values.size());
        batch.rowImage = [this](int row) { return Make_Barcode_Image(settings, Values.value(row), "", ""); };
    }

    template <class Window>
    static void cells(Window& w, const char* width, const char* height, int cols)
    {
        w.sheetPane->width_Text->setText(width);
        w.sheetPane->Width_Changed(w.sheetPane->width_Text);
        w.sheetPane->height_Text->setText(height);
        w.sheetPane->Height_Changed(w.sheetPane->height_Text);
        w.sheetPane->Col_Text->setText(QString::number(cols));
        w.sheetPane->Col_Changed(w.sheetPane->Col_Text);
    }

    // The page at 150 dpi; the part of cell `n` (0-based, top row) outside
    // `keep` (top-left points) holds no ink, and the cell decodes as `value`.
    ::testing::AssertionResult cellIsItsOwn(const QImage& page, const QRectF& cell, const QRectF& keep,
                                            const QString& value)
    {
        const double scale = 150 / 72.0;
        const QRect c = QRectF(cell.topLeft() * scale, cell.size() * scale).toAlignedRect() & page.rect();
        const QRect k = QRectF(keep.topLeft() * scale, keep.size() * scale).toAlignedRect().adjusted(-2, -2, 2, 2);
        int stray = 0;
        for (int y = c.top() + 2; y < c.bottom() - 2; ++y)
            for (int x = c.left() + 2; x < c.right() - 2; ++x)
                if (!k.contains(x, y) && qGray(page.pixel(x, y)) < 128)
                    ++stray;
        if (stray > 0)
            return ::testing::AssertionFailure() << stray << " dark pixels of another label in the cell";
        const QString path = dir.filePath(QStringLiteral("cell.png"));
        page.copy(c).save(path);
        const QString read = QString::fromUtf8(testsupport::ZXing_Decode(path)).trimmed();
        if (read != value)
            return ::testing::AssertionFailure() << "the cell reads \"" << read.toStdString() << "\"";
        return ::testing::AssertionSuccess();
    }

    BarcodeSettings settings;
    QString pdf;
};

} // namespace

// Both roads of a print: the labels drawn on the window's thread, and (as
// the rows of a linear barcode are) made on workers and played back.
TEST_F(LabelFitTest, AWideBarcodeIsCutAtItsCellInPrintAndItsNeighbourScans)
{
    const std::thread::id gui = std::this_thread::get_id();
    std::atomic<int> onWorkers{0};
    batch.rowImage = [this, gui, &onWorkers](int row) {
        onWorkers += std::this_thread::get_id() != gui ? 1 : 0;
        return Make_Barcode_Image(settings, Values.value(row), "", "");
    };
    for (const bool workers : {false, true}) {
        SCOPED_TRACE(workers ? "made on workers" : "drawn on the window's thread");
        batch.imagesOnAnyThread = workers;
        onWorkers = 0;
        messages.clear();
        QFile::remove(pdf);
        Print_Wnd w;
        w.Reset_For_Opening();
        cells(w, "70", "40", 3);
        ASSERT_EQ(w.sheet.Print_Col, 3);
        QList<Printing_View::Placed_Label> placed;
        w.on_sheet = [&](int, const QList<Printing_View::Placed_Label>& labels) { placed = labels; };

        // No: nothing is printed.
        answer(false);
        w.Execute_Printing(false);
        ASSERT_EQ(count("larger than its label"), 1);
        EXPECT_FALSE(QFile::exists(pdf));
        const QString question = messages.last();
        const QSizeF wide = Make_Barcode_Image(settings, Values[0], "", "").size();
        EXPECT_TRUE(
            question.contains(QStringLiteral("Barcode: %1 x").arg(Points_To_MM(float(wide.width())), 0, 'f', 2)))
            << question.toStdString();
        EXPECT_TRUE(question.contains("Label: 70.00 x 40.00 mm")) << question.toStdString();
        EXPECT_TRUE(question.contains("Bar Width")) << question.toStdString();

        // Yes: printed, the wide barcode cut at its cell.
        answer(true);
        w.Execute_Printing(false);
        ASSERT_EQ(placed.size(), 3);
        EXPECT_EQ(onWorkers > 0, workers) << onWorkers;
        const QImage page = Pdf_Page_Image(pdf, 1, 150);
        ASSERT_FALSE(page.isNull());
        EXPECT_GT(placed[0].image.width(), placed[0].cell.width() + 50);
        EXPECT_TRUE(cellIsItsOwn(page, placed[1].cell, placed[1].image, Values[1]));
        EXPECT_TRUE(cellIsItsOwn(page, placed[2].cell, placed[2].image, Values[2]));
    }
}

TEST_F(LabelFitTest, ThePreviewShowsTheLabelsCut)
{
    Print_Wnd w;
    w.Reset_For_Opening();
    cells(w, "70", "40", 3);
    QList<Printing_View::Placed_Label> placed;
    w.on_sheet = [&](int, const QList<Printing_View::Placed_Label>& labels) { placed = labels; };
    const QString drawn = dir.filePath("preview.pdf");
    onDialog([&](QDialog& d) {
        // What the preview draws, drawn once more into a file.
        auto* preview = qobject_cast<Print_Preview*>(&d);
        if (!preview)
            return 0;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(drawn);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QPageSize::A4));
        emit preview->view->paintRequested(&printer);
        return 0;
    });
    answer(true);
    w.Execute_Printing(true);
    ASSERT_EQ(count("larger than its label"), 1);
    ASSERT_EQ(placed.size(), 3);
    EXPECT_FALSE(QFile::exists(pdf)) << "the preview printed";
    const QImage page = Pdf_Page_Image(drawn, 1, 150);
    ASSERT_FALSE(page.isNull());
    EXPECT_TRUE(cellIsItsOwn(page, placed[1].cell, placed[1].image, Values[1]));
}

TEST_F(LabelFitTest, LabelsThatFitAskNothing)
{
    // Narrow bars: every barcode fits its 70 mm cell.
    settings.bar_width_mils = 10;
    batch.state.settings = settings;
    Print_Wnd w;
    w.Reset_For_Opening();
    cells(w, "70", "40", 3);
    w.Execute_Printing(false);
    EXPECT_EQ(count("larger than its label"), 0);
    EXPECT_EQ(Pdf_Pages(pdf), 1);

    // The one label without batch values: the typed barcode against its cell.
    Sheet_Job job;
    job.label_width = 100;
    job.label_hight = 50;
    job.Barcode_Image = PtImage(QImage(10, 10, QImage::Format_ARGB32), QSizeF(100.4, 50));
    EXPECT_FALSE(Find_Label_Overflow(job).larger);
    job.Barcode_Image = PtImage(QImage(10, 10, QImage::Format_ARGB32), QSizeF(101, 50));
    EXPECT_TRUE(Find_Label_Overflow(job).larger);
}

TEST_F(LabelFitTest, TheWidestRowIsFoundPastTheFirstSheet)
{
    // Row 40 of 60 is the long one; the first sheet holds rows 1 to 3.
    QStringList values;
    for (int i = 0; i < 60; ++i)
        values << (i == 39 ? QStringLiteral("ZORVLABELWIDEX") : QStringLiteral("R%1").arg(i));
    batch.list.clear();
    for (const QString& v : values)
        batch.list << BarcodeListRow{{"Value", v}, {"PQ", "1"}};
    batch.barcodeRows = int(values.size());
    batch.rowImage = [this, values](int row) { return Make_Barcode_Image(settings, values.value(row), "", ""); };
    Print_Wnd w;
    w.Reset_For_Opening();
    cells(w, "70", "40", 3);
    w.sheetPane->Row_Text->setText("1");
    w.sheetPane->Row_Changed(w.sheetPane->Row_Text);
    answer(false);
    w.Execute_Printing(false);
    EXPECT_EQ(count("larger than its label"), 1);

    // Rows 1 to 30 only: no question.
    w.sheetPane->Sel_print_rd->click();
    w.sheetPane->Sel_Print_RD_Clicked();
    w.sheetPane->from_Text->setText("1");
    w.sheetPane->From_Stepper_Changed(w.sheetPane->from_Text);
    w.sheetPane->To_Text->setText("30");
    w.sheetPane->To_Stepper_Changed(w.sheetPane->To_Text);
    w.Execute_Printing(false);
    EXPECT_EQ(count("larger than its label"), 1);
    EXPECT_GT(Pdf_Pages(pdf), 0);
}

TEST_F(LabelFitTest, EnterAtTheQuestionGoesBack)
{
    Print_Wnd w;
    w.Reset_For_Opening();
    cells(w, "70", "40", 3);
    // The box answered as Enter answers it: with its default button.
    const MessageResponder fixture = Set_Message_Responder([this](const MessageRequest& r) {
        requests.push_back(r);
        return r.defaultButton;
    });
    const auto restore = qScopeGuard([&] { Set_Message_Responder(fixture); });
    w.Execute_Printing(false);
    ASSERT_EQ(requests.size(), 1u);
    const MessageRequest& asked = requests.back();
    EXPECT_TRUE(asked.text.contains("larger than its label")) << asked.text.toStdString();
    ASSERT_EQ(asked.buttons, (QStringList{"Yes", "No"}));
    EXPECT_EQ(asked.buttons.value(asked.defaultButton), "No");
    EXPECT_EQ(asked.buttons.value(asked.escapeButton), "No");
    EXPECT_FALSE(QFile::exists(pdf)) << "Enter printed the labels";
}

// Catalogue labels that are not rectangles: a barcode (its bars and texts,
// inside its margins of 1 mm) is measured against the label's own outline.
// Avery 3274.3 is round, 63.5 mm across: a barcode of 61.75 x 25.42 mm fits
// its square cell, but its corners leave the circle. Avery L7161 has corners
// rounded 2.47 mm: a barcode without margins as large as its cell loses its
// corners there.
TEST_F(LabelFitTest, RoundAndRoundedLabelsAskWhenTheBarcodeLeavesTheirOutline)
{
    struct Case {
        const char* product;
        QPageSize paper;
        double widthMM, heightMM;
        float marginsCM;
        const char* label;   // "" when nothing is asked
    } cases[] = {
        {"3274.3", QPageSize(QPageSize::Letter), 61.75, 25.42, 0.1f, "Label: 63.50 x 63.50 mm, round"},
        {"3274.3", QPageSize(QPageSize::Letter), 44, 30, 0.1f, ""},
        {"L7161", QPageSize(QPageSize::A4), 63.57, 46.74, 0, "Label: 63.57 x 46.74 mm, rounded corners"},
        {"L7161", QPageSize(QPageSize::A4), 63.57, 46.74, 0.1f, ""},
        {"L7161", QPageSize(QPageSize::A4), 59.5, 42.7, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.product) + " " + std::to_string(c.widthMM) + " " + std::to_string(c.marginsCM));
        settings.unit = 1;
        settings.LR_mar = settings.TB_mar = c.marginsCM;
        batch.state.settings = settings;
        usePdf(pdf, c.paper);
        QFile::remove(pdf);
        const QSizeF size(MM_To_Points(float(c.widthMM)), MM_To_Points(float(c.heightMM)));
        batch.rowImage = [size](int) { return Colour_Label(size, Qt::black); };
        Print_Wnd w;
        w.Reset_For_Opening();
        w.Predefined_Label_Changed();
        w.Label_ComboBox->setCurrentText(QStringLiteral("Avery"));
        w.comboBoxSelectionDidChange(w.Label_ComboBox);
        const auto it = std::find_if(w.prod_list.begin(), w.prod_list.end(),
                                     [&](const Product_Details& p) { return p.productID == c.product; });
        ASSERT_NE(it, w.prod_list.end());
        w.Product_num_ComboBox->setCurrentIndex(int(it - w.prod_list.begin()));
        w.comboBoxSelectionDidChange(w.Product_num_ComboBox);
        messages.clear();
        answer(false);
        w.Execute_Printing(false);
        if (*c.label) {
            ASSERT_EQ(messages.size(), 1) << messages.join("|").toStdString();
            EXPECT_TRUE(messages[0].startsWith("The barcode does not fit inside its label.")) << messages[0].toStdString();
            EXPECT_TRUE(messages[0].contains(c.label)) << messages[0].toStdString();
            EXPECT_FALSE(QFile::exists(pdf));
        } else {
            EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
            EXPECT_EQ(Pdf_Pages(pdf), 1);
            answers.clear();
        }
    }
}

// A real barcode on Avery 3274.3 (round, 63.5 mm across) is measured by its
// ink, its bars and caption as drawn: a 16-mil Code 128 of nine characters
// fits the square cell, and the box inside its margins reaches past the
// circle at its corners, but those corners are blank (the lines of the empty
// header and footer above and below the bars); the bars and caption stay
// within the circle and nothing is asked. Bars 3.5 cm tall reach past the
// circle themselves, and the question stays.
TEST_F(LabelFitTest, OnARoundLabelTheBarcodeIsMeasuredByItsInk)
{
    struct Case {
        float barHeightCM;
        bool asked;
    } cases[] = {{1.0f, false}, {3.5f, true}};
    const QString value = QStringLiteral("ZL-16MILS");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.barHeightCM);
        settings.unit = 1;
        settings.bar_width_mils = 16;
        settings.bar_height = c.barHeightCM;
        settings.LR_mar = settings.TB_mar = 0.1f;
        batch.state.settings = settings;
        batch.list.clear();
        batch.list << BarcodeListRow{{"Value", value}, {"Header", ""}, {"Footer", ""}, {"PQ", "1"}};
        batch.barcodeRows = 1;
        batch.rowImage = [this, value](int) { return Make_Barcode_Image(settings, value, "", ""); };
        const PtImage label = Make_Barcode_Image(settings, value, "", "");
        ASSERT_FALSE(label.isNull());
        // The picture fits the 63.5 mm cell; the box inside its margins
        // does not fit the circle.
        const double w = Points_To_MM(float(label.size().width())), h = Points_To_MM(float(label.size().height()));
        ASSERT_LT(w, 63.5);
        ASSERT_LT(h, 63.5);
        ASSERT_GT(std::hypot(w - 2, h - 2) / 2, 31.75 + Points_To_MM(float(Label_Overflow_Tolerance)));

        usePdf(pdf, QPageSize(QPageSize::Letter));
        QFile::remove(pdf);
        Print_Wnd win;
        win.Reset_For_Opening();
        win.Predefined_Label_Changed();
        win.Label_ComboBox->setCurrentText(QStringLiteral("Avery"));
        win.comboBoxSelectionDidChange(win.Label_ComboBox);
        const auto it = std::find_if(win.prod_list.begin(), win.prod_list.end(),
                                     [](const Product_Details& p) { return p.productID == "3274.3"; });
        ASSERT_NE(it, win.prod_list.end());
        win.Product_num_ComboBox->setCurrentIndex(int(it - win.prod_list.begin()));
        win.comboBoxSelectionDidChange(win.Product_num_ComboBox);
        messages.clear();
        answer(false);
        win.Execute_Printing(false);
        if (c.asked) {
            ASSERT_EQ(messages.size(), 1) << messages.join("|").toStdString();
            EXPECT_TRUE(messages[0].startsWith("The barcode does not fit inside its label.")) << messages[0].toStdString();
            EXPECT_TRUE(messages[0].contains("Label: 63.50 x 63.50 mm, round")) << messages[0].toStdString();
            EXPECT_FALSE(QFile::exists(pdf));
        } else {
            EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
            EXPECT_EQ(Pdf_Pages(pdf), 1);
            answers.clear();
        }
    }
}

// A picture that reaches past its cell by no more than the question's
// tolerance (a 17-mil Code 128 is 72.044 points tall in a 72-point cell) is
// drawn whole and as it is; one that reaches further is cut at the cell, and
// inside the cell it is drawn as it is. The same holds for a label made on a
// print's or a PDF export's workers: recorded there and played back into the
// page.
TEST(LabelFit, OnlyAPictureBeyondTheToleranceIsCutAtItsCell)
{
    const double k = 10;   // pixels a point
    const QRectF cell(10, 10, 100, 72);
    const auto render = [&](const PtImage& image, const QRectF& drawn, bool asLabel) {
        QImage out(int(130 * k), int(100 * k), QImage::Format_ARGB32_Premultiplied);
        out.fill(Qt::white);
        QPainter p(&out);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        if (asLabel)
            Draw_In_Cell(p, cell, drawn, image);
        else
            image.draw(p, drawn, 1.0);
        return out;
    };
    // Dark pixels in rows [top, bottom) of the columns of the picture.
    const auto ink = [&](const QImage& img, double top, double bottom) {
        int n = 0;
        for (int y = int(std::ceil(top * k)); y < int(std::floor(bottom * k)); ++y)
            for (int x = int(30 * k); x < int(90 * k); ++x)
                n += qGray(img.pixel(x, y)) < 128;
        return n;
    };
    for (const bool played : {false, true}) {
        SCOPED_TRACE(played ? "recorded and played back" : "drawn");
        // The label as the page's thread gets it.
        const auto label = [&](QSizeF size) {
            const PtImage drawnHere = Colour_Label(size, Qt::black);
            if (!played)
                return drawnHere;
            const PtImage recorded = drawnHere.recorded();
            EXPECT_TRUE(recorded.isRecorded());
            return recorded;
        };
        for (double over : {0.044, 0.45}) {
            SCOPED_TRACE(over);
            const QRectF drawn(20, 10 - over, 80, 72 + over);
            const PtImage picture = label(drawn.size());
            EXPECT_EQ(render(picture, drawn, true), render(picture, drawn, false));
        }
        // The strip above the cell (4.5 pixels) is drawn.
        const QImage within = render(label(QSizeF(80, 72.45)), QRectF(20, 9.55, 80, 72.45), true);
        EXPECT_EQ(ink(within, 9.55, 10), int(std::floor(10 * k) - std::ceil(9.55 * k)) * int(60 * k));
        // Two points past the top and the bottom: cut at the cell's edges.
        const QRectF drawn(20, 8, 80, 76);
        const QImage cut = render(label(drawn.size()), drawn, true);
        const QImage whole = render(Colour_Label(drawn.size(), Qt::black), drawn, false);
        EXPECT_EQ(ink(cut, 8, 9.9), 0);
        EXPECT_EQ(ink(cut, 82.1, 84), 0);
        EXPECT_GT(ink(whole, 8, 9.9), 0);
        EXPECT_EQ(cut.copy(QRectF(20 * k, 10.1 * k, 80 * k, 71.8 * k).toRect()),
                  whole.copy(QRectF(20 * k, 10.1 * k, 80 * k, 71.8 * k).toRect()));
        EXPECT_EQ(ink(cut, 10.1, 81.9), ink(whole, 10.1, 81.9));
    }
}

// In a PDF page, a label played back within the tolerance of its cell adds
// no clip path; one beyond it adds the clip of its cell once, as one label
// drawn inside a single clip of its cell does.
TEST(LabelFit, APlayedBackLabelIsClippedOnlyBeyondTheToleranceAndOnce)
{
    const QRectF cell(10, 10, 100, 72);
    // The clip paths ("W n") of a page of one label drawn by `draw`.
    const auto clipsOf = [](const std::function<void(QPainter&)>& draw) {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            writer.setResolution(72);
            writer.setPageSize(QPageSize(QSizeF(130, 100), QPageSize::Point));
            writer.setPageMargins(QMarginsF());
            QPainter p(&writer);
            draw(p);
        }
        const QByteArray content = Pdf_Page_Content(pdf.data());
        EXPECT_FALSE(content.isEmpty());
        return content.count("W n") + content.count("W* n");
    };
    const PtImage within = Colour_Label(QSizeF(80, 72.45), Qt::black).recorded();
    const PtImage beyond = Colour_Label(QSizeF(80, 76), Qt::black).recorded();
    ASSERT_TRUE(within.isRecorded());
    ASSERT_TRUE(beyond.isRecorded());
    EXPECT_EQ(clipsOf([&](QPainter& p) { Draw_In_Cell(p, cell, QRectF(20, 9.55, 80, 72.45), within); }), 0);
    const int once = clipsOf([&](QPainter& p) {
        p.save();
        p.setClipRect(cell);
        p.fillRect(QRectF(20, 8, 80, 76), Qt::black);
        p.restore();
    });
    EXPECT_GT(once, 0);
    EXPECT_EQ(clipsOf([&](QPainter& p) { Draw_In_Cell(p, cell, QRectF(20, 8, 80, 76), beyond); }), once);
}

TEST(LabelFit, TheQuestionNamesWhatToChangeForEachKind)
{
    Label_Overflow o;
    o.larger = true;
    o.image = QSizeF(MM_To_Points(68.12f), MM_To_Points(25.4f));
    o.cell = QSizeF(MM_To_Points(66.68f), MM_To_Points(25.4f));
    const QString linear = Label_Overflow_Question(o, Label_Kind::Linear_Barcode);
    EXPECT_TRUE(linear.contains("Barcode: 68.12 x 25.40 mm\nLabel: 66.68 x 25.40 mm")) << linear.toStdString();
    EXPECT_TRUE(linear.contains("Bar Width"));
    EXPECT_TRUE(Label_Overflow_Question(o, Label_Kind::TwoD_Barcode).contains("symbol smaller"));
    const QString card = Label_Overflow_Question(o, Label_Kind::Card);
    EXPECT_TRUE(card.startsWith("The card is larger than its label.")) << card.toStdString();
    EXPECT_TRUE(card.contains("Card: 68.12 x 25.40 mm"));
}
