// Every window of the program fits a 1366 x 768 screen (the test screen)
// with a window manager's frame around it and a desktop panel beside it:
// opened as the user opens it, in each of its pages and with each of its
// options chosen, its frame (the inside grown by the frame a window manager
// draws, measured under openbox and kept in platform/WindowFit.h) fits the
// screen less the panel, no two visible controls side by side overlap, and
// choosing an option moves none of its buttons.
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
#include "platform/WindowFit.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QMap>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
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
        // A window that an option opens is answered at once.
        previousRunner = Set_Modal_Runner([](QDialog&) { return 0; });
        make().show();
    }

    void TearDown() override
    {
        Set_Modal_Runner(previousRunner);
        MainWindowTest::TearDown();
    }

    ModalRunner previousRunner;

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
        expectFrameFits(w);
        w.hide();
    }

    // The window's frame fits the test screen less a panel.
    static void expectFrameFits(const QWidget& w)
    {
        const QRect screen = w.screen()->geometry();
        ASSERT_EQ(screen.size(), QSize(1366, 768)) << "the test screen";
        const QSize frame = Frame_Size_Of(w.size());
        EXPECT_LE(frame.width(), screen.width()) << "too wide: " << frame.width();
        EXPECT_LE(frame.height(), screen.height() - Desktop_Panel_Height) << "too tall: " << frame.height();
        EXPECT_EQ(Overlapping_Controls(&w), QStringList());
    }

    // Where the window's push buttons are, by their text. Buttons on a tab
    // page or in a scrolling area belong to content that changes with the
    // options (a symbology's own settings) and are left out.
    static QMap<QString, QPoint> buttonPlaces(const QWidget& w)
    {
        const auto inContent = [&w](const QWidget* b) {
            for (const QWidget* p = b->parentWidget(); p && p != &w; p = p->parentWidget())
                if (qobject_cast<const QTabWidget*>(p) || qobject_cast<const QAbstractScrollArea*>(p))
                    return true;
            return false;
        };
        QMap<QString, QPoint> at;
        for (const QPushButton* b : w.findChildren<QPushButton*>())
            if (b->isVisible() && !b->text().isEmpty() && b->window() == &w && !inContent(b))
                at.insert(b->text(), b->mapTo(&w, QPoint(0, 0)));
        return at;
    }

    // Shows `w` and chooses each of its options in turn (every visible check
    // box and radio button clicked, every visible list's entries chosen):
    // with each the window still fits, keeps its size and keeps its buttons
    // where they were.
    void expectFitsInEveryOption(QWidget& w, const QString& what, const std::function<void()>& prepare = {})
    {
        SCOPED_TRACE(what.toStdString());
        w.show();
        QApplication::processEvents();
        if (prepare) {
            prepare();
            QApplication::processEvents();
        }
        expectFrameFits(w);
        QStringList moves;
        QSize size = w.size();
        QMap<QString, QPoint> places = buttonPlaces(w);
        const auto check = [&](const QString& option) {
            QApplication::processEvents();
            SCOPED_TRACE(option.toStdString());
            expectFrameFits(w);
            QStringList moved;
            const QMap<QString, QPoint> now = buttonPlaces(w);
            for (auto it = places.cbegin(); it != places.cend(); ++it)
                if (now.contains(it.key()) && now.value(it.key()) != it.value())
                    moved << it.key();
            if (w.size() != size || !moved.isEmpty())
                moves << QStringLiteral("%1: %2x%3 -> %4x%5, moved %6")
                             .arg(option).arg(size.width()).arg(size.height()).arg(w.width()).arg(w.height())
                             .arg(moved.join(QStringLiteral(", ")));
            size = w.size();
            places = now;
        };
        const QList<QAbstractButton*> options = w.findChildren<QAbstractButton*>();
        for (QAbstractButton* b : options) {
            if (!(qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b)) || !b->isVisible() || !b->isEnabled())
                continue;
            b->click();
            check(describe(b));
        }
        for (QComboBox* c : w.findChildren<QComboBox*>()) {
            if (!c->isVisible() || !c->isEnabled() || c->isEditable())
                continue;
            for (int i = 0; i < c->count(); ++i) {
                c->setCurrentIndex(i);
                emit c->activated(i);
                check(describe(c) + QLatin1String(" = ") + c->itemText(i));
            }
        }
        EXPECT_TRUE(moves.isEmpty()) << "choosing an option moved the window's buttons:\n"
                                     << moves.join(QLatin1Char('\n')).toStdString();
        w.hide();
    }
};

