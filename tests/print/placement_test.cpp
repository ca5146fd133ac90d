// Label sheets of many vendors printed to PDF: every label of the grid's
// four corners lies where the template collection puts it, within 0.1 mm.
// The expected numbers are the collection's own, copied with their units;
// where the collection's labels overlap or reach past the sheet, the label
// is trimmed by that much and keeps its left and top edge.
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"

#include <QComboBox>
#include <QRegularExpression>

using namespace printtest;

namespace {

// A length as the collection writes it: a number and "mm", "in", "pt" or no
// unit (points); in millimetres.
double mm(const char* text)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^([0-9.]+)\\s*([a-z]*)$")).match(QString::fromLatin1(text));
    const double v = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit == "mm") return v;
    if (unit == "in") return v * 25.4;
    return v * 25.4 / 72.0;
}

struct Template {
    const char* vendor;
    const char* part;
    QPageSize::PageSizeId paper;
    const char *w, *h;
    int nx, ny;
    const char *x0, *y0, *dx, *dy;
};

const Template kTemplates[] = {
    {"Avery", "5160", QPageSize::Letter, "2.625in", "1in", 3, 10, "0.15625in", "0.5in", "2.78125in", "1in"},
    {"Begalabel", "RC-50", QPageSize::Letter, "1.5in", "1in", 5, 10, "0.25in", "0.5in", "1.625in", "1in"},
    {"DECAdry", "DLW-1731", QPageSize::A4, "181.4", "108.0", 3, 7, "21.2", "43.9", "187.2", "108.0"},
    {"Igepa", "EA-381x212", QPageSize::A4, "38.1mm", "21.2mm", 5, 13, "9.75mm", "10.7mm", "38.1mm", "21.2mm"},
    {"Online Labels", "OL875", QPageSize::Letter, "2.5935in", "1in", 3, 10, "0.21975in", "0.5in", "2.7335in", "1in"},
    {"Worldlabel", "WL-25", QPageSize::Letter, "1.75in", "0.5in", 4, 20, "0.28125in", "0.5in", "2.0625in", "0.5in"},
    {"Endisch", "6502015x", QPageSize::A4, "20mm", "15mm", 8, 15, "14.5mm", "15mm", "23mm", "18mm"},
    {"Hisago", "ELM004", QPageSize::A4, "105mm", "99mm", 2, 3, "0mm", "0mm", "105mm", "99mm"},
    {"Rayfilm", "3442", QPageSize::A4, "17.8mm", "10mm", 10, 27, "4.75mm", "13.5mm", "20.3mm", "10mm"},
    {"Zweckform", "3477", QPageSize::A4, "105mm", "41mm", 2, 7, "0mm", "4.93mm", "105mm", "41mm"},
    // Its first column's left edge is empty in the collection: at the sheet's edge.
    {"Zweckform", "3490", QPageSize::A4, "198.425", "102.047", 3, 8, "0", "12.557", "198.425", "102.047"},
    // Two grids of one column each, which together make one grid of two.
    {"Staples", "EU BC Supreme", QPageSize::A4, "240.945pt", "155.906pt", 2, 5, "42.5197pt", "28.3465pt",
     "269.2913pt", "155.906pt"},
    // 24 mm labels at a pitch of 23 mm, trimmed to the pitch.
    {"Hisago", "OP3015", QPageSize::A4, "20mm", "23mm", 6, 10, "30mm", "15mm", "26mm", "23mm"},
    // Rows reaching 3 mm past the sheet's foot: each label 3 mm shorter.
    {"Connect", "KF10647", QPageSize::A4, "198.425pt", "33.9997mm", 3, 8, "0", "11.3386pt", "198.425pt",
     "104.882pt"},
};

// Edges (mm) of the flat-coloured area around the middle of a picture that
// starts at (left, top) mm and has `dpi` pixels an inch.
QRectF areaAround(const QImage& img, double dpi)
{
    const int cx = img.width() / 2, cy = img.height() / 2;
    const QColor c = img.pixelColor(cx, cy);
    auto same = [&](int x, int y) {
        const QColor p = img.pixelColor(x, y);
        return std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue()) < 60;
    };
    int l = cx, r = cx, t = cy, b = cy;
    while (l > 0 && same(l - 1, cy)) --l;
    while (r < img.width() - 1 && same(r + 1, cy)) ++r;
    while (t > 0 && same(cx, t - 1)) --t;
    while (b < img.height() - 1 && same(cx, b + 1)) ++b;
    const double px = 25.4 / dpi;
    return QRectF(l * px, t * px, (r + 1 - l) * px, (b + 1 - t) * px);
}

} // namespace

