// The three hide boxes of barcode mode as a user meets them on paper: each
// text hidden in turn with its own box, the label written through the PDF
// window's job (the road the print takes too), and the texts read back from
// the file. The hidden text is gone, the other two are there, and the bars
// still read.
#include "MainWindowFixture.h"
#include "OutputTestSupport.h"

#include "common/TestSupport.h"
#include "export/PdfExportWindow.h"
#include "mainwindow/BarcodeListSide.h"
#include "print/PrinterList.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using outputtest::Windows;

class HiddenTextsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Set_Printer_Names_Provider([] { return QStringList(); });   // a PDF needs no printer
    }
    void TearDown() override
    {
        Set_Printer_Names_Provider({});
        MainWindowTest::TearDown();
    }

    // The words on the one label that the PDF window writes now.
    QStringList exportedWords(const QString& name)
    {
        std::shared_ptr<Pdf_Export_Handle> job;
        Windows windows;
        windows.on = [&](QDialog& d) {
            if (auto* pdf = qobject_cast<PDF_Export*>(&d)) {
                job = outputtest::Export_Pdf_And_Close(*pdf, name, dir.path());
                EXPECT_TRUE(job && job->done.load());
            }
        };
        window->pdf_btn->trigger();
        EXPECT_TRUE(job) << messages.join('|').toStdString();
        const QString pdf = QDir(dir.path()).filePath(QStringLiteral("Zorv PDF Label/%1.PDF").arg(name));
        EXPECT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();
        lastPdf = pdf;
        const testsupport::ToolResult r = testsupport::Run_Tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        return QString::fromUtf8(r.out).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
    QString lastPdf;
};

TEST_F(HiddenTextsTest, EachHideBoxTakesItsOwnTextOffTheLabelAndNoOther)
{
    const QString value = QStringLiteral("ZV4242");
    const QString header = QStringLiteral("ZHEADER");
    const QString footer = QStringLiteral("ZFOOTER");
    LMNWindowController& w = make();
    chooseType(QStringLiteral("Code 128"));
    drive::type(ctl<QLineEdit>("dataText"), value);
    drive::type(ctl<QLineEdit>("HeaderText"), header);
    drive::type(ctl<QLineEdit>("FooterText"), footer);
    // Barcode mode writes what its list holds: one row with the same texts.
    BarcodeListSide& side = *w.barcodeModeView()->listSide();
    side.list().Load_Rows({{value, header, footer, QStringLiteral("1")}});
    side.data_source_chkbox->setChecked(true);
    side.barcodeData_SourceChanged();

    struct Case {
        const char* box;   // the box ticked, none for the first label
        QString hidden;
    };
    const Case cases[] = {{nullptr, QString()},
                          {"captionCheckbox", value},
                          {"hideHeaderCheckbox", header},
                          {"hideFooterCheckbox", footer}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box ? c.box : "nothing hidden");
        QCheckBox* box = c.box ? ctl<QCheckBox>(c.box) : nullptr;
        if (box) {
            ASSERT_FALSE(box->isChecked());
            box->click();   // hide
        }
        const QStringList words = exportedWords(QStringLiteral("Label%1").arg(++n));
        for (const QString& text : {value, header, footer})
            EXPECT_EQ(words.count(text), text == c.hidden ? 0 : 1)
                << text.toStdString() << " in: " << words.join(' ').toStdString();
        // The bars are there whatever text is hidden.
        QTemporaryDir png;
        testsupport::Run_Tool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"),
                                                           QStringLiteral("-singlefile"), QStringLiteral("-png"),
                                                           lastPdf, png.filePath(QStringLiteral("p"))});
        EXPECT_EQ(testsupport::Zbar_Decode(png.filePath(QStringLiteral("p.png"))), value.toUtf8());
        if (box)
            box->click();   // show again
    }
}

} // namespace
