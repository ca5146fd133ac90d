// The checks the output commands make in the real main window before their
// windows open (an empty list, a typed value that does not encode, the first
// row that encodes), the design back-up around the PDF window, and a PDF
// written from barcode mode's list through the window's own job.
#include "MainWindowFixture.h"
#include "OutputTestSupport.h"

#include "common/TestSupport.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNDocument.h"
#include "core/model/Shape_Control.h"
#include "core/util/BatchServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/ExportDialogs.h"
#include "export/ExportTemplate.h"
#include "mainwindow/files/DesignFile.h"
#include "mainwindow/files/ProjectCommands.h"
#include "export/PdfExportWindow.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/design/DesignModeView.h"
#include "platform/MessageSink.h"
#include "print/PrintControls.h"
#include "print/SheetJob.h"
#include "print/PrinterList.h"
#include "print/Print_Wnd.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

namespace {

using outputtest::Windows;

struct NoPrinters {
    NoPrinters() { Set_Printer_Names_Provider([] { return QStringList(); }); }
    ~NoPrinters() { Set_Printer_Names_Provider({}); }
};

class OutputGatesTest : public MainWindowTest {
protected:
    // Barcode mode, Code 128, the list feeding the value with these values.
    BarcodeListSide& listOf(const QStringList& values)
    {
        LMNWindowController& w = make();
        chooseType(QStringLiteral("Code 128"));
        BarcodeListSide& side = *w.barcodeModeView()->listSide();
        std::vector<BarcodeRow> rows;
        for (const QString& v : values)
            rows.push_back({v, QString(), QString(), QStringLiteral("1")});
        side.list().Load_Rows(rows);
        side.data_source_chkbox->setChecked(true);
        side.barcodeData_SourceChanged();
        return side;
    }
};

TEST_F(OutputGatesTest, AnEmptyListStopsPrintPdfAndExport)
{
    NoPrinters printers;
    BarcodeListSide& side = listOf({QStringLiteral("A1")});
    side.Del_All_Row_Menu();   // answered Yes
    ASSERT_TRUE(side.list().isEmpty());
    Windows windows;
    messages.clear();
    window->print_btn->trigger();
    window->pdf_btn->trigger();
    window->export_btn->trigger();
    EXPECT_EQ(messages.filter(QStringLiteral("List is empty.")).size(), 3) << messages.join('|').toStdString();
    EXPECT_TRUE(windows.seen.isEmpty());
}

TEST_F(OutputGatesTest, TheJobStartsFromTheFirstRowThatEncodesOrTheSelectionStays)
{
    NoPrinters printers;
    BarcodeListSide& side = listOf({QString(), QString(), QStringLiteral("GOOD3"), QStringLiteral("GOOD4")});
    Windows windows;
    int rowWhenOpened = -1;
    windows.on = [&](QDialog& d) {
        if (qobject_cast<PDF_Export*>(&d) || qobject_cast<Export_Barcode*>(&d))
            rowWhenOpened = side.Selected_Row();
    };
    window->pdf_btn->trigger();
    EXPECT_EQ(windows.seen, QStringList{"PDF_Export"});   // no printer needed
    EXPECT_EQ(rowWhenOpened, 2);
    rowWhenOpened = -1;
    side.Select_Valid_Value_For_Barcode_Setting_Mode(0);
    window->export_btn->trigger();
    EXPECT_EQ(windows.seen.value(1), "Export_Barcode");
    EXPECT_EQ(rowWhenOpened, 2);

    // No row encodes: the message, the earlier row selected again, no window.
    side.list().Load_Rows({{QString(), QString(), QString(), "1"}, {QString(), QString(), QString(), "1"}});
    side.Reload_List();
    side.Select_Valid_Value_For_Barcode_Setting_Mode(1);
    windows.seen.clear();
    messages.clear();
    window->pdf_btn->trigger();
    window->export_btn->trigger();
    EXPECT_TRUE(windows.seen.isEmpty()) << windows.seen.join('|').toStdString();
    EXPECT_EQ(messages.filter(QStringLiteral("Invalid barcode value or value is too long.")).size(), 2);
    EXPECT_EQ(side.Selected_Row(), 1);

    // Print needs a printer: "No printer found." once the checks pass.
    side.list().Load_Rows({{QStringLiteral("OK1"), QString(), QString(), "1"}});
    side.Reload_List();
    messages.clear();
    window->print_btn->trigger();
    EXPECT_TRUE(sawMessage(QStringLiteral("No printer found.")));
    EXPECT_TRUE(windows.seen.isEmpty());
}

TEST_F(OutputGatesTest, PdfOfTheListThroughTheWindowReadsBackRowByRow)
{
    NoPrinters printers;
    listOf({QStringLiteral("ROW-1"), QString(), QStringLiteral("ROW-3")});
    QTemporaryDir dir;
    Windows windows;
    std::shared_ptr<Job_Handle<Pdf_Export_Report>> job;
    windows.on = [&](QDialog& d) {
        auto* pdf = qobject_cast<PDF_Export*>(&d);
        if (!pdf)
            return;   // the after-export box: left as it is
        EXPECT_TRUE(pdf->sheetPane->skip_inavlid_chk->isChecked());
        EXPECT_EQ(pdf->Page_width_txt->text(), "210.00");   // the default page without a printer
        pdf->pdf_option[3]->click();
        pdf->use_label_size_chk_box->click();
        job = outputtest::Export_Pdf_And_Close(*pdf, QStringLiteral("List"), dir.path());
        ASSERT_TRUE(job && job->done.load());
    };
    window->pdf_btn->trigger();
    ASSERT_TRUE(job);
    EXPECT_EQ(job->report().skippedRows, QList<int>{2});
    const QString pdf = QDir(dir.path()).filePath("Zorv PDF Label/List.PDF");
    ASSERT_TRUE(QFileInfo::exists(pdf));
    for (int page = 1; page <= 2; ++page) {
        QTemporaryDir out;
        testsupport::Run_Tool("pdftoppm", {"-r", "300", "-f", QString::number(page), "-l", QString::number(page),
                                           "-singlefile", "-png", pdf, out.filePath("p")});
        EXPECT_EQ(testsupport::Zbar_Decode(out.filePath("p.png")), page == 1 ? QByteArray("ROW-1") : QByteArray("ROW-3"));
    }
    EXPECT_TRUE(windows.seen.contains("Open_Export_Log"));
}

TEST_F(OutputGatesTest, DesignPdfTakesTheBackUpAndPutsTheDesignBack)
{
    NoPrinters printers;
    LMNWindowController& w = make();
    w.Designing_Mode_Select();
    auto shape = std::make_shared<Shape_Control>();
    shape->Set_Shape_Type(QStringLiteral("R"));
    shape->_isDrawingFill = true;
    shape->_fillColor = Qt::blue;
    shape->alpha_val = 1.0f;
    shape->_bounds = QRectF(20, 20, 60, 40);
    w.designModeView()->document()->insertGraphic(shape, 0);
    QTemporaryDir dir;
    Windows windows;
    int itemsWhileOpen = -1;
    windows.on = [&](QDialog& d) {
        auto* pdf = qobject_cast<PDF_Export*>(&d);
        if (!pdf)
            return;
        itemsWhileOpen = w.Get_Front_Control_Count();
        EXPECT_FALSE(pdf->sheetPane->width_Stepper->isEnabled());
        EXPECT_EQ(pdf->sheetPane->Total_Text->text(), "1");
        pdf->file_name_save_txt->setText(QStringLiteral("Card"));
        pdf->chooseFolder = [&dir] { return dir.path(); };
        pdf->export_btn->click();
        ASSERT_TRUE(pdf->lastJob());
        ASSERT_TRUE(outputtest::Wait_For([&] { return pdf->lastJob()->done.load(); }));
        // Meanwhile the canvas is emptied, as if a job had filled its items.
        w.graphicView()->delete_all_control();
        pdf->cancel_btn->click();
    };
    w.pdf_btn->trigger();
    EXPECT_EQ(itemsWhileOpen, 1);
    // The design is back from the back-up, and the card panels show.
    ASSERT_EQ(w.Get_Front_Control_Count(), 1);
    EXPECT_EQ(w.Get_Front_Controls_Array().first()->bounds(), QRectF(20, 20, 60, 40));
    const QString pdf = QDir(dir.path()).filePath("Zorv PDF Label/Card.PDF");
    ASSERT_TRUE(QFileInfo::exists(pdf));
    // The card's blue rectangle is on the page (a 1 x 1 sheet is a page per label).
    QTemporaryDir out;
    testsupport::Run_Tool("pdftoppm", {"-r", "72", "-singlefile", "-png", pdf, out.filePath("p")});
    const QImage page(out.filePath("p.png"));
    ASSERT_FALSE(page.isNull());
    int blue = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            if (qBlue(c) > 150 && qRed(c) < 100 && qGreen(c) < 100)
                ++blue;
        }
    EXPECT_NEAR(blue, 60 * 40, 400);
}

