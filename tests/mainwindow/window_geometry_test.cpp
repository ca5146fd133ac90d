// Every window of the print, export, data, image and barcode commands fits a
// 1366 x 768 screen (the test screen): opened as the user opens it, in each
// of its pages, its frame lies inside the screen's available area and no two
// visible controls side by side overlap.
#include "MainWindowFixture.h"

#include "barcode/generation/Barcode_Gen.h"
#include "data/Data_From_Excel.h"
#include "data/barcodelist/ListDialogs.h"
#include "data/series/BatchWizard.h"
#include "data/series/ExcelImport.h"
#include "data/series/Generate_List.h"
#include "data/series/Import_Wizard.h"
#include "data/series/SeriesAlerts.h"
#include "data/series/SeriesJob.h"
#include "data/series/View_Data_Series.h"
#include "export/ExportDialogs.h"
#include "export/ExportTemplate.h"
#include "export/PdfExportWindow.h"
#include "export/ProgressWindow.h"
#include "export/mail/EmailSetting.h"
#include "export/mail/SendMail.h"
#include "imagetools/crop/Cropping_Tool.h"
#include "imagetools/library/Image_Library.h"
#include "print/Card_Wizard.h"
#include "print/Print_Wnd.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QString describe(const QWidget* w)
{
    QString name = QString::fromLatin1(w->metaObject()->className());
    if (!w->objectName().isEmpty())
        name += QLatin1Char('#') + w->objectName();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        name += QLatin1String(" \"") + b->text() + QLatin1Char('"');
    return name;
}

// Pairs of visible sibling controls laid out on top of each other. Only
// siblings in the same layout are compared: a stacked page, a scroll area's
// parts and a floating overlay are left alone.
QStringList Overlapping_Controls(const QWidget* root)
{
    QStringList found;
    const QList<QWidget*> parents = root->findChildren<QWidget*>() << const_cast<QWidget*>(root);
    for (const QWidget* parent : parents) {
        if (!parent->isVisible() || !parent->layout() || qobject_cast<const QStackedWidget*>(parent)
            || qobject_cast<const QAbstractScrollArea*>(parent))
            continue;
        QList<QWidget*> kids;
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && w->isVisible() && !w->isWindow() && parent->layout()->indexOf(w) >= 0
                && w->width() > 0 && w->height() > 0)
                kids << w;
        }
        for (int i = 0; i < kids.size(); ++i)
            for (int j = i + 1; j < kids.size(); ++j)
                if (kids[i]->geometry().intersects(kids[j]->geometry()))
                    found << describe(kids[i]) + QLatin1String(" / ") + describe(kids[j]) + QLatin1String(" in ")
                                 + describe(parent);
    }
    return found;
}

class WindowGeometryTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        make().show();
    }

    // Shows `w` as the user sees it (`change` then runs on the shown window,
    // as a page turn would) and checks that it lies inside the screen.
    void expectFits(QWidget& w, const QString& what, const std::function<void()>& change = {})
    {
        SCOPED_TRACE(what.toStdString());
        w.show();
        QApplication::processEvents();
        if (change) {
            change();
            QApplication::processEvents();
        }
        const QRect avail = w.screen()->availableGeometry();
        ASSERT_EQ(avail.size(), QSize(1366, 768)) << "the test screen";
        const QRect frame = w.frameGeometry();
        EXPECT_LE(frame.width(), avail.width()) << "too wide";
        EXPECT_LE(frame.height(), avail.height()) << "too tall";
        EXPECT_TRUE(avail.contains(frame)) << "outside the screen";
        EXPECT_EQ(Overlapping_Controls(&w), QStringList());
        w.hide();
    }
};

