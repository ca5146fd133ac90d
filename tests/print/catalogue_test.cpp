// The catalogue reader on files written for each rule, the shipped
// catalogue as a whole, and the reader against mutated input.
#include "print/LabelCatalogue.h"
#include "print/PrintTestSupport.h"
#include "print/SheetLayout.h"

#include <QComboBox>
#include <QFile>
#include <QRandomGenerator>

using namespace printtest;

namespace {

QString writeCatalogue(const QTemporaryDir& dir, const QString& name, const QByteArray& products)
{
    const QString path = dir.filePath(name);
    testsupport::Write_File(path, "<?xml version=\"1.0\"?>\n<labelSheets>" + products + "</labelSheets>");
    return path;
}

} // namespace

TEST_F(PrintTest, ReaderTakesNamesByTheLocaleRulesAndDecoratesRepeats)
{
    const QString path = writeCatalogue(dir, "v.xml",
        // One locName: its text. Several: the one for all locales.
        "<product productID='P' layoutGroup='address_labels_a' units='mm'>"
        "<prodName nameGroup='G'><locName locale='all'>N</locName></prodName></product>"
        "<product productID='Q' units='mm'>"
        "<prodName><locName locale='en'>English</locName><locName locale=\"all\">N</locName></prodName></product>"
        "<product productID='R' units='mm'><prodName><locName locale='de'>Deutsch</locName>"
        "<locName LOCALE=\"ALL\">Every</locName></prodName></product>"
        // No name: the description group and the identifier.
        "<product productID='S'><description descGroup='plain_cards'/></product>"
        "<product productID='T'/>");
    QList<Product_Details> list;
    QComboBox combo;
    Read_XML_File(path, QString(), QString(), false, list, &combo);
    ASSERT_EQ(list.size(), 5);
    EXPECT_EQ(list[0].paper_number, "N");
    EXPECT_EQ(list[0].Prod_name_group, "G");
    EXPECT_EQ(list[0].layoutGroup, "ADDRESS LABELS A");
    EXPECT_EQ(list[1].paper_number, "N");
    EXPECT_EQ(list[2].paper_number, "Every");
    EXPECT_EQ(list[3].paper_number, "PLAIN CARDS - S");
    EXPECT_EQ(list[3].manual_paper_name, "1");
    EXPECT_EQ(list[4].paper_number, " - T");
    EXPECT_TRUE(list[0].manual_paper_name.isEmpty());
    const QStringList items{"N", "N - Q", "Every", "PLAIN CARDS - S", " - T"};
    ASSERT_EQ(combo.count(), items.size());
    for (int i = 0; i < items.size(); ++i)
        EXPECT_EQ(combo.itemText(i), items[i]);
    // The records keep the plain name.
    EXPECT_EQ(list[1].paper_number, "N");
}

TEST_F(PrintTest, ReaderTakesSizesFromPanelGridAndSheet)
{
    const QString path = writeCatalogue(dir, "v.xml",
        // No sheet size: the master panel's.
        "<product productID='A' units='emu'><masterPanel width='1800000' height='900000' shape='round'/>"
        "<sheetGrid cellWidth='1800000' cellHeight='900000' numDown='4' numAcross='2' posX='5' posY='6' horizGap='1' vertGap='2'/></product>"
        // The grid inside the sheet; the panel first inside the sheet.
        "<product productID='B' units='in'><masterPanel width='2' height='1'/>"
        "<sheet width='8.5' height='11'><sheetGrid cellWidth='2.5' numDown='10' numAcross='3' posX='0.2' posY='0.5'/></sheet></product>"
        "<product productID='C' units='cm'><sheet width='21' height='29.7'><panel posX='1' posY='2'/></sheet></product>");
    const QList<Product_Details> list = Read_Catalogue_File(path);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].paperWidth, "1800000");
    EXPECT_EQ(list[0].paperHeight, "900000");
    EXPECT_EQ(list[0].master_shape, "round");
    EXPECT_EQ(list[0].rows, "4");
    EXPECT_EQ(list[0].topM, "6");
    EXPECT_EQ(list[0].vertigap, "2");
    EXPECT_EQ(Product_Label_Size_MM(list[0]), QSizeF(50, 25));
    // The inner grid changes only the cell width it names.
    EXPECT_EQ(list[1].labelWidth, "2.5");
    EXPECT_EQ(list[1].labelHeight, "1");
    EXPECT_EQ(list[1].cols, "3");
    EXPECT_NEAR(Product_Label_Size_MM(list[1]).width(), 2.5 / 0.0393701, 1e-9);
    EXPECT_EQ(list[2].leftM, "1");
    EXPECT_EQ(list[2].topM, "2");

    // With a vendor argument the label size stays empty.
    EXPECT_TRUE(Read_Catalogue_File(path, "Vendor")[0].labelWidth.isEmpty());

    const Predefined_Sheet c = Predefined_Sheet_From_Product(list[2]);
    EXPECT_DOUBLE_EQ(c.pageWidthMM, 210);
    EXPECT_EQ(c.paper, "A4");
    EXPECT_EQ(c.cols, "1");      // missing counts are 1
    EXPECT_DOUBLE_EQ(c.widthMM, 0);  // a missing label size is 0
    EXPECT_EQ(Predefined_Sheet_From_Product(list[0]).orientation, "Landscape");
}