TEST_F(WindowGeometryTest, PrintWindowsFit)
{
    Card_Wizard wizard(window.get());
    wizard.Reset_For_Opening();
    expectFitsInEveryOption(wizard, QStringLiteral("new label: size page"));
    wizard.Reset_For_Opening();
    expectFitsInEveryOption(wizard, QStringLiteral("new label: look page"), [&] { wizard.OK_Click(); });
    expectFitsInEveryOption(wizard, QStringLiteral("new label: size page again"), [&] { wizard.Back_Click(); });

    Print_Wnd print(window.get());
    print.Reset_For_Opening();
    expectFitsInEveryOption(print, QStringLiteral("print"));
    Custom_Product_Label custom(window.get());
    expectFitsInEveryOption(custom, QStringLiteral("custom label sheet"));
    Add_Print_Profile profile(window.get());
    profile.Reset_Printers();
    expectFitsInEveryOption(profile, QStringLiteral("print profile"));
}

TEST_F(WindowGeometryTest, ExportWindowsFit)
{
    PDF_Export pdf(window.get());
    pdf.Reset_For_Opening();
    expectFitsInEveryOption(pdf, QStringLiteral("PDF export"));
    PDF_Help help(window.get());
    expectFitsInEveryOption(help, QStringLiteral("PDF help"));
    ExportWindow exportWindow(window.get());
    exportWindow.Reset_Controls();
    expectFitsInEveryOption(exportWindow, QStringLiteral("export"));
    Export_Barcode exportBarcode(window.get());
    exportBarcode.Reset_Controls();
    expectFitsInEveryOption(exportBarcode, QStringLiteral("export barcodes"));
    Export_Template exportTemplate(window.get());
    expectFitsInEveryOption(exportTemplate, QStringLiteral("export template"));
    Send_Modeless_Dialog progress(window.get());
    progress.Prepare(10, QStringLiteral("Exporting"));
    expectFitsInEveryOption(progress, QStringLiteral("progress"));
    Email_Setting mailSettings(window.get());
    expectFitsInEveryOption(mailSettings, QStringLiteral("e-mail settings"));
    Send_Mail mail(window.get());
    mail.Reset_Controls();
    expectFitsInEveryOption(mail, QStringLiteral("send mail"));
    Direct_Mail direct(window.get());
    expectFitsInEveryOption(direct, QStringLiteral("direct mail"));
}

TEST_F(WindowGeometryTest, DataWindowsFit)
{
    BatchWizard batch(window.get());
    batch.Reset_Controls();
    expectFitsInEveryOption(batch, QStringLiteral("series manager"));
    Update_Ex_Num update(&batch, window.get());
    expectFitsInEveryOption(update, QStringLiteral("series value"));
    Generate_List generate(window.get());
    generate.Reset_Controls();
    expectFitsInEveryOption(generate, QStringLiteral("series generator"));
    Import_Wizard import(window.get());
    import.Reset_Controls();
    expectFitsInEveryOption(import, QStringLiteral("import wizard"));
    View_Data_Series view(window.get());
    view.Reset_Controls();
    expectFitsInEveryOption(view, QStringLiteral("series viewer"));
    Import_Excel_DataSheet sheet(window.get());
    expectFitsInEveryOption(sheet, QStringLiteral("spreadsheet columns (design)"));
    Import_Excel excel(window.get());
    expectFitsInEveryOption(excel, QStringLiteral("spreadsheet columns (series)"));
    Series_Alert_Box alert(QStringLiteral("Series is in use\n\nName"), {QStringLiteral("OK")}, window.get());
    expectFitsInEveryOption(alert, QStringLiteral("series alert"));
    Series_Job_Sheet job(window.get());
    expectFitsInEveryOption(job, QStringLiteral("series job"));
    Data_From_Excel rows(window.get());
    rows.Reset_Controls();
    expectFitsInEveryOption(rows, QStringLiteral("spreadsheet rows"));

    Import_From_Txt_File text(window.get());
    expectFitsInEveryOption(text, QStringLiteral("list: text import"));
    Update_List_Details details(window.get());
    expectFitsInEveryOption(details, QStringLiteral("list: row details"));
    Generate_List_Barcode generateList(window.get());
    generateList.Reset_Controls();
    expectFitsInEveryOption(generateList, QStringLiteral("list: generator"));
    Import_Excel_Barcode excelList(window.get());
    expectFitsInEveryOption(excelList, QStringLiteral("list: spreadsheet import"));
}

TEST_F(WindowGeometryTest, ImageAndBarcodeWindowsFit)
{
    Cropping_Tool crop(window.get());
    crop.Reset_For_Open(0, QString());
    expectFitsInEveryOption(crop, QStringLiteral("crop wizard"));
    Image_Library library(window.get());
    library.Prepare_For_Open();
    expectFitsInEveryOption(library, QStringLiteral("picture library"));
    Barcode_Gen barcode(window.get());
    expectFitsInEveryOption(barcode, QStringLiteral("barcode properties"));
}

} // namespace

namespace {

TEST_F(WindowGeometryTest, TheMainWindowFitsInBothModes)
{
    LMNWindowController& w = *window;
    expectFitsInEveryOption(w, QStringLiteral("barcode mode"), [&w] { w.Barcode_Mode_Select(); });
    w.show();
    expectFitsInEveryOption(w, QStringLiteral("designing mode"), [&w] { w.Designing_Mode_Select(); });
}

} // namespace
