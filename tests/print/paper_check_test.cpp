// The paper check before a job: the printer's paper against the label
// sheet's page, by size as the page is turned, and one label with its margins
// against the paper, within half a point.
#include "print/LabelCatalogue.h"
#include "print/LabelFit.h"
#include "print/PaperCheck.h"
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"
#include "print/SheetLayout.h"

#include <QComboBox>
#include <QFile>
#include <QPageLayout>

using namespace printtest;

namespace {

QSizeF Points(QSizeF mm) { return mm * (72.0 / 25.4); }

// The ways a user sets the printer's paper to a sheet's own page: the size as
// it is (a named size when it is one), and the upright size turned landscape.
QList<QPageLayout> Own_Paper(QSizeF pageMM)
{
    const QPageLayout asIs(QPageSize(pageMM, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF());
    const QSizeF upright(std::min(pageMM.width(), pageMM.height()), std::max(pageMM.width(), pageMM.height()));
    const QPageLayout turned(QPageSize(upright, QPageSize::Millimeter),
                             pageMM.width() > pageMM.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF());
    return {asIs, turned};
}

} // namespace

TEST(PaperCheck, ComparesSizesAsTurnedWithinHalfAPoint)
{
    const QSizeF a4 = Points(QSizeF(210, 297));   // 595.28 x 841.89
    EXPECT_TRUE(Paper_Is_Sheet_Size(QSizeF(595, 842), a4));
    EXPECT_TRUE(Paper_Is_Sheet_Size(a4, a4));
    EXPECT_FALSE(Paper_Is_Sheet_Size(QSizeF(842, 595), a4));           // the paper turned the other way
    EXPECT_FALSE(Paper_Is_Sheet_Size(QSizeF(612, 792), a4));           // Letter
    EXPECT_FALSE(Paper_Is_Sheet_Size(QSizeF(595.28 + 0.6, 842), a4));
    // A6 as Qt gives it in points is 297 x 420; its true size matches.
    const QPageLayout a6(QPageSize(QPageSize::A6), QPageLayout::Portrait, QMarginsF());
    EXPECT_FALSE(Paper_Is_Sheet_Size(a6.fullRect(QPageLayout::Point).size(), Points(QSizeF(105, 148))));
    EXPECT_TRUE(Paper_Is_Sheet_Size(Page_Size_Points(a6), Points(QSizeF(105, 148))));
    const QPageLayout a6Turned(QPageSize(QPageSize::A6), QPageLayout::Landscape, QMarginsF());
    EXPECT_TRUE(Paper_Is_Sheet_Size(Page_Size_Points(a6Turned), Points(QSizeF(148, 105))));
    EXPECT_FALSE(Paper_Is_Sheet_Size(QSizeF(), QSizeF()));

    // A label as wide as the page fits the page rounded to whole points.
    EXPECT_TRUE(Label_Fits_Paper(QSizeF(595, 842), a4, QMarginsF(), QSizeF(0, 0)));
    EXPECT_FALSE(Label_Fits_Paper(QSizeF(595, 842), QSizeF(596, 100), QMarginsF(), QSizeF(0, 0)));
    EXPECT_FALSE(Label_Fits_Paper(QSizeF(595, 842), QSizeF(580, 100), QMarginsF(10, 0, 10, 0), QSizeF(0, 0)));
    EXPECT_FALSE(Label_Fits_Paper(QSizeF(595, 842), QSizeF(100, 800), QMarginsF(), QSizeF(0, 43)));
}

// Every product of the catalogue chosen in the print window, with the
// printer's paper set to the sheet's own page in either way the user can set
// it: no question about the paper and no warning about the label's size; a
// card of the label's size is no larger than its label either.
TEST_F(PrintTest, EveryCatalogueSheetOnItsOwnPaperAsksNothing)
{
    batch.mode = 1;
    batch.designRows(1);
    Print_Wnd w;
    w.Reset_For_Opening();
    w.Predefined_Label_Changed();
    int products = 0, landscape = 0, custom = 0;
    for (const QString& vendor : Catalogue_Vendor_Names().mid(1)) {
        w.Label_ComboBox->setCurrentText(vendor);
        w.comboBoxSelectionDidChange(w.Label_ComboBox);
        ASSERT_EQ(w.prod_list.size(), w.Product_num_ComboBox->count());
        for (int i = 0; i < w.prod_list.size(); ++i) {
            const Product_Details& p = w.prod_list[i];
            SCOPED_TRACE((vendor + " " + p.productID).toStdString());
            const Predefined_Sheet s = Predefined_Sheet_From_Product(p);
            const QSizeF pageMM(s.pageWidthMM, s.pageHeightMM);
            ++products;
            landscape += s.orientation == QLatin1String("Landscape");
            custom += s.paper == QLatin1String("Custom");
            w.Product_num_ComboBox->setCurrentIndex(i);
            w.comboBoxSelectionDidChange(w.Product_num_ComboBox);
            for (const QPageLayout& layout : Own_Paper(pageMM)) {
                PrintInfo info = MainWindowServices::printInfo();
                info.pageLayout = layout;
                MainWindowServices::setPrintInfo(info);
                w.Set_values_From_Printer();
                messages.clear();
                EXPECT_TRUE(w.Paper_Checks()) << messages.join("|").toStdString();
                EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
            }
            Sheet_Job job = w.sheet;
            job.Barcode_Image = PtImage();
            job.Real_label_width = job.label_width;
            job.Real_label_hight = job.label_hight;
            EXPECT_FALSE(Find_Label_Overflow(job).larger);
        }
    }
    EXPECT_GT(products, 1690);
    EXPECT_GE(landscape, 5);
    EXPECT_GT(custom, 40);
}

// The window itself: an A6 sheet, a custom sheet wider than high and a sheet
// of labels as wide as A4 print on their own paper without a word; the
// landscape sheet on the same paper turned upright is asked about.
TEST_F(PrintTest, SheetsOnTheirOwnPaperPrintWithoutAQuestion)
{
    struct Case {
        const char* vendor;
        const char* product;
        QPageLayout paper;
    } cases[] = {
        {"Epson", "S041144", QPageLayout(QPageSize(QPageSize::A6), QPageLayout::Portrait, QMarginsF())},
        {"JAC", "F-32", QPageLayout(QPageSize(QSizeF(323, 222.25), QPageSize::Millimeter), QPageLayout::Portrait,
                                   QMarginsF())},
        {"PEARL", "PE-8007", QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF())},
    };
    batch.mode = 1;
    batch.designRows(1);
    batch.cardImage = [this](int) { return Colour_Label(batch.cardSize, Qt::darkBlue); };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.vendor) + " " + c.product);
        // The card of the label's size, as choosing the product for the card gives it.
        for (const Product_Details& p : Read_Catalogue_File(Catalogue_File_Path(c.vendor)))
            if (p.productID == QLatin1String(c.product) || p.paper_number == QLatin1String(c.product)) {
                const Predefined_Sheet s = Predefined_Sheet_From_Product(p);
                batch.cardSize = Points(QSizeF(s.widthMM, s.heightMM));
            }
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(c.product));
        PrintInfo info;
        info.pageLayout = c.paper;
        info.jobDisposition = QStringLiteral("save");
        info.savePath = pdf;
        MainWindowServices::setPrintInfo(info);
        messages.clear();
        Print_Wnd w;
        w.Reset_For_Opening();
        w.Predefined_Label_Changed();
        w.Label_ComboBox->setCurrentText(c.vendor);
        w.comboBoxSelectionDidChange(w.Label_ComboBox);
        w.Product_num_ComboBox->setCurrentText(c.product);
        ASSERT_EQ(w.Product_num_ComboBox->currentText(), c.product);
        w.comboBoxSelectionDidChange(w.Product_num_ComboBox);
        w.Execute_Printing(false);
        EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
        EXPECT_EQ(Pdf_Pages(pdf), 1);
    }

    // The landscape sheet with the paper upright: the paper is asked about.
    const QString pdf = dir.filePath("upright.pdf");
    PrintInfo info;
    info.pageLayout = QPageLayout(QPageSize(QSizeF(222.25, 323), QPageSize::Millimeter), QPageLayout::Portrait,
                                  QMarginsF());
    info.jobDisposition = QStringLiteral("save");
    info.savePath = pdf;
    MainWindowServices::setPrintInfo(info);
    messages.clear();
    Print_Wnd w;
    w.Reset_For_Opening();
    w.Predefined_Label_Changed();
    w.Label_ComboBox->setCurrentText("JAC");
    w.comboBoxSelectionDidChange(w.Label_ComboBox);
    w.Product_num_ComboBox->setCurrentText("F-32");
    w.comboBoxSelectionDidChange(w.Product_num_ComboBox);
    answer(false);
    w.Execute_Printing(false);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Please change paper"));
    EXPECT_FALSE(QFile::exists(pdf));
}
