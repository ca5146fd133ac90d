// The export command through its windows, as the main window runs it.
#include "ExportTestSupport.h"
#include "common/FakeBatchServices.h"
#include "core/FakeMainWindow.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/SharedValues.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "export/ExportDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace exporttest;

TEST(ExportCommand, DesignRangeTwoToFourWritesThreeCardsAfterRefusingABadRange)
{
    QTemporaryDir dir;
    ScriptedMessages msgs;
    FakeBatchServices batch;
    batch.cardImage = [](int row) { return Card_With(Code128(QStringLiteral("C%1").arg(row + 1)), QSizeF(108, 54)); };
    batch.mode = 1;
    batch.designRows(5);
    QStringList said;
    msgs.onDialog = [&](QDialog& d) {
        auto* w = dynamic_cast<ExportWindow*>(&d);
        if (!w) return;  // the after-export box: left unanswered (Cancel)
        EXPECT_TRUE(w->exp_rad_def->isChecked());
        EXPECT_EQ(w->Total_Text->value(), 5);
        w->ex_bar_image_type_combo->setCurrentIndex(3);  // png
        w->Sel_print_rd->click();
        w->from_Text->setValue(5);
        w->To_Text->setValue(3);
        w->Export_Dest_Path->setText(dir.path());
        w->setResult(0);   // the one window may keep the result of an earlier run
        w->export_btn_on_export_image->click();  // refused: the sheet stays open
        said = msgs.texts();
        EXPECT_EQ(w->result(), 0);
        w->from_Text->setValue(2);
        w->To_Text->setValue(4);
        w->export_btn_on_export_image->click();
    };
    const auto job = Export_Command();
    ASSERT_TRUE(job);
    ASSERT_TRUE(Pump_Until([&] { return job->done.load(); }));
    EXPECT_EQ(said, QStringList{"\nPlease select valid range."});
    EXPECT_EQ(Files_In(dir.filePath("Zorv Label")), (QStringList{"Label (1).png", "Label (2).png", "Label.png"}));
    EXPECT_EQ(batch.cardRows, (QList<int>{1, 2, 3}));
    EXPECT_EQ(testsupport::Zbar_Decode(dir.filePath("Zorv Label/Label (2).png")), QByteArray("C4"));
    EXPECT_EQ(batch.backups, 1);
    EXPECT_EQ(batch.restores, 1);
}

TEST(ExportCommand, SheetChecksNameAffixesAndDestination)
{
    ScriptedMessages msgs;
    FakeBatchServices batch;
    batch.mode = 1;
    msgs.onDialog = [&](QDialog& d) {
        auto* w = dynamic_cast<ExportWindow*>(&d);
        ASSERT_TRUE(w);
        EXPECT_FALSE(w->exp_rad_sv->isEnabled());  // no series bound
        w->exp_rad_cus->click();
        w->ex_bar_cus_name->setText("///");
        w->export_btn_on_export_image->click();
        w->ex_bar_cus_name->setText("Shelf");
        w->prefix_suffix_chk_box->setChecked(true);
        w->export_btn_on_export_image->click();
        w->prefix_suffix_chk_box->setChecked(false);
        w->export_btn_on_export_image->click();
        w->cancel_btn->click();
        EXPECT_TRUE(w->naming.file_name_exported.isEmpty());  // Cancel empties the settings
    };
    EXPECT_FALSE(Export_Command());
    EXPECT_EQ(msgs.texts(), (QStringList{"\nPlease enter valid file name.", "\nPlease enter prefix or suffix value.",
                                         "\nPlease select destination path."}));
    EXPECT_EQ(batch.backups, 0);
}

TEST(ExportCommand, TransparentLinearBarcodeAsksBeforeAFormatWithoutAlpha)
{
    QTemporaryDir dir;
    ScriptedMessages msgs({1});  // "No"
    FakeBatchServices batch;
    batch.mode = 0;
    batch.barcodeRows = 1;
    batch.state.transparentBackground = true;
    batch.state.value = "T-1";
    batch.rowImage = [](int) { return Code128(QStringLiteral("T-1")); };
    QString format = "jpg";
    msgs.onDialog = [&](QDialog& d) {
        auto* w = dynamic_cast<Export_Barcode*>(&d);
        if (!w) return;
        EXPECT_FALSE(w->export_range_box->isVisibleTo(w));
        w->ex_bar_image_type_combo->setCurrentIndex(format == "jpg" ? 0 : 3);
        w->exp_rad_sv->click();
        w->Export_Dest_Path->setText(dir.path());
        w->export_btn_on_export_image->click();
    };
    EXPECT_FALSE(Export_Command());
    ASSERT_EQ(msgs.requests.size(), 1u);
    EXPECT_EQ(msgs.requests[0].text, transparent_background_question);
    EXPECT_TRUE(Files_In(dir.path()).isEmpty());

    // PNG keeps the transparency: no question, one file named after the value.
    format = "png";
    msgs.requests.clear();
    EXPECT_FALSE(Export_Command());
    EXPECT_EQ(Files_In(dir.path()), QStringList{"T-1.png"});
    EXPECT_EQ(testsupport::Zbar_Decode(dir.filePath("T-1.png")), QByteArray("T-1"));
    ASSERT_EQ(msgs.requests.size(), 0u);  // the after-export box is a dialog, not a message

    // An empty list says so before any window.
    batch.barcodeRows = 0;
    EXPECT_FALSE(Export_Command());
    EXPECT_EQ(msgs.texts().last(), "\nList is empty.");
}