TEST_F(OutputGatesTest, SaveAsTemplateWritesAUserTemplateAndKnowsTheTemplateItCameFrom)
{
    LMNWindowController& w = make();
    w.Designing_Mode_Select();
    auto shape = std::make_shared<Shape_Control>();
    shape->Set_Shape_Type(QStringLiteral("R"));
    shape->_bounds = QRectF(10, 10, 30, 20);
    shape->Set_Data_source_type(1);
    shape->Set_Batch_List_Name(QStringLiteral("Names"));
    w.designModeView()->document()->insertGraphic(shape, 0);
    Windows windows;
    QString passedShown;
    windows.on = [&](QDialog& d) {
        if (auto* t = qobject_cast<Export_Template*>(&d)) {
            passedShown = t->template_passed->text();
            t->template_name->setText(QStringLiteral("Shelf"));
            t->ok_btn->click();
        }
    };
    QAction* templateCommand = w.export_btn->menu()->actions().value(1);
    templateCommand->trigger();
    const QString path = User_Template_Path(QStringLiteral("Shelf"));
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(passedShown.isEmpty());
    EXPECT_TRUE(sawMessage(QStringLiteral("Template has been saved successfully.")));
    // The file is a design whose start option is "T" and whose items carry no binding;
    // the open design keeps its binding.
    const std::optional<QVariant> root = Read_Design_Root(path);
    ASSERT_TRUE(root);
    Item_Record_Context context;
    const Design_File_Read read = Read_Design_Content(*root, context, false);
    ASSERT_TRUE(read.ok) << read.reason.toStdString();
    EXPECT_EQ(read.content.startOption, "T");
    EXPECT_EQ(shape->data_source_type, 1);
    EXPECT_EQ(shape->batch_list_name, "Names");

    // Opened again, the design knows its template: saving under the same name asks nothing.
    ASSERT_EQ(w.projectCommands()->Read_and_load_design_Log_NEW_METHOD(path, QStringLiteral("L"), true), 1);
    EXPECT_EQ(w.Template_Opened_From(), "Shelf");
    messages.clear();
    templateCommand->trigger();
    EXPECT_EQ(passedShown, "Shelf");
    EXPECT_FALSE(sawMessage(QStringLiteral("Template with this name already exists")));
    EXPECT_TRUE(sawMessage(QStringLiteral("Template has been saved successfully.")));
    QFile::remove(path);
}

} // namespace
