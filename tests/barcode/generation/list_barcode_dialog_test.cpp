// The barcode properties dialog: an unchanged item comes back identical,
// Cancel changes nothing, the series bindings and their checks, the
// spreadsheet source, the renderer that never touches the dialog's
// controls, and every symbology's image read back by a decoder.
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/Barcode_Gen.h"
#include "barcode/generation/panes/SymbologyPane.h"
#include "barcode/generation/panes/ValuePane.h"
#include "common/FakeBatchServices.h"
#include "common/TestSupport.h"
#include "core/model/BarcodeItemImage.h"
#include "core/model/LMNBarcode.h"
#include "core/util/BatchServices.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHash>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_responder = Set_Message_Responder([this](const MessageRequest& r) {
            messages << (r.text.startsWith(QLatin1Char('\n')) ? r.text.mid(1) : r.text);
            return answer;
        });
        dialog = std::make_unique<Barcode_Gen>();
        dialog->hooks.seriesNames = [this] { return series.keys(); };
        dialog->hooks.firstValueOfSeries = [this](const QString& n) { return series.value(n).value(0); };
    }
    void TearDown() override
    {
        dialog.reset();
        Set_Message_Responder(m_responder);
    }
    // Loads an item as Open_Wnd does before its modal run.
    void open(const LMNGraphic& item)
    {
        dialog->Prepare_Source_Combo(item.data_source_type);
        dialog->Load_Item(item);
    }

    std::unique_ptr<Barcode_Gen> dialog;
    QStringList messages;
    int answer = 0;   // 0: the first button (OK / Yes)
    QMap<QString, QStringList> series;
    FakeBatchServices main;   // the main window: its start option

private:
    MessageResponder m_responder;
};

// The fields the dialog writes, as text, for comparing two items.
QStringList Fields(const LMNGraphic& g)
{
    auto font = [](const QFont& f) { return f.family() + "/" + QString::number(f.pointSizeF()); };
    auto colour = [](const QColor& c) { return c.isValid() ? c.name(QColor::HexArgb) : QStringLiteral("invalid"); };
    return {QString::number(g.linear_or_2d), QString::number(g.barcode_font_index), g.linear_font_val,
            g.two_d_font_val, g.header_val, g.footer_val, QString::number(g.show_hide_hdr),
            QString::number(g.show_hide_ftr), QString::number(g.show_hide_val), QString::number(g.show_val_on_top),
            QString::number(g._isDrawingFill), colour(g._fillColor), QString::number(g.align_hdr_index),
            QString::number(g.align_ftr_index), QString::number(g.data_source_type), g.batch_list_name,
            QString::number(g.batch_list_index), g.batch_hdr_list_name, QString::number(g.batch_hdr_list_index),
            g.batch_ftr_list_name, QString::number(g.batch_ftr_list_index), QString::number(g.excel_col_indx),
            QString::number(g.linear_height_val), QString::number(g.linear_width_val), QString::number(g.qr_size_val),
            QString::number(g.qr_version_index), QString::number(g.qr_ec_index), QString::number(g.pdf_hgt_val),
            QString::number(g.pdf_wdt_val), QString::number(g.pdf_ec_val), QString::number(g.dm_module_val),
            QString::number(g.dm_format_index), QString::number(g.dm_encoding_index),
            QString::number(g.hdr_margin_val), QString::number(g.ftr_margin_val), QString::number(g.val_margin_val),
            QString::number(g.TB_marging_val), QString::number(g.LR_margin_val), font(g.value_font_val),
            font(g.header_font_val), font(g.footer_font_val), colour(g.barcode_hdr_clr_val),
            colour(g.barcode_ftr_clr_val), colour(g.barcode_val_clr_val), colour(g.barcode_back_clr_val),
            colour(g.barcode_clr_val), QString::number(g.dpi_val_index), g.dpi_custom_val};
}

std::unique_ptr<LMNBarcode> Item(const QString& type, const QString& value)
{
    auto item = std::make_unique<LMNBarcode>();
    item->barcode_font_index = Symbology_Index(type);
    const bool twoD = Is_TwoD_Symbology(type);
    item->linear_or_2d = twoD ? 1 : 0;
    (twoD ? item->two_d_font_val : item->linear_font_val) = value;
    item->_fillColor = twoD ? QColor(Qt::white) : item->barcode_back_clr_val;
    return item;
}

} // namespace