TEST_F(WindowGeometryTest, PrintWindowsFit)
{
    Card_Wizard wizard(window.get());
    wizard.Reset_For_Opening();
    expectFits(wizard, QStringLiteral("new label: size page"));
    wizard.Reset_For_Opening();
    expectFits(wizard, QStringLiteral("new label: look page"), [&] { wizard.OK_Click(); });
    expectFits(wizard, QStringLiteral("new label: size page again"), [&] { wizard.Back_Click(); });

    Print_Wnd print(window.get());
    print.Reset_For_Opening();
    expectFits(print, QStringLiteral("print"));
    Custom_Product_Label custom(window.get());
    expectFits(custom, QStringLiteral("custom label sheet"));
    Add_Print_Profile profile(window.get());
    profile.Reset_Printers();
    expectFits(profile, QStringLiteral("print profile"));
}

TEST_F(WindowGeometryTest, ExportWindowsFit)
{
    PDF_Export pdf(window.get());
    pdf.Reset_For_Opening();
    expectFits(pdf, QStringLiteral("PDF export"));
    PDF_Help help(window.get());
    expectFits(help, QStringLiteral("PDF help"));
    ExportWindow exportWindow(window.get());
    exportWindow.Reset_Controls();
    expectFits(exportWindow, QStringLiteral("export"));
    Export_Barcode exportBarcode(window.get());
    exportBarcode.Reset_Controls();
    expectFits(exportBarcode, QStringLiteral("export barcodes"));
    Export_Template exportTemplate(window.get());
    expectFits(exportTemplate, QStringLiteral("export template"));
    Send_Modeless_Dialog progress(window.get());
    progress.Prepare(10, QStringLiteral("Exporting"));
    expectFits(progress, QStringLiteral("progress"));
    Email_Setting mailSettings(window.get());
    expectFits(mailSettings, QStringLiteral("e-mail settings"));
    Send_Mail mail(window.get());
    mail.Reset_Controls();
    expectFits(mail, QStringLiteral("send mail"));
    Direct_Mail direct(window.get());
    expectFits(direct, QStringLiteral("direct mail"));
}

TEST_F(WindowGeometryTest, DataWindowsFit)
{
    BatchWizard batch(window.get());
    batch.Reset_Controls();
    expectFits(batch, QStringLiteral("series manager"));
    Update_Ex_Num update(&batch, window.get());
    expectFits(update, QStringLiteral("series value"));
    Generate_List generate(window.get());
    generate.Reset_Controls();
    expectFits(generate, QStringLiteral("series generator"));
    Import_Wizard import(window.get());
    import.Reset_Controls();
    expectFits(import, QStringLiteral("import wizard"));
    View_Data_Series view(window.get());
    view.Reset_Controls();
    expectFits(view, QStringLiteral("series viewer"));
    Import_Excel_DataSheet sheet(window.get());
    expectFits(sheet, QStringLiteral("spreadsheet columns (design)"));
    Import_Excel excel(window.get());
    expectFits(excel, QStringLiteral("spreadsheet columns (series)"));
    Series_Alert_Box alert(QStringLiteral("Series is in use\n\nName"), {QStringLiteral("OK")}, window.get());
    expectFits(alert, QStringLiteral("series alert"));
    Series_Job_Sheet job(window.get());
    expectFits(job, QStringLiteral("series job"));
    Data_From_Excel rows(window.get());
    rows.Reset_Controls();
    expectFits(rows, QStringLiteral("spreadsheet rows"));

    Import_From_Txt_File text(window.get());
    expectFits(text, QStringLiteral("list: text import"));
    Update_List_Details details(window.get());
    expectFits(details, QStringLiteral("list: row details"));
    Generate_List_Barcode generateList(window.get());
    generateList.Reset_Controls();
    expectFits(generateList, QStringLiteral("list: generator"));
    Import_Excel_Barcode excelList(window.get());
    expectFits(excelList, QStringLiteral("list: spreadsheet import"));
}

TEST_F(WindowGeometryTest, ImageAndBarcodeWindowsFit)
{
    Cropping_Tool crop(window.get());
    crop.Reset_For_Open(0, QString());
    expectFits(crop, QStringLiteral("crop wizard"));
    Image_Library library(window.get());
    library.Prepare_For_Open();
    expectFits(library, QStringLiteral("picture library"));
    Barcode_Gen barcode(window.get());
    expectFits(barcode, QStringLiteral("barcode properties"));
}

} // namespace
