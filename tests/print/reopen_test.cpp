// The print window opened again starts afresh: a range chosen for one print
// is gone at the next opening, which prints the whole list again, and the
// copies of the last print are too.
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/panes/Stepper.h"
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace printtest;

namespace {

class PrintReopenTest : public PrintToPdfTest {
protected:
    void SetUp() override
    {
        PrintToPdfTest::SetUp();
        Set_Barcode_Type(settings, QStringLiteral("Code 128"));
        for (int i = 1; i <= 5; ++i)
            values << QStringLiteral("R%1").arg(i);
        batch.state.settings = settings;
        batch.state.value = values.first();
        batch.state.dataSource = batch.state.valueChecked = true;
        for (const QString& v : values)
            batch.list << BarcodeListRow{{"Value", v}, {"Header", ""}, {"Footer", ""}, {"PQ", "1"}};
        batch.barcodeRows = int(values.size());
        batch.rowImage = [this](int row) { return Make_Barcode_Image(settings, values.value(row), "", ""); };
    }

    // What the last print holds: the value read on each page (one label a
    // page, the window's sheet of one cell).
    QStringList printed()
    {
        QStringList read;
        const int pages = Pdf_Pages(pdf);
        for (int p = 1; p <= pages; ++p) {
            const QString png = dir.filePath(QStringLiteral("page%1.png").arg(p));
            if (!Pdf_Page_Image(pdf, p, 200).save(png))
                return {QStringLiteral("(page %1 not read)").arg(p)};
            read << QString::fromUtf8(testsupport::Zbar_Decode(png)).trimmed();
        }
        return read;
    }

    BarcodeSettings settings;
    QStringList values;
};

} // namespace

TEST_F(PrintReopenTest, ARangeOfOnePrintIsGoneWhenTheWindowOpensAgain)
{
    Print_Wnd w;
    // First opening: rows 3 to 4.
    onDialog([](QDialog& d) {
        auto& p = static_cast<Print_Wnd&>(d);
        EXPECT_TRUE(p.sheetPane->All_print_rd->isChecked());
        p.sheetPane->Sel_print_rd->click();
        p.sheetPane->from_Text->setText(QStringLiteral("3"));
        p.sheetPane->From_Stepper_Changed(p.sheetPane->from_Text);
        p.sheetPane->To_Text->setText(QStringLiteral("4"));
        p.sheetPane->To_Stepper_Changed(p.sheetPane->To_Text);
        p.print_btn->click();
        p.cancel_btn->click();
        return 0;
    });
    w.Open_Print_Wnd();
    EXPECT_EQ(printed(), (QStringList{"R3", "R4"}));

    // Second opening: Print as it opens. Every row, from the first.
    QFile::remove(pdf);
    onDialog([](QDialog& d) {
        auto& p = static_cast<Print_Wnd&>(d);
        EXPECT_TRUE(p.sheetPane->All_print_rd->isChecked());
        EXPECT_FALSE(p.sheetPane->Sel_print_rd->isChecked());
        EXPECT_EQ(p.sheetPane->from_Text->text(), "1");
        EXPECT_EQ(p.sheetPane->Total_Text->text(), "5");
        p.print_btn->click();
        p.cancel_btn->click();
        return 0;
    });
    w.Open_Print_Wnd();
    EXPECT_EQ(printed(), values);
}

TEST_F(PrintReopenTest, TheWindowOpenedAgainStartsWithOneCopy)
{
    Print_Wnd w;
    int printerCopies = 0;
    // First opening: three copies.
    onDialog([&](QDialog& d) {
        auto& p = static_cast<Print_Wnd&>(d);
        EXPECT_EQ(p.Copies_Text->text(), "1");
        p.Copies_Text->setText(QStringLiteral("3"));
        emit p.Copies_Text->editingFinished();
        p.print_btn->click();
        printerCopies = p.last_job_copies;
        p.cancel_btn->click();
        return 0;
    });
    w.Open_Print_Wnd();
    EXPECT_EQ(printerCopies, 3);
    EXPECT_EQ(printed(), values);

    // Second opening: one copy shows, and Print as it opens prints one.
    QFile::remove(pdf);
    onDialog([&](QDialog& d) {
        auto& p = static_cast<Print_Wnd&>(d);
        EXPECT_EQ(p.Copies_Text->text(), "1");
        EXPECT_DOUBLE_EQ(p.Copies_Stepper->value(), 1.0);
        p.print_btn->click();
        printerCopies = p.last_job_copies;
        p.cancel_btn->click();
        return 0;
    });
    w.Open_Print_Wnd();
    EXPECT_EQ(printerCopies, 1);
    EXPECT_EQ(printed(), values);
}