TEST_F(DialogTest, UnchangedItemComesBackIdentical)
{
    std::vector<std::unique_ptr<LMNBarcode>> items;
    items.push_back(Item("Code 128", "ZORV-1"));
    auto custom = Item("QR Code", "dpi kept");
    custom->dpi_val_index = int(DPI_Choice_Items().size()) - 1;   // "Custom"
    custom->dpi_custom_val = QStringLiteral("300");
    items.push_back(std::move(custom));
    auto transparent = Item("DataMatrix", "DM 12");
    transparent->_isDrawingFill = true;
    transparent->_fillColor = QColor(Qt::transparent);
    transparent->dpi_custom_val = QStringLiteral("0");   // not in use: kept as stored
    items.push_back(std::move(transparent));
    auto styled = Item("EAN-13", "590123412345");
    styled->show_hide_hdr = 1;
    styled->align_ftr_index = 2;
    styled->linear_height_val = 12.5f;
    styled->barcode_clr_val = QColor(10, 20, 30);
    styled->header_font_val = QFont(QStringLiteral("DejaVu Serif"), 14);
    items.push_back(std::move(styled));
    for (const auto& item : items) {
        SCOPED_TRACE(item->linear_or_2d ? item->two_d_font_val.toStdString() : item->linear_font_val.toStdString());
        open(*item);
        EXPECT_TRUE(dialog->OK_Btn_Clicked()) << messages.join(" | ").toStdString();
        const std::unique_ptr<LMNGraphic> back = dialog->Take_Result(dialog->result());
        ASSERT_TRUE(back);
        EXPECT_EQ(Fields(*back), Fields(*item));
        EXPECT_FALSE(dialog->Barcode_Output_Image().isNull());
    }
    // The custom DPI field is loaded again on re-edit.
    open(*items[1]);
    EXPECT_EQ(dialog->Dialog_Settings().custom_dpi, 300);
}

TEST_F(DialogTest, CancelChangesNothing)
{
    auto item = Item("Code 39", "ABC");
    const QStringList before = Fields(*item);
    open(*item);
    dialog->valuePane()->setFieldText(ValuePane::Field::Value, QStringLiteral("CHANGED"));
    dialog->Data_source_type->setCurrentIndex(1);
    dialog->Data_Source_Changed();
    dialog->Cancel_Btn_Clicked();
    EXPECT_FALSE(dialog->Take_Result(dialog->result()));
    EXPECT_TRUE(dialog->Barcode_Output_Image().isNull());
    EXPECT_EQ(Fields(*item), before);
}

