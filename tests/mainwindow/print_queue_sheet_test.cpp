// The commonest label sheet through a real print queue, as a new user prints
// it: barcode mode as it starts with Code 128 chosen, a list of 30 values,
// Print, Avery 5160 from the catalogue, the private PDF queue that ./test
// starts. A barcode wider than its label is named before anything prints;
// once it is narrowed to fit, every label of the sheet reads as its row at
// its own cell.
#include "MainWindowFixture.h"

#include "barcode/generation/PaneDriver.h"
#include "common/PrintQueue.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/MainWindowServices.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/BarcodeModeView.h"
#include "print/PrinterList.h"
#include "print/Print_Wnd.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUuid>

TEST_F(MainWindowTest, AveryFiveOneSixtyScansThroughAPrintQueueOnceItsBarcodesFit)
{
    const QString queue = testsupport::Test_Print_Queue();
    ASSERT_FALSE(queue.isEmpty());
    Set_Printer_Names_Provider({});
    const PrintInfo printBefore = MainWindowServices::printInfo();
    const auto restore = qScopeGuard([&] {
        Set_Modal_Runner({});
        MainWindowServices::setPrintInfo(printBefore);
    });
    ASSERT_TRUE(Printer_Names().contains(queue));
    // The question about a label larger than its cell is answered by `goOn`.
    bool goOn = false;
    Set_Message_Responder([&](const MessageRequest& r) {
        messages << r.text;
        return r.text.contains(QLatin1String("larger than its label")) && !goOn ? 1 : 0;
    });

    LMNWindowController& w = make();
    w.show();
    chooseType(QStringLiteral("Code 128"));   // its other settings as they start
    ASSERT_FLOAT_EQ(Current_Barcode_Settings().bar_width_mils, 20.0f);
    QStringList values;
    std::vector<BarcodeRow> rows;
    for (int i = 1; i <= 30; ++i) {
        values << QStringLiteral("SHELF-A%1").arg(i, 2, 10, QLatin1Char('0'));
        rows.push_back({values.last(), QString(), QString(), QStringLiteral("1")});
    }
    BarcodeListSide& side = *w.barcodeModeView()->listSide();
    side.list().Load_Rows(rows);
    side.data_source_chkbox->setChecked(true);
    side.barcodeData_SourceChanged();

    PrintInfo info;
    info.printerName = queue;
    info.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    MainWindowServices::setPrintInfo(info);

    // Print from the toolbar: the catalogue's Avery 5160, Print, the window closed.
    QList<Printing_View::Placed_Label> placed;
    const auto print = [&](const QString& title) {
        placed.clear();
        Set_Modal_Runner([&](QDialog& d) {
            if (auto* p = qobject_cast<Print_Wnd*>(&d)) {
                EXPECT_EQ(p->Printer_ComboBox->currentText(), queue);
                p->Predefined_Label_Changed();
                p->Label_ComboBox->setCurrentText(QStringLiteral("Avery"));
                p->comboBoxSelectionDidChange(p->Label_ComboBox);
                p->Product_num_ComboBox->setCurrentText(QStringLiteral("5160"));
                p->comboBoxSelectionDidChange(p->Product_num_ComboBox);
                EXPECT_EQ(p->sheet.Print_Col * p->sheet.Print_Row, 30);
                p->job_title = title;
                p->on_sheet = [&](int, const QList<Printing_View::Placed_Label>& labels) { placed << labels; };
                p->print_btn->click();
                p->on_sheet = nullptr;
                p->cancel_btn->click();
            }
            return d.result();
        });
        w.print_btn->trigger();
        Set_Modal_Runner({});
    };

    // The defaults make a barcode wider than the label: the user is told
    // both sizes and what to change, and No prints nothing.
    print(QStringLiteral("zl-unprinted"));
    ASSERT_EQ(messages.filter(QStringLiteral("larger than its label")).size(), 1) << messages.join('\n').toStdString();
    const QString question = messages.filter(QStringLiteral("larger than its label")).first();
    EXPECT_TRUE(question.contains(QStringLiteral("Label: 66.68 x 25.40 mm"))) << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("Bar Width"))) << question.toStdString();
    EXPECT_TRUE(placed.isEmpty());

    // Narrowed as it says, the sheet prints without a question and every
    // label reads as its row at its own cell.
    drive::enter(ctl<QLineEdit>("widthText"), QStringLiteral("14"));
    ASSERT_FLOAT_EQ(Current_Barcode_Settings().bar_width_mils, 14.0f);
    const QString stem = QStringLiteral("zltest-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    messages.clear();
    print(stem);
    EXPECT_TRUE(messages.filter(QStringLiteral("larger than its label")).isEmpty()) << messages.join('\n').toStdString();
    ASSERT_EQ(placed.size(), 30);
    const QString pdf = testsupport::Wait_For_Print_Queue_Output(stem);
    ASSERT_FALSE(pdf.isEmpty()) << "the queue wrote nothing into "
                                << testsupport::Print_Queue_Output_Folder().toStdString();
    const auto removeOutput = qScopeGuard([&] { QFile::remove(pdf); });
    ASSERT_EQ(testsupport::Pdf_Page_Count(pdf), 1);
    const double dpi = 300, scale = dpi / 72.0;
    const QImage page = testsupport::Pdf_Page_Picture(pdf, 1, int(dpi));
    ASSERT_FALSE(page.isNull());
    QTemporaryDir crops;
    int read = 0;
    for (int n = 0; n < 30; ++n) {
        SCOPED_TRACE(n + 1);
        EXPECT_EQ(placed[n].dataRow, n);
        // Within its cell, give or take the half point the size check allows.
        EXPECT_TRUE(placed[n].cell.adjusted(-0.5, -0.5, 0.5, 0.5).contains(placed[n].image));
        const QRectF cell = placed[n].cell;
        const QString path = crops.filePath(QStringLiteral("cell%1.png").arg(n));
        ASSERT_TRUE(page.copy(QRectF(cell.topLeft() * scale, cell.size() * scale).toRect()).save(path));
        const QString value = QString::fromUtf8(testsupport::ZXing_Decode(path)).trimmed();
        EXPECT_EQ(value, values[n]);
        read += value == values[n];
    }
    EXPECT_EQ(read, 30);
}