TEST_F(PrintTest, APaperAsLargeAsItsLabelIsOneCell)
{
    const QString path = writeCatalogue(dir, "v.xml",
        "<product productID='R' units='mm'><masterPanel width='62' height='100'/>"
        "<sheet width='62' height='100'><sheetGrid numDown='5' numAcross='3'/></sheet></product>");
    const Predefined_Sheet s = Predefined_Sheet_From_Product(Read_Catalogue_File(path)[0]);
    EXPECT_EQ(s.rows, "1");
    EXPECT_EQ(s.cols, "1");
    EXPECT_EQ(s.paper, "Custom");
}

TEST_F(PrintTest, UnreadableFilesGiveNoProducts)
{
    EXPECT_TRUE(Read_Catalogue_File(dir.filePath("missing.xml")).isEmpty());
    testsupport::touch(dir.filePath("bad.xml"), "this is not XML <product");
    EXPECT_TRUE(Read_Catalogue_File(dir.filePath("bad.xml")).isEmpty());

    // The vendor list: "Custom", then the xml files by name, any case.
    Folders.Resource_Path = dir.path();
    QDir(dir.path()).mkpath("Formats/pages");
    testsupport::touch(dir.filePath("Formats/pages/Zeta.XML"));
    testsupport::touch(dir.filePath("Formats/pages/Alpha.xml"));
    testsupport::touch(dir.filePath("Formats/pages/NOTICE"));
    EXPECT_EQ(Catalogue_Vendor_Names(), QStringList({"Custom", "Alpha", "Zeta"}));
}

// Every product shipped: a name, a label size, and a grid that the fitting
// rule keeps whole on its own page.
TEST_F(PrintTest, EveryShippedProductFitsItsSheet)
{
    const QStringList vendors = Catalogue_Vendor_Names();
    ASSERT_GT(vendors.size(), 50);
    int products = 0;
    for (const QString& vendor : vendors.mid(1)) {
        const QList<Product_Details> list = Read_Catalogue_File(Catalogue_File_Path(vendor));
        EXPECT_FALSE(list.isEmpty()) << vendor.toStdString();
        for (const Product_Details& p : list) {
            SCOPED_TRACE((vendor + " " + p.productID).toStdString());
            ++products;
            EXPECT_FALSE(p.paper_number.isEmpty());
            EXPECT_TRUE(p.manual_paper_name.isEmpty());
            const Predefined_Sheet s = Predefined_Sheet_From_Product(p);
            ASSERT_GT(s.widthMM, 0);
            ASSERT_GT(s.heightMM, 0);
            ASSERT_GT(s.pageWidthMM, 0);
            Sheet_Geometry g;
            g.W = Page_Points_Rounded_Up(s.pageWidthMM);
            g.H = Page_Points_Rounded_Up(s.pageHeightMM);
            g.L = MM_To_Points(float(s.leftMM));
            g.T = MM_To_Points(float(s.topMM));
            g.lw = MM_To_Points(float(s.widthMM));
            g.lh = MM_To_Points(float(s.heightMM));
            g.hg = MM_To_Points(float(s.hgapMM));
            g.vg = MM_To_Points(float(s.vgapMM));
            g.cols = s.cols.toInt();
            g.rows = s.rows.toInt();
            const Grid_Fit fit = Fit_Grid_To_Paper(g, false);
            EXPECT_EQ(fit.cols, g.cols);
            EXPECT_EQ(fit.rows, g.rows);
            const QPointF last = Cell_Origin(g, g.rows, g.cols);
            EXPECT_LE(last.x() + g.lw, g.W + 0.2);
            EXPECT_GE(last.y(), -0.2);
        }
    }
    EXPECT_GT(products, 1600);
}

// Random damage to a real catalogue file never crashes the reader, and the
// combo stays in step with the records.
TEST_F(PrintTest, ReaderSurvivesMutatedFiles)
{
    QFile f(Catalogue_File_Path("Herma"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray original = f.readAll().left(40000);
    QRandomGenerator rng(20240611);
    const QString path = dir.filePath("m.xml");
    for (int round = 0; round < 300; ++round) {
        QByteArray data = original;
        const int edits = 1 + int(rng.bounded(8));
        for (int e = 0; e < edits && !data.isEmpty(); ++e) {
            const int at = int(rng.bounded(data.size()));
            switch (rng.bounded(4)) {
            case 0: data[at] = char(rng.bounded(256)); break;
            case 1: data.remove(at, int(rng.bounded(64))); break;
            case 2: data.insert(at, data.mid(int(rng.bounded(data.size())), int(rng.bounded(200)))); break;
            default: data.truncate(at); break;
            }
        }
        testsupport::Write_File(path, data);
        QList<Product_Details> list;
        QComboBox combo;
        Read_XML_File(path, QString(), QString(), false, list, &combo);
        ASSERT_EQ(combo.count(), list.size());
        for (const Product_Details& p : list) {
            const Predefined_Sheet s = Predefined_Sheet_From_Product(p);
            (void)s;
        }
    }
}