TEST_F(DialogTest, SeriesBindingsAndTheirChecks)
{
    series = {{"alpha", {"A1", "A2"}}, {"beta", {"B1"}}, {"gamma", {"G1"}}};
    auto item = Item("Code 128", "typed");
    open(*item);
    // A manual item switched to series: value and footer from series, the header typed.
    dialog->Data_source_type->setCurrentIndex(1);
    dialog->Data_Source_Changed();
    EXPECT_TRUE(dialog->use_value_series_chk->isChecked());
    EXPECT_TRUE(dialog->use_ftr_series_chk->isChecked());
    EXPECT_FALSE(dialog->use_hdr_series_chk->isChecked());
    EXPECT_FALSE(dialog->use_hdr_series_chk->isEnabled());
    EXPECT_EQ(dialog->Batch_Series->itemText(0), "<--Select-->");
    // OK with a ticked text and "<--Select-->": the message, the dialog stays.
    dialog->Batch_Series->setCurrentIndex(0);
    EXPECT_FALSE(dialog->OK_Btn_Clicked());
    EXPECT_NE(dialog->result(), 1);
    // The third entry is list index 1; the field shows the series' first value.
    dialog->Batch_Series->setCurrentIndex(2);
    dialog->Batch_Series_Changed();
    EXPECT_EQ(dialog->valuePane()->fieldText(ValuePane::Field::Value), "B1");
    messages.clear();
    EXPECT_FALSE(dialog->OK_Btn_Clicked());
    EXPECT_EQ(messages, QStringList({"Please select series for barcode footer."}));
    dialog->ftr_combo_list->setCurrentIndex(3);
    dialog->Ftr_Series_Changed();
    ASSERT_TRUE(dialog->OK_Btn_Clicked()) << messages.join(" | ").toStdString();
    std::unique_ptr<LMNGraphic> back = dialog->Take_Result(1);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->data_source_type, 1);
    EXPECT_EQ(back->batch_list_name, "beta");
    EXPECT_EQ(back->batch_list_index, 1);
    EXPECT_EQ(back->batch_ftr_list_name, "gamma");
    EXPECT_EQ(back->batch_ftr_list_index, 2);
    EXPECT_EQ(back->batch_hdr_list_name, "");

    // Loading it again: names matched without regard to case.
    back->batch_list_name = "BETA";
    open(*back);
    EXPECT_TRUE(dialog->use_value_series_chk->isChecked());
    EXPECT_EQ(dialog->Batch_Series->currentText(), "beta");
    // Untick every text: Yes in the no-series box stores the manual source.
    for (QCheckBox* c : {dialog->use_value_series_chk, dialog->use_hdr_series_chk, dialog->use_ftr_series_chk})
        c->setChecked(false);
    dialog->Use_Value_Series_Chk();
    messages.clear();
    ASSERT_TRUE(dialog->OK_Btn_Clicked());
    EXPECT_TRUE(messages.value(0).startsWith("There is no Batch Series select"));
    back = dialog->Take_Result(1);
    EXPECT_EQ(back->data_source_type, 0);
    EXPECT_EQ(back->batch_list_name, "");
    // A series item whose stored name is "<--Select-->" loads unticked and editable.
    auto odd = Item("Code 128", "x");
    odd->data_source_type = 1;
    odd->batch_list_name = "<--Select-->";
    open(*odd);
    EXPECT_FALSE(dialog->use_value_series_chk->isChecked());
    EXPECT_FALSE(dialog->valuePane()->fieldReadOnly(ValuePane::Field::Value));
    // The view button without a series says so.
    messages.clear();
    dialog->Data_source_type->setCurrentIndex(1);
    dialog->Batch_Series->setCurrentIndex(0);
    dialog->View_batch_Series_Button();
    EXPECT_EQ(messages, QStringList({"Please select the series."}));
}

TEST_F(DialogTest, StartOptionVOffersOnlyManual)
{
    main.startOption = QStringLiteral("V");
    auto item = Item("Code 128", "v");
    open(*item);
    EXPECT_EQ(dialog->Data_source_type->count(), 1);
    EXPECT_EQ(dialog->Data_source_type->itemText(0), "Manual");
    // The spreadsheet source is offered while one is bound.
    main.startOption = QStringLiteral("T");
    dialog->hooks.offersSpreadsheet = [](int) { return true; };
    dialog->hooks.spreadsheetColumns = [] { return QStringList{"Code", "Name"}; };
    dialog->hooks.firstValueOfColumn = [](int c) { return c == 1 ? QStringLiteral("N-1") : QStringLiteral("C-1"); };
    open(*item);
    ASSERT_EQ(dialog->Data_source_type->count(), 3);
    dialog->Data_source_type->setCurrentIndex(2);
    dialog->Data_Source_Changed();
    dialog->use_value_series_chk->setChecked(true);
    dialog->Batch_Series->setCurrentIndex(1);
    dialog->Batch_Series_Changed();
    EXPECT_EQ(dialog->valuePane()->fieldText(ValuePane::Field::Value), "N-1");
    ASSERT_TRUE(dialog->OK_Btn_Clicked()) << messages.join(" | ").toStdString();
    const std::unique_ptr<LMNGraphic> back = dialog->Take_Result(1);
    EXPECT_EQ(back->data_source_type, 2);
    EXPECT_EQ(back->excel_col_indx, 1);
}

TEST_F(DialogTest, OkRefusesAValueWithoutABarcode)
{
    auto item = Item("EAN-13", "590123412345");
    open(*item);
    dialog->valuePane()->setFieldText(ValuePane::Field::Value, QStringLiteral("not digits"));
    dialog->goButtonActionPerformed();
    EXPECT_FALSE(dialog->OK_Btn_Clicked());
    EXPECT_NE(dialog->result(), 1);
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.last().startsWith(invalid_barcode_msg));
}

