#include "print/PrintDialogs.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "print/PrintControls.h"
#include "print/PrinterList.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

Print_Preview::Print_Preview(QPrinter* printer, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Print Preview"));
    auto* column = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* previous = new QToolButton;
    previous->setText(tr("Previous"));
    previous->setToolTip(tr("Previous sheet"));
    auto* next = new QToolButton;
    next->setText(tr("Next"));
    next->setToolTip(tr("Next sheet"));
    auto* zoomOut = new QToolButton;
    zoomOut->setText(QStringLiteral("-"));
    zoomOut->setToolTip(tr("Zoom out"));
    auto* zoomIn = new QToolButton;
    zoomIn->setText(QStringLiteral("+"));
    zoomIn->setToolTip(tr("Zoom in"));
    auto* whole = new QToolButton;
    whole->setText(tr("Whole Sheet"));
    page_label = new QLabel;
    bar->addWidget(previous);
    bar->addWidget(next);
    bar->addWidget(page_label);
    bar->addStretch();
    bar->addWidget(zoomOut);
    bar->addWidget(zoomIn);
    bar->addWidget(whole);
    column->addLayout(bar);
    view = new QPrintPreviewWidget(printer, this);
    view->fitInView();
    column->addWidget(view, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    close_btn = new QPushButton(tr("Close"));
    print_btn = new QPushButton(tr("Print"));
    print_btn->setDefault(true);
    print_btn->setToolTip(tr("Print every sheet of the job on this paper"));
    buttons->addWidget(close_btn);
    buttons->addWidget(print_btn);
    column->addLayout(buttons);

    connect(previous, &QToolButton::clicked, this, [this] {
        view->setCurrentPage(view->currentPage() - 1);
        showPage();
    });
    connect(next, &QToolButton::clicked, this, [this] {
        view->setCurrentPage(view->currentPage() + 1);
        showPage();
    });
    connect(zoomIn, &QToolButton::clicked, view, [this] { view->zoomIn(); });
    connect(zoomOut, &QToolButton::clicked, view, [this] { view->zoomOut(); });
    connect(whole, &QToolButton::clicked, view, &QPrintPreviewWidget::fitInView);
    connect(view, &QPrintPreviewWidget::previewChanged, this, &Print_Preview::showPage);
    connect(close_btn, &QPushButton::clicked, this, [this] { done(0); });
    connect(print_btn, &QPushButton::clicked, this, [this] { done(Print_Code); });
    Apply_Dialog_Background(this);
    resize(760, 700);
}

void Print_Preview::showPage()
{
    page_label->setText(tr("Sheet %1 of %2").arg(view->currentPage()).arg(view->pageCount()));
}

Custom_Product_Label::Custom_Product_Label(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Custom Product Number"));
    Apply_Dialog_Background(this);
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(tr("Product number:")));
    prod_number = new QLineEdit;
    v->addWidget(prod_number);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &Custom_Product_Label::OKPressed);
    connect(buttons, &QDialogButtonBox::rejected, this, &Custom_Product_Label::CancelPressed);
}

void Custom_Product_Label::OKPressed()
{
    const QString name = Trim_Str(prod_number->text());
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter product number."));
        return;
    }
    const QString clean = Remove_Reserve_Char_In_File_Name(name);
    if (clean.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter product number."));
        return;
    }
    custom_prod_name = clean;
    done(1);
}

void Custom_Product_Label::CancelPressed()
{
    prod_number->clear();
    done(0);
}

Add_Print_Profile::Add_Print_Profile(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Print Profile"));
    Apply_Dialog_Background(this);
    auto* g = new QGridLayout(this);
    Profile_name = new QLineEdit;
    pass_profile_name = new QLineEdit(this);
    pass_profile_name->setVisible(false);
    Printer_ComboBox = new QComboBox;
    g->addWidget(new QLabel(tr("Profile name:")), 0, 0);
    g->addWidget(Profile_name, 0, 1);
    g->addWidget(new QLabel(tr("Printer:")), 1, 0);
    g->addWidget(Printer_ComboBox, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    g->addWidget(buttons, 2, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &Add_Print_Profile::OKPressed);
    connect(buttons, &QDialogButtonBox::rejected, this, &Add_Print_Profile::CancelPressed);
    Reset_Printers();
}

void Add_Print_Profile::Reset_Printers()
{
    Printer_ComboBox->clear();
    Printer_ComboBox->addItems(Printer_Names());
    Printer_ComboBox->setCurrentIndex(Printer_ComboBox->count() ? 0 : -1);
}

void Add_Print_Profile::OKPressed()
{
    const QString printer = Trim_Str(Printer_ComboBox->currentText());
    if (Printer_ComboBox->currentIndex() < 0 || printer.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select printer."));
        return;
    }
    const QString name = Trim_Str(Profile_name->text());
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter profile name."));
        return;
    }
    if (name == QLatin1String("Default") && pass_profile_name->text() != QLatin1String("Default")) {
        Show_MessageBox(QStringLiteral("This is a Default profile name.\n\nPlease enter another profile name."));
        return;
    }
    const QString clean = Remove_Reserve_Char_In_File_Name(name);
    if (clean.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter profile name."));
        return;
    }
    custom_profile_Printer = printer;
    custom_print_profile_name = clean;

    // The paper of the profile.
    PrintInfo info = MainWindowServices::printInfo();
    info.printerName = printer;
    if (!Run_Page_Setup(this, info))
        return;
    MainWindowServices::setPrintInfo(info);
    done(1);
}

void Add_Print_Profile::CancelPressed()
{
    Profile_name->clear();
    done(0);
}
