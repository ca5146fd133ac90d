// An export that partly fails says how much: through the main window's
// Export and PDF buttons, with some of the files' places taken by folders
// (the user replaces them; the writes fail), the message counts the labels
// written, the files that failed and the files attempted, and the files
// that could be written are there.
#include "MainWindowFixture.h"
#include "OutputTestSupport.h"

#include "common/TestSupport.h"
#include "export/ExportDialogs.h"
#include "export/PdfExportWindow.h"
#include "mainwindow/BarcodeListSide.h"
#include "print/PrinterList.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace outputtest;

namespace {

class PartialFailureTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        Set_Printer_Names_Provider([] { return QStringList(); });
        LMNWindowController& w = make();
        chooseType(QStringLiteral("Code 128"));
        BarcodeListSide& side = *w.barcodeModeView()->listSide();
        std::vector<BarcodeRow> rows;
        for (int i = 1; i <= 5; ++i)
            rows.push_back({QStringLiteral("ROW-%1").arg(i), QString(), QString(), QStringLiteral("1")});
        side.list().Load_Rows(rows);
        side.data_source_chkbox->setChecked(true);
        side.barcodeData_SourceChanged();
    }
    void TearDown() override
    {
        Set_Printer_Names_Provider({});
        MainWindowTest::TearDown();
    }

    // The keep-or-replace box answered Replace, for all.
    static bool replaceAll(QDialog& d)
    {
        auto* box = qobject_cast<Replcae_Confirm_Box*>(&d);
        if (!box)
            return false;
        box->apply_chk->setChecked(true);
        box->replace_button->click();
        return true;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PartialFailureTest, AnImageExportCountsTheFilesThatFailedAndWritesTheOthers)
{
    // Folders stand where rows 2 and 4 would be written (the extension in
    // either case).
    const QString out = dir.filePath(QStringLiteral("Zorv Barcode"));
    for (const char* name : {"ROW-2.png", "ROW-2.PNG", "ROW-4.png", "ROW-4.PNG"})
        ASSERT_TRUE(QDir().mkpath(QDir(out).filePath(QLatin1String(name))));
    Windows windows;
    windows.on = [&](QDialog& d) {
        if (replaceAll(d))
            return;
        auto* b = qobject_cast<Export_Barcode*>(&d);
        if (!b)
            return;
        b->ex_bar_image_type_combo->setCurrentIndex(3);   // png
        b->exp_rad_sv->click();                          // named by the value
        b->Export_Dest_Path->setText(dir.path());
        b->setResult(0);
        b->export_btn_on_export_image->click();
    };
    const int before = int(messages.size());
    window->export_btn->trigger();
    ASSERT_TRUE(Wait_For([&] { return !windows.boxMessages.isEmpty() || messages.size() > before; }));
    const QString said = windows.boxMessages.isEmpty() ? messages.last() : windows.boxMessages.first();
    EXPECT_TRUE(said.contains(QStringLiteral("3 of 5"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("2 of 5 files could not be written."))) << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("successfully"))) << said.toStdString();
    const QStringList written = Files_In(out);
    EXPECT_EQ(written.join(QLatin1Char('|')).toLower().toStdString(), "row-1.png|row-3.png|row-5.png");
    EXPECT_EQ(testsupport::Zbar_Decode(QDir(out).filePath(written.value(2))), QByteArray("ROW-5"));
}

TEST_F(PartialFailureTest, APdfExportOfAFilePerLabelCountsTheFilesThatFailed)
{
    // A folder stands where the fifth label's file would go.
    const QString out = dir.filePath(QStringLiteral("Zorv PDF Label"));
    ASSERT_TRUE(QDir().mkpath(QDir(out).filePath(QStringLiteral("List (4).PDF"))));
    Windows windows;
    std::shared_ptr<Job_Handle<Pdf_Export_Report>> job;
    windows.on = [&](QDialog& d) {
        if (replaceAll(d))
            return;
        auto* pdf = qobject_cast<PDF_Export*>(&d);
        if (!pdf)
            return;
        pdf->pdf_option[2]->click();   // a file per label
        job = Export_Pdf_And_Close(*pdf, QStringLiteral("List"), dir.path());
        ASSERT_TRUE(job && job->done.load());
    };
    window->pdf_btn->trigger();
    ASSERT_TRUE(job);
    const QString said = windows.boxMessages.isEmpty() ? messages.value(messages.size() - 1)
                                                       : windows.boxMessages.first();
    EXPECT_TRUE(said.contains(QStringLiteral("4 labels were exported in 4 files."))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("1 of 5 files could not be written."))) << said.toStdString();
    EXPECT_EQ(Files_In(out).join(QLatin1Char('|')).toStdString(),
              "List (1).PDF|List (2).PDF|List (3).PDF|List.PDF");
}