// The card export sheet's batch box: off, one file (Total 1, the range box
// disabled); on again, the rows of the series. With it off the export writes
// one file.
TEST(ExportCommand, TheBatchBoxOfTheCardExportTurnsTheRangeOffAndOn)
{
    QTemporaryDir dir;
    ScriptedMessages msgs;
    FakeBatchServices batch;
    FakeMainWindow main;
    main.canvasBounds = QRectF(0, 0, 108, 54);
    batch.cardImage = [](int row) { return Card_With(Code128(QStringLiteral("C%1").arg(row + 1)), QSizeF(108, 54)); };
    batch.mode = 1;
    batch.designRows(7);
    msgs.onDialog = [&](QDialog& d) {
        auto* w = dynamic_cast<ExportWindow*>(&d);
        if (!w) return;
        ASSERT_TRUE(w->Export_with_batch_chk->isChecked());
        EXPECT_EQ(w->Total_Text->value(), 7);
        EXPECT_TRUE(w->export_range_box->isEnabled());
        const auto rangeOn = [w] {
            return w->All_print_rd->isEnabled() && w->Sel_print_rd->isEnabled() && w->Total_Text->isEnabled();
        };
        EXPECT_TRUE(rangeOn());
        w->Export_with_batch_chk->click();
        EXPECT_EQ(w->Total_Text->value(), 1);
        EXPECT_FALSE(w->All_print_rd->isEnabled());
        EXPECT_FALSE(w->Sel_print_rd->isEnabled());
        EXPECT_FALSE(w->Total_Text->isEnabled());
        EXPECT_FALSE(w->To_Text->isEnabled());
        w->Export_with_batch_chk->click();
        EXPECT_EQ(w->Total_Text->value(), 7);
        EXPECT_TRUE(rangeOn());
        EXPECT_TRUE(w->All_print_rd->isChecked());
        EXPECT_FALSE(w->from_Text->isEnabled());
        // Off for the export: one file of the card as it is.
        w->Export_with_batch_chk->click();
        w->ex_bar_image_type_combo->setCurrentIndex(3);  // png
        w->Export_Dest_Path->setText(dir.path());
        w->export_btn_on_export_image->click();
    };
    EXPECT_FALSE(Export_Command());
    EXPECT_EQ(Files_In(dir.path()), QStringList{"Label.png"}) << msgs.texts().join("|").toStdString();
    EXPECT_TRUE(batch.cardRows.isEmpty());
}

// The card export lists the series of the items that print: a hidden item,
// one marked not to print and a shape give none; a barcode gives its header's
// and footer's too.
TEST(ExportCommand, TheCardExportListsTheSeriesOfItemsThatPrint)
{
    ScriptedMessages msgs;
    FakeBatchServices batch;
    FakeMainWindow main;
    batch.mode = 1;
    batch.designRows(3);
    auto bound = [](LMNGraphic& item, const QString& series) {
        item.data_source_type = 1;
        item.batch_list_name = series;
        item.ctrl_is_visible = true;
        item.print_object = 0;
    };
    LMNText text, hidden, notPrinted;
    LMNImage picture;
    LMNBarcode barcode;
    Shape_Control shape;
    bound(text, "Names");
    bound(picture, "Photos");
    bound(barcode, "Codes");
    barcode.batch_hdr_list_name = "Heads";
    barcode.batch_ftr_list_name = "Feet";
    bound(hidden, "Hidden");
    hidden.ctrl_is_visible = false;
    bound(notPrinted, "Screen only");
    notPrinted.print_object = 1;
    bound(shape, "Shapes");
    main.items = {&text, &hidden, &notPrinted, &picture, &barcode, &shape};
    QStringList listed;
    msgs.onDialog = [&](QDialog& d) {
        auto* w = dynamic_cast<ExportWindow*>(&d);
        if (!w) return;
        for (int i = 0; i < w->Used_Seres_In_Design->count(); ++i)
            listed << w->Used_Seres_In_Design->itemText(i);
        w->cancel_btn->click();
    };
    EXPECT_FALSE(Export_Command());
    EXPECT_EQ(listed, (QStringList{"Names", "Photos", "Codes", "Heads", "Feet"}));
}

// The barcode export shows no Total: "All" exports every row.
TEST(ExportCommand, TheBarcodeExportHidesTheTotal)
{
    ScriptedMessages msgs;
    FakeBatchServices batch;
    batch.mode = 0;
    batch.barcodeRows = 4;
    batch.state.dataSource = batch.state.valueChecked = true;
    batch.state.value = "R1";
    batch.rowImage = [](int row) { return Code128(QStringLiteral("R%1").arg(row + 1)); };
    bool seen = false;
    msgs.onDialog = [&](QDialog& d) {
        auto* w = dynamic_cast<Export_Barcode*>(&d);
        if (!w) return;
        seen = true;
        EXPECT_TRUE(w->export_range_box->isVisibleTo(w));
        EXPECT_FALSE(w->Total_Text->isVisibleTo(w));
        EXPECT_TRUE(w->All_print_rd->isVisibleTo(w));
        EXPECT_TRUE(w->To_Text->isVisibleTo(w));
        w->cancel_btn->click();
    };
    EXPECT_FALSE(Export_Command());
    EXPECT_TRUE(seen);
}

} // namespace
