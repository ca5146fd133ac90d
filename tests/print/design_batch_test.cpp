// A designing-mode batch printed to PDF: a text bound to a series and a
// barcode bound to a spreadsheet column, filled by the batch binding one row
// a card. Each printed label shows its row: its text in the PDF's text layer
// and its barcode read by a decoder, at its cell.
#include "barcode/generation/BarcodeRoad.h"
#include "core/FakeMainWindow.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNText.h"
#include "core/util/BarcodeServices.h"
#include "data/BatchBinding.h"
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"

#include <QDir>
#include <QLineEdit>

using namespace printtest;

namespace {

// A main window whose front items live in a real document on a real canvas.
class CardWindow : public FakeMainWindow {
public:
    CardWindow()
    {
        view.bindGraphics(&document);
        view.setCardSize(QSizeF(240, 140));
        canvasBounds = QRectF(0, 0, 240, 140);
    }
    ~CardWindow() override { view.unbindGraphics(); }
    LMNGraphicView* graphicView() const override { return const_cast<LMNGraphicView*>(&view); }
    QList<LMNGraphic*> Get_Front_Controls_Array() const override { return view.graphics(); }
    void add(std::unique_ptr<LMNGraphic> item)
    {
        document.insertGraphic(LMNGraphicPtr(item.release()), int(document.graphics().size()));
    }
    LMNDocument document;
    LMNGraphicView view{*this};
};

// The barcode dialog as the batch binding uses it: real Code 128 symbols.
class RoadDialog : public BarcodeDialogServices {
public:
    RoadDialog() : m_slot(App_Services().Barcode_Gen_Var, this) {}
    void Set_Barcode_Prop_To_Control(LMNGraphic*) override {}
    PtImage Get_Image_From_Val(const QString& value, const QString&, const QString&) override
    {
        BarcodeSettings s;
        Set_Barcode_Type(s, QStringLiteral("Code 128"));
        return Make_Barcode_Image(s, value, QString(), QString());
    }

private:
    Scoped_Service<BarcodeDialogServices> m_slot;
};

} // namespace

TEST_F(PrintTest, EachLabelOfADesignBatchShowsItsRow)
{
    QTemporaryDir series;
    const QString oldFolder = Folders.Data_Folder_Path;
    Folders.Data_Folder_Path = series.path();
    const auto restore = qScopeGuard([&] { Folders.Data_Folder_Path = oldFolder; });
    const QStringList names{"Anna", "Bruno", "Chiara"};
    const QStringList codes{"ZL-A1", "ZL-B22", "ZL-C333"};
    testsupport::touch(series.filePath("Names.txt"), names.join('\n').toUtf8() + '\n');

    batch.mode = 1;
    CardWindow window;
    RoadDialog dialog;
    Batch_Binding binding;
    auto text = std::make_unique<LMNText>();
    text->_bounds = QRectF(20, 12, 200, 24);
    text->ctrl_is_visible = true;
    text->Set_text_value("name");
    text->data_source_type = 1;
    text->batch_list_name = "Names";
    window.add(std::move(text));
    auto code = std::make_unique<LMNBarcode>();
    code->_bounds = QRectF(20, 50, 180, 80);
    code->bar_image_ctrl_bounds = QRectF(20, 50, 180, 80);
    code->ctrl_is_visible = true;
    code->data_source_type = 2;
    code->excel_col_indx = 1;
    window.add(std::move(code));
    binding.excelRows().Set_Columns({"Code"});
    for (const QString& c : codes)
        binding.excelRows().Create_List_By_Array({c}, 1);

    // The main window counts the rows and fills copies, one card a row.
    batch.designCount = binding.Count_Rows();
    ASSERT_EQ(batch.designCount.Total_Batch_Excel_Card, 3);
    const auto rows = binding.Make_Rows(batch.designCount);
    batch.cardSize = QSizeF(240, 140);
    batch.cardImage = [&](int row) { return rows->image(row); };

    const QString pdf = dir.filePath("cards.pdf");
    usePdf(pdf);
    Print_Wnd w;
    w.Reset_For_Opening();
    w.sheetPane->Col_Text->setText("2");
    w.sheetPane->Col_Changed(w.sheetPane->Col_Text);
    w.sheetPane->Row_Text->setText("2");
    w.sheetPane->Row_Changed(w.sheetPane->Row_Text);
    QList<Printing_View::Placed_Label> placed;
    w.on_sheet = [&](int, const QList<Printing_View::Placed_Label>& labels) { placed << labels; };
    w.Execute_Printing(false);
    ASSERT_EQ(Pdf_Pages(pdf), 1);
    ASSERT_EQ(placed.size(), 3);

    const double dpi = 300, scale = dpi / 72.0;
    const QImage page = Pdf_Page_Image(pdf, 1, int(dpi));
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        const QRectF cell((n % 2) * 240.0, (n / 2) * 140.0, 240, 140);
        EXPECT_EQ(placed[n].dataRow, n);
        EXPECT_EQ(placed[n].cell, cell);
        const testsupport::ToolResult words = testsupport::Run_Tool(
            "pdftotext", {"-x", QString::number(int(cell.x())), "-y", QString::number(int(cell.y())),
                          "-W", QString::number(int(cell.width())), "-H", QString::number(int(cell.height())),
                          pdf, "-"});
        EXPECT_EQ(QString::fromUtf8(words.out).simplified(), names[n]);
        const QString crop = dir.filePath(QStringLiteral("card%1.png").arg(n));
        ASSERT_TRUE(page.copy(QRectF(cell.topLeft() * scale, cell.size() * scale).toRect()).save(crop));
        EXPECT_EQ(QString::fromUtf8(testsupport::Zbar_Decode(crop)).trimmed(), codes[n]);
    }
    // The live design kept its own texts.
    EXPECT_EQ(window.Get_Front_Controls_Array().first()->Text_Value, "name");
}