TEST_F(DialogTest, RendererUsesItsOwnCopyOnAnyThread)
{
    // The dialog shows one item while items of other kinds are drawn.
    auto shown = Item("QR Code", "shown");
    open(*shown);
    const QString typed = dialog->valuePane()->fieldText(ValuePane::Field::Value2D);
    auto linear = Item("Code 39", "LIN");
    dialog->Set_Barcode_Prop_To_Control(linear.get());
    const PtImage a = dialog->Get_Image_From_Val("LIN", "h", "f");
    const BarcodeSettings s = Barcode_Settings_Of_Item(*linear, Symbology_Titles());
    BarcodeSettings expected = s;
    expected.dm_frame_border = false;
    const PtImage b = Make_Barcode_Image(expected, "LIN", "h", "f");
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a.toImage(150), b.toImage(150));
    // A worker draws at the same time with its own item.
    std::atomic<bool> ok{false};
    std::thread worker([&] {
        auto qr = Item("QR Code", "worker");
        dialog->Set_Barcode_Prop_To_Control(qr.get());
        ok = !dialog->Get_Image_From_Val("worker", "", "").isNull();
    });
    worker.join();
    EXPECT_TRUE(ok);
    EXPECT_TRUE(dialog->Get_Image_From_Val("", "h", "f").isNull());
    // The controls kept the item shown.
    EXPECT_EQ(dialog->valuePane()->fieldText(ValuePane::Field::Value2D), typed);
    EXPECT_EQ(dialog->symbologyPane()->Barcode_Type_Name(), "QR Code");
}

TEST_F(DialogTest, EverySymbologysDialogImageReadsBack)
{
    if (!testsupport::Tool_Available("ZXingReader"))
        FAIL() << "ZXingReader missing";
    QTemporaryDir dir;
    // What the decoders read; the others are checked against the road.
    const QHash<QString, QString> readable{
        {"Code 39", "ZORV-42"},          {"Code 128", "Zorv Label 128"}, {"Code 128 SET A", "ZORV128"},
        {"Code 128 SET B", "zorv 128"},  {"Code 128 SET C", "12345678"},  {"Interleaved 2 of 5", ""},
        {"UPCA", "03600029145"},         {"EAN-13", "590123412345"},      {"EAN-8", "9638507"},
        {"UPCE", "0123456"},             {"Codabar", "A12345B"},          {"QR Code", ""},
        {"PDF417", ""},                  {"DataMatrix", ""}};
    for (const QString& type : Symbology_Titles()) {
        SCOPED_TRACE(type.toStdString());
        const Symbology* sym = Find_Symbology(type);
        ASSERT_TRUE(sym);
        QString value = readable.value(type);
        if (value.isEmpty())
            value = sym->sampleValue();
        auto item = Item(type, value);
        item->dpi_val_index = 0;
        open(*item);
        ASSERT_TRUE(dialog->OK_Btn_Clicked()) << messages.join(" | ").toStdString();
        const PtImage image = dialog->Barcode_Output_Image();
        ASSERT_FALSE(image.isNull());
        // The dialog's image is the road's for the item's settings.
        BarcodeSettings s = Barcode_Settings_Of_Item(*item, Symbology_Titles());
        s.dm_frame_border = false;
        Apply_DPI_Choice(s);
        EXPECT_EQ(image.toImage(200), Make_Barcode_Image(s, value, s.HeaderText, s.FooterText).toImage(200));
        if (!readable.contains(type))
            continue;
        QImage px = image.toImage(sym->isTwoD() ? 600 : 300);
        QImage flat(px.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(0, 0, px);
        }
        const QString file = dir.filePath(QString::number(Symbology_Index(type)) + ".png");
        ASSERT_TRUE(flat.save(file));
        const QByteArray read = type == "DataMatrix" ? testsupport::Dmtx_Decode(file) : testsupport::ZXing_Decode(file);
        QString expected = value;
        if (type == "Codabar")
            expected = "12345";   // read without its start and stop
        EXPECT_TRUE(QString::fromUtf8(read).contains(expected)) << read.toStdString();
    }
}
