// Lines as the user sees them in every output: the Ends chosen in the line
// panel (butt, round, square) on the card as a job prints it, in an EPS file
// and in a PDF, each read back by an outside renderer; and a line turned by
// the panel's Direction keeps its length and its middle, whichever way it
// ran before.
#include "PanelsTestSupport.h"

#include "common/TestSupport.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/model/LMNLine.h"
#include "export/ExportWriter.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>

namespace {

class LinesTest : public PanelsTest {
protected:
    void SetUp() override
    {
        PanelsTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        // A card of 300 x 200 points.
        design->Apply_Card_Size(QSizeF(300, 200));
    }

    struct Outputs {
        QImage printed, eps, pdf;
    };

    // The card as a job makes it, drawn at 72 DPI, written as EPS (the export
    // writer) and as PDF (the card's PDF data), the last two drawn by
    // Ghostscript at 72 DPI.
    Outputs outputs()
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
        o.printed = card.toImage(72).convertToFormat(QImage::Format_RGB32);
        QString error;
        const QByteArray eps = Encode_Export_File(card, dir.filePath(QStringLiteral("card.eps")), true, &error);
        EXPECT_FALSE(eps.isEmpty()) << error.toStdString();
        o.eps = render(eps, QStringLiteral("card.eps"), true);
        o.pdf = render(pdf, QStringLiteral("card.pdf"), false);
        return o;
    }

    QImage render(const QByteArray& data, const QString& name, bool eps)
    {
        const QString in = dir.filePath(name);
        const QString out = in + QStringLiteral(".png");
        QFile::remove(out);
        EXPECT_TRUE(testsupport::Write_File(in, data));
        QStringList args{QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                         QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r72"),
                         QStringLiteral("-dGraphicsAlphaBits=1")};
        if (eps)
            args << QStringLiteral("-dEPSCrop");
        args << QStringLiteral("-sOutputFile=") + out << in;
        const testsupport::ToolResult r = testsupport::Run_Tool(QStringLiteral("gs"), args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QImage(out).convertToFormat(QImage::Format_RGB32);
    }

    static bool ink(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 128; }

    // The first and last inked column of row `y`.
    static std::pair<int, int> rowExtent(const QImage& img, int y)
    {
        int first = -1, last = -1;
        for (int x = 0; x < img.width(); ++x)
            if (ink(img, x, y)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return {first, last};
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(LinesTest, EndsShowAsChosenOnThePrintedCardInEpsAndInPdf)
{
    // A black horizontal line of 20 points from x 100 to x 200 at y 100.
    auto* line = static_cast<LMNLine*>(add(LMNKind::Line, QRectF(100, 100, 100, 0)));
    line->_pointsRight = line->_pointsDown = true;
    line->_strokeColor = Qt::black;
    select({line});
    type(host->line_tab->Line_Wdt, QStringLiteral("20"));
    ASSERT_EQ(line->_strokeWidth, 20.0);

    const struct {
        const char* name;
        int row;
        int left, right;    // inked extent along the middle
        bool corner;        // ink in the corners beyond the ends
    } cases[] = {
        {"butt: the line ends where it ends", 0, 100, 199, false},
        {"round: half a width beyond each end, rounded", 1, 90, 209, false},
        {"square: half a width beyond each end, square", 2, 90, 209, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        choose(host->line_tab->Line_cap_style, c.row);
        ASSERT_EQ(line->_line_cap_style, c.row);
        const Outputs o = outputs();
        for (const auto& [what, img] : {std::pair{"printed", &o.printed}, std::pair{"EPS", &o.eps},
                                        std::pair{"PDF", &o.pdf}}) {
            SCOPED_TRACE(what);
            ASSERT_GE(img->width(), 300);
            ASSERT_GE(img->height(), 200);
            const auto [first, last] = rowExtent(*img, 100);
            EXPECT_NEAR(first, c.left, 1);
            EXPECT_NEAR(last, c.right, 1);
            // In the corners 8 to 9 points past each end, near the stroke's
            // edge: inside a square end, clear of a round one.
            EXPECT_EQ(ink(*img, 208, 91), c.corner);
            EXPECT_EQ(ink(*img, 91, 108), c.corner);
        }
    }
}

TEST_F(LinesTest, TurningALineKeepsItsLengthAndItsMiddleInEveryDirection)
{
    const double length = 120;
    const QPointF middle(150, 100);
    const struct {
        int from, to;
    } turns[] = {{0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}};
    for (const auto& t : turns) {
        SCOPED_TRACE(QStringLiteral("%1 to %2").arg(t.from).arg(t.to).toStdString());
        // A line of 120 points about (150, 100) running the first way.
        QPointF half;
        if (t.from == 0)
            half = QPointF(length / 2, 0);
        else if (t.from == 1)
            half = QPointF(0, length / 2);
        else
            half = QPointF(length / 2 / std::sqrt(2.0), length / 2 / std::sqrt(2.0));
        // Drawn from one end to the other: down and to the right.
        auto* line = static_cast<LMNLine*>(add(LMNKind::Line, QRectF(middle - half, middle + half)));
        line->_pointsRight = line->_pointsDown = true;
        line->_strokeColor = Qt::black;
        line->_strokeWidth = 2;
        select({line});
        ASSERT_EQ(host->line_tab->Line_ori_style->currentIndex(), t.from);

        choose(host->line_tab->Line_ori_style, t.to);
        EXPECT_EQ(line->Line_Direction(), t.to);
        const QLineF now(line->beginPoint(), line->endPoint());
        EXPECT_NEAR(now.length(), length, 1e-6);
        EXPECT_NEAR(now.center().x(), middle.x(), 1e-6);
        EXPECT_NEAR(now.center().y(), middle.y(), 1e-6);

        // On the printed card: the inked run along the line's way.
        const QImage card = printedCard(72).convertToFormat(QImage::Format_RGB32);
        // Steps of one point along the line's way through its middle.
        int first = 1000, last = -1000;
        for (int d = -100; d <= 100; ++d) {
            const int x = 150 + (t.to == 1 ? 0 : d);
            const int y = 100 + (t.to == 0 ? 0 : d);
            if (x >= 0 && y >= 0 && x < card.width() && y < card.height() && ink(card, x, y)) {
                first = std::min(first, d);
                last = std::max(last, d);
            }
        }
        const double drawn = (last - first + 1) * (t.to == 2 ? std::sqrt(2.0) : 1.0);
        EXPECT_NEAR(drawn, length, t.to == 2 ? 4.0 : 2.0);
        select({});
        doc->removeGraphicAtIndex(int(doc->graphicsPointers().indexOf(line)));
    }
}