TEST_F(PrintTest, CatalogueSheetsPutEveryLabelWhereTheVendorsSheetHasIt)
{
    for (const Template& t : kTemplates) {
        SCOPED_TRACE(std::string(t.vendor) + " " + t.part);
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(t.part));
        usePdf(pdf, QPageSize(t.paper));
        const double w = mm(t.w), h = mm(t.h), x0 = mm(t.x0), y0 = mm(t.y0), dx = mm(t.dx), dy = mm(t.dy);

        // A design batch of one card a label, the card as large as the label,
        // in alternating colours so that touching labels stay apart.
        batch.mode = 1;
        batch.designRows(t.nx * t.ny);
        batch.cardSize = QSizeF(w * 2.834645669291, h * 2.834645669291);
        const int nx = t.nx;
        batch.cardImage = [&, nx](int row) {
            const bool odd = (row / nx + row % nx) % 2;
            return Colour_Label(batch.cardSize, odd ? QColor(200, 30, 30) : QColor(30, 30, 200));
        };

        Print_Wnd wnd;
        wnd.Reset_For_Opening();
        wnd.Predefined_Label_Changed();
        wnd.Label_ComboBox->setCurrentText(t.vendor);
        wnd.comboBoxSelectionDidChange(wnd.Label_ComboBox);
        wnd.Product_num_ComboBox->setCurrentText(t.part);
        ASSERT_EQ(wnd.Product_num_ComboBox->currentText(), t.part);
        wnd.comboBoxSelectionDidChange(wnd.Product_num_ComboBox);
        ASSERT_EQ(wnd.sheet.Print_Col, t.nx);
        ASSERT_EQ(wnd.sheet.Print_Row, t.ny);
        wnd.Execute_Printing(false);
        ASSERT_EQ(Pdf_Pages(pdf), 1);

        const double dpi = 720;
        for (const QPoint cell : {QPoint(0, 0), QPoint(t.nx - 1, 0), QPoint(0, t.ny - 1), QPoint(t.nx - 1, t.ny - 1)}) {
            SCOPED_TRACE(QStringLiteral("column %1 row %2").arg(cell.x() + 1).arg(cell.y() + 1).toStdString());
            const QRectF want(x0 + cell.x() * dx, y0 + cell.y() * dy, w, h);
            // A picture of the label with 2 mm around it.
            const double left = std::max(0.0, want.x() - 2), top = std::max(0.0, want.y() - 2);
            const double right = want.right() + 2, bottom = want.bottom() + 2;
            const int px = int(left / 25.4 * dpi), py = int(top / 25.4 * dpi);
            QTemporaryDir out;
            testsupport::Run_Tool("pdftoppm", {"-r", QString::number(dpi), "-aa", "no", "-aaVector", "no",
                                               "-x", QString::number(px), "-y", QString::number(py),
                                               "-W", QString::number(int((right - left) / 25.4 * dpi)),
                                               "-H", QString::number(int((bottom - top) / 25.4 * dpi)),
                                               "-singlefile", "-png", pdf, out.filePath("c")});
            QImage img(out.filePath("c.png"));
            ASSERT_FALSE(img.isNull());
            // Move the middle of the picture onto the middle of the label.
            const QImage centred = img.copy(
                QRect(0, 0, int(2 * (want.center().x() - px * 25.4 / dpi) / 25.4 * dpi),
                      int(2 * (want.center().y() - py * 25.4 / dpi) / 25.4 * dpi)));
            const QRectF got = areaAround(centred, dpi).translated(px * 25.4 / dpi, py * 25.4 / dpi);
            EXPECT_NEAR(got.left(), want.left(), 0.1);
            EXPECT_NEAR(got.top(), want.top(), 0.1);
            EXPECT_NEAR(got.right(), want.right(), 0.1);
            EXPECT_NEAR(got.bottom(), want.bottom(), 0.1);
        }
    }
}
