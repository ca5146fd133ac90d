#include "print/Card_Wizard.h"

#include "core/model/Card_Property.h"
#include "core/model/LMNGraphic.h"
#include "core/util/BatchServices.h"
#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/MessageSink.h"
#include "platform/Numbers.h"
#include "print/PrintControls.h"
#include "print/PrinterList.h"
#include "print/SheetWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

QPointer<Card_Wizard> Card_Wizard::s_instance;

using namespace sheetui;

int New_Label_Transparency(double wizardValue)
{
    double t = wizardValue * 100.0;
    // A value above 1 was a percentage already.
    if (t > 100.0)
        t /= 100.0;
    if (!std::isfinite(t))
        return 100;
    return int(t);
}

Card_Wizard::Card_Wizard(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("New Label"));
    buildUi();
    // awakeFromNib.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(241, 244, 250));
    setPalette(pal);
    Card_hatch_style->addItems(Hatch_Style_Names());
    if (Card_hatch_style->count())
        Card_hatch_style->setCurrentIndex(0);
    Label_ComboBox->addItems(Catalogue_Vendor_Names());
    Label_ComboBox->setCurrentIndex(0);
}

Card_Wizard* Card_Wizard::defaultInstance()
{
    if (!s_instance)
        s_instance = new Card_Wizard(Dialog_Parent_Window());
    return s_instance;
}

void Card_Wizard::buildUi()
{
    auto* v = new QVBoxLayout(this);
    // The two pages share one place: the window keeps the size of the larger
    // and does not grow past the screen's edge when the page turns.
    m_pages = new QStackedWidget;
    v->addWidget(m_pages);

    Size_Box = new QGroupBox(tr("Size and shape"));
    auto* sg = new QGridLayout(Size_Box);
    card_name = new QLineEdit;
    Label_ComboBox = new QComboBox;
    Product_num_ComboBox = new QComboBox;
    Product_num_ComboBox->setMinimumWidth(160);
    sg->addWidget(new QLabel(tr("Name")), 0, 0);
    sg->addWidget(card_name, 0, 1, 1, 3);
    sg->addWidget(new QLabel(tr("Label vendor")), 1, 0);
    sg->addWidget(Label_ComboBox, 1, 1);
    sg->addWidget(new QLabel(tr("Product")), 1, 2);
    sg->addWidget(Product_num_ComboBox, 1, 3);
    sg->addWidget(new QLabel(tr("Width (mm)")), 2, 0);
    sg->addLayout(pairWidget(width_Text, width_Stepper, 0.1, 5000, 1, false, 70), 2, 1);
    sg->addWidget(new QLabel(tr("Height (mm)")), 2, 2);
    sg->addLayout(pairWidget(height_Text, height_Stepper, 0.1, 5000, 1, false, 70), 2, 3);
    page_frm_printer_btn = new QPushButton(tr("Paper of Page Setup..."));
    apply_size_btn = new QPushButton(tr("Apply Size"));
    auto* sb = new QHBoxLayout;
    sb->addWidget(page_frm_printer_btn);
    sb->addWidget(apply_size_btn);
    sb->addStretch();
    sg->addLayout(sb, 3, 0, 1, 4);
    auto* shapes = new QHBoxLayout;
    matrix_card_shape = new QButtonGroup(this);
    const char* names[3] = {"Rectangle", "Rounded rectangle", "Ellipse"};
    for (int i = 0; i < 3; ++i) {
        shape_rd[i] = new QRadioButton(tr(names[i]));
        matrix_card_shape->addButton(shape_rd[i], i);
        shapes->addWidget(shape_rd[i]);
    }
    shapes->addStretch();
    sg->addWidget(new QLabel(tr("Shape")), 4, 0);
    sg->addLayout(shapes, 4, 1, 1, 3);
    sg->setRowStretch(5, 1);
    m_pages->addWidget(Size_Box);

    Color_Box = new QGroupBox(tr("Look"));
    auto* cg = new QVBoxLayout(Color_Box);
    Card_border_chk = new QCheckBox(tr("Border"));
    Card_Border_Box = new QGroupBox;
    auto* bg = new QHBoxLayout(Card_Border_Box);
    Card_bordr_clr = new ColorWell(Qt::black);
    Card_border_style = new QComboBox;
    Card_border_style->addItems({tr("Solid"), tr("Dash"), tr("Dot"), tr("Dash Dot"), tr("Dash Dot Dot")});
    bg->addWidget(new QLabel(tr("Colour")));
    bg->addWidget(Card_bordr_clr);
    bg->addWidget(new QLabel(tr("Width")));
    bg->addLayout(pairWidget(Card_bor_Text, Card_bor_Stepper, 0, 50, 1, false, 70));
    bg->addWidget(Card_border_style);
    cg->addWidget(Card_border_chk);
    cg->addWidget(Card_Border_Box);

    Card_fill_chk = new QCheckBox(tr("Fill"));
    Card_Fill_Box = new QGroupBox;
    auto* fg = new QGridLayout(Card_Fill_Box);
    Card_solid_fill_rd = new QRadioButton(tr("Solid"));
    Card_gradient_fill_rd = new QRadioButton(tr("Gradient"));
    Card_Style_fill_rd = new QRadioButton(tr("Pattern"));
    Card_Image_fill_rd = new QRadioButton(tr("Picture"));
    Card_fill_clr = new ColorWell(Qt::white);
    Card_fill_Grd_1_clr = new ColorWell(Qt::white);
    Card_fill_Grd_2_clr = new ColorWell(Qt::white);
    Card_hatch_style = new QComboBox;
    Card_hatch_bk_clr = new ColorWell(Qt::white);
    fg->addWidget(Card_solid_fill_rd, 0, 0);
    fg->addWidget(Card_fill_clr, 0, 1);
    fg->addWidget(Card_gradient_fill_rd, 1, 0);
    fg->addWidget(Card_fill_Grd_1_clr, 1, 1);
    fg->addWidget(Card_fill_Grd_2_clr, 1, 2);
    fg->addLayout(pairWidget(Card_grad_Text, Card_grad_Stepper, 0, 360, 1, false, 70), 1, 3);
    fg->addWidget(Card_Style_fill_rd, 2, 0);
    fg->addWidget(Card_hatch_style, 2, 1, 1, 2);
    fg->addWidget(Card_hatch_bk_clr, 2, 3);
    fg->addWidget(Card_Image_fill_rd, 3, 0);
    Card_image_box = new QGroupBox;
    auto* ig = new QHBoxLayout(Card_image_box);
    Card_Image_path = new QLineEdit;
    Card_Image_path->setReadOnly(true);
    Card_Image_Browse = new QPushButton(tr("Browse..."));
    Card_Image_Library = new QPushButton(tr("Library..."));
    ig->addWidget(Card_Image_path, 1);
    ig->addWidget(Card_Image_Browse);
    ig->addWidget(Card_Image_Library);
    fg->addWidget(Card_image_box, 3, 1, 1, 3);
    cg->addWidget(Card_fill_chk);
    cg->addWidget(Card_Fill_Box);
    auto* alpha = new QHBoxLayout;
    // 100 % is fully opaque, 0 % fully clear.
    Card_alpha_lbl = new QLabel(tr("Opacity (%)"));
    alpha->addWidget(Card_alpha_lbl);
    alpha->addLayout(pairWidget(Card_alpha_Text, Card_alpha_Stepper, 0, 100, 1, false, 70));
    cg->addLayout(alpha);
    cg->addStretch();
    m_pages->addWidget(Color_Box);

    auto* buttons = new QHBoxLayout;
    fill_profile_btn = new QPushButton(tr("Profile"));
    Back_btn = new QPushButton(tr("Back"));
    OK_btn = new QPushButton(tr("OK"));
    Cancel_btn = new QPushButton(tr("Cancel"));
    OK_btn->setDefault(true);
    buttons->addWidget(fill_profile_btn);
    buttons->addStretch();
    buttons->addWidget(Cancel_btn);
    buttons->addWidget(Back_btn);
    buttons->addWidget(OK_btn);
    v->addLayout(buttons);

    connect(OK_btn, &QPushButton::clicked, this, &Card_Wizard::OK_Click);
    connect(Back_btn, &QPushButton::clicked, this, &Card_Wizard::Back_Click);
    connect(Cancel_btn, &QPushButton::clicked, this, &Card_Wizard::CancelClick);
    connect(Label_ComboBox, &QComboBox::activated, this, [this] { comboBoxSelectionDidChange(Label_ComboBox); });
    connect(Product_num_ComboBox, &QComboBox::activated, this,
            [this] { comboBoxSelectionDidChange(Product_num_ComboBox); });
    for (QLineEdit* f : {width_Text, height_Text}) {
        connect(f, &QLineEdit::textEdited, this, [this, f] { controlTextDidChange(f); });
        connect(f, &QLineEdit::editingFinished, this, [this, f] { controlTextDidEndEditing(f); });
    }
    connect(width_Stepper, &Stepper::stepped, this, &Card_Wizard::Card_Width_Changed);
    connect(height_Stepper, &Stepper::stepped, this, &Card_Wizard::Card_Height_Changed);
    connect(page_frm_printer_btn, &QPushButton::clicked, this, &Card_Wizard::Page_From_Printer_Click);
    connect(apply_size_btn, &QPushButton::clicked, this, &Card_Wizard::Apply_Size_Clicked);
    connect(matrix_card_shape, &QButtonGroup::idClicked, this, &Card_Wizard::card_shape_CellClick);
    connect(Card_border_chk, &QCheckBox::clicked, this, &Card_Wizard::Card_Border_ChkBox);
    connect(Card_bor_Stepper, &Stepper::stepped, this, &Card_Wizard::Card_Border_Changed);
    connect(Card_fill_chk, &QCheckBox::clicked, this, &Card_Wizard::Card_Fill_Chk_Box);
    connect(Card_solid_fill_rd, &QRadioButton::clicked, this, &Card_Wizard::Card_Solid_RD_Sel);
    connect(Card_gradient_fill_rd, &QRadioButton::clicked, this, &Card_Wizard::Card_Gradient_RD_Sel);
    connect(Card_Style_fill_rd, &QRadioButton::clicked, this, &Card_Wizard::Card_Hatch_RD_Sel);
    connect(Card_Image_fill_rd, &QRadioButton::clicked, this, &Card_Wizard::Card_Image_RD_Sel);
    connect(Card_grad_Stepper, &Stepper::stepped, this, &Card_Wizard::Card_Gradient_Changed);
    connect(Card_alpha_Stepper, &Stepper::stepped, this, &Card_Wizard::Card_Alpha_Changed);
    connect(Card_Image_Browse, &QPushButton::clicked, this, &Card_Wizard::Card_Image_Browse_Btn);
    connect(Card_Image_Library, &QPushButton::clicked, this, &Card_Wizard::Card_Image_Library_Btn);
}

int Card_Wizard::Open_Wnd()
{
    try {
        Reset_For_Opening();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    const int result = Run_Modal_Dialog(*this);
    hide();
    return result == 1 ? 1 : 0;
}

void Card_Wizard::Reset_For_Opening()
{
    Card_Shape = 0;
    next_count = 0;
    Back_btn->setEnabled(false);
    shape_rd[0]->setChecked(true);
    Card_border_style->setCurrentIndex(0);
    fill_profile_btn->setVisible(false);
    card_name->setText(default_file_name);
    m_pages->setCurrentWidget(Size_Box);
    Reset_color_box();
    Label_ComboBox->setCurrentIndex(0);
    // "Custom": size fields editable, 100 x 100 millimetres.
    comboBoxSelectionDidChange(Label_ComboBox);
    width_Stepper->setValue(100.0);
    height_Stepper->setValue(100.0);
    width_Text->setText(mm2(100.0));
    height_Text->setText(mm2(100.0));
    Apply_unit_Chaneg_Values();
    Product_num_ComboBox->setCurrentIndex(-1);
}

void Card_Wizard::Reset_color_box()
{
    Card_Solid_RD_Sel();
    Card_fill_clr->setColor(Qt::white);
    Card_fill_Grd_1_clr->setColor(Qt::white);
    Card_fill_Grd_2_clr->setColor(Qt::white);
    Card_grad_Stepper->setValue(0);
    Card_grad_Text->setText(QStringLiteral("0"));
    Card_hatch_bk_clr->setColor(Qt::white);
    Card_hatch_style->setCurrentIndex(Card_hatch_style->count() ? 0 : -1);
    Card_border_chk->setChecked(true);
    Card_bordr_clr->setColor(Qt::black);
    Card_border_style->setCurrentIndex(0);
    Card_bor_Stepper->setValue(1);
    Card_bor_Text->setText(QStringLiteral("1"));
    SetObjEnabled(Card_Border_Box, true);
    SetObjEnabled(Card_image_box, false);
    Card_Image_path->clear();
    Card_alpha_Stepper->setValue(100);
    Card_alpha_Text->setText(QStringLiteral("100"));
    Card_fill_chk->setChecked(true);
    SetObjEnabled(Card_Fill_Box, true);
    card_prop_set(QStringLiteral("S"));
}

// ---- Pages ----

void Card_Wizard::OK_Click()
{
    if (next_count == 0) {
        Apply_unit_Chaneg_Values();
        m_pages->setCurrentWidget(Color_Box);
        Back_btn->setEnabled(true);
        next_count = 1;
        return;
    }
    // The kinds not chosen go back to their defaults.
    const QString kind = Fill_Kind();
    if (kind != QLatin1String("I"))
        Card_Image_path->clear();
    if (kind != QLatin1String("S"))
        Card_fill_clr->setColor(Qt::white);
    if (kind != QLatin1String("G")) {
        Card_fill_Grd_1_clr->setColor(Qt::white);
        Card_fill_Grd_2_clr->setColor(Qt::white);
        Card_grad_Stepper->setValue(0);
        Card_grad_Text->setText(QStringLiteral("0"));
    }
    if (kind != QLatin1String("H")) {
        Card_hatch_bk_clr->setColor(Qt::white);
        Card_hatch_style->setCurrentIndex(Card_hatch_style->count() ? 0 : -1);
    }
    Card_Shape = std::max(0, matrix_card_shape->checkedId());
    if (App_Services().Batch_Services)
        App_Services().Batch_Services->SetDocumentCanvasSize(QSizeF(width_Stepper->value() * MM_To_Points_Factor,
                                                     height_Stepper->value() * MM_To_Points_Factor));
    done(1);
}

void Card_Wizard::Back_Click()
{
    if (next_count == 1) {
        fill_profile_btn->setVisible(false);
        m_pages->setCurrentWidget(Size_Box);
        Back_btn->setEnabled(false);
        next_count = 0;
        return;
    }
    CancelClick();
}

void Card_Wizard::CancelClick()
{
    // The open design keeps its card shape: the wizard's choice is its own.
    done(0);
}

void Card_Wizard::reject()
{
    CancelClick();
}

QString Card_Wizard::Fill_Kind() const
{
    if (Card_gradient_fill_rd->isChecked()) return QStringLiteral("G");
    if (Card_Style_fill_rd->isChecked()) return QStringLiteral("H");
    if (Card_Image_fill_rd->isChecked()) return QStringLiteral("I");
    return QStringLiteral("S");
}

New_Label_Choice Card_Wizard::Choice() const
{
    New_Label_Choice c;
    c.shape = Card_Shape;
    c.vendorIndex = Label_ComboBox->currentIndex();
    c.productIndex = Product_num_ComboBox->count() > 0 ? Product_num_ComboBox->currentIndex() : -1;
    c.widthMM = width_Stepper->value();
    c.heightMM = height_Stepper->value();
    c.name = card_name->text();
    c.border = Card_border_chk->isChecked();
    c.borderColour = Card_bordr_clr->color();
    c.borderWidth = Card_bor_Stepper->intValue();
    c.borderStyle = Card_border_style->currentIndex();
    c.fillColour = Card_fill_clr->color();
    c.fillKind = Fill_Kind();
    c.gradient1 = Card_fill_Grd_1_clr->color();
    c.gradient2 = Card_fill_Grd_2_clr->color();
    c.gradientValue = Card_grad_Stepper->intValue();
    c.hatchBackground = Card_hatch_bk_clr->color();
    c.hatchIndex = c.fillKind == QLatin1String("H") ? Card_hatch_style->currentIndex() : -1;
    c.transparency = New_Label_Transparency(Card_alpha_Stepper->value());
    c.imagePath = Card_Image_path->text();
    return c;
}

// ---- Size ----

void Card_Wizard::comboBoxSelectionDidChange(QComboBox* combo)
{
    try {
        if (combo == Label_ComboBox) {
            Product_num_ComboBox->clear();
            prod_list.clear();
            if (Label_ComboBox->currentIndex() <= 0) {
                Product_num_ComboBox->addItem(QString());
                Product_num_ComboBox->setEnabled(false);
                Enable_Disable_Size_Param_Acc_To_Label_Selection(true);
                width_Stepper->setValue(100.0);
                height_Stepper->setValue(100.0);
                width_Text->setText(mm2(100.0));
                height_Text->setText(mm2(100.0));
                Product_num_ComboBox->setCurrentIndex(-1);
                return;
            }
            Enable_Disable_Size_Param_Acc_To_Label_Selection(false);
            Product_num_ComboBox->setEnabled(true);
            Read_XML_File(Catalogue_File_Path(Label_ComboBox->currentText()), QString(), QString(), false,
                          prod_list, Product_num_ComboBox);
            prod_id_count = int(prod_list.size());
            if (Product_num_ComboBox->count()) {
                Product_num_ComboBox->setCurrentIndex(0);
                Read_Selected_Product_Label_Value();
            }
        } else if (combo == Product_num_ComboBox) {
            Read_Selected_Product_Label_Value();
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Card_Wizard::Read_Selected_Product_Label_Value()
{
    const int i = Product_num_ComboBox->currentIndex();
    if (prod_list.isEmpty() || i < 0 || i >= prod_list.size())
        return;
    const QSizeF mm = Product_Label_Size_MM(prod_list[i]);
    width_Stepper->setValue(mm.width());
    height_Stepper->setValue(mm.height());
    width_Text->setText(mm2(mm.width()));
    height_Text->setText(mm2(mm.height()));
    Apply_unit_Chaneg_Values();
}

void Card_Wizard::Enable_Disable_Size_Param_Acc_To_Label_Selection(bool enable)
{
    for (QLineEdit* f : {width_Text, height_Text}) {
        f->setReadOnly(!enable);
        f->setEnabled(enable);
    }
    width_Stepper->setEnabled(enable);
    height_Stepper->setEnabled(enable);
    page_frm_printer_btn->setEnabled(enable);
}

void Card_Wizard::Card_Width_Changed()
{
    width_Text->setText(mm2(width_Stepper->value()));
}

void Card_Wizard::Card_Height_Changed()
{
    height_Text->setText(mm2(height_Stepper->value()));
}

void Card_Wizard::controlTextDidChange(QLineEdit* field)
{
    if (field != width_Text && field != height_Text)
        return;
    const QString t = Size_Field_Text(field->text());
    if (t != field->text())
        field->setText(t);
}

void Card_Wizard::controlTextDidEndEditing(QLineEdit* field)
{
    if (field != width_Text && field != height_Text)
        return;
    const double v = Leading_Double_C(field->text());
    field->setText(mm2(v <= 0 ? 0.1 : v));
    Apply_unit_Chaneg_Values();
}

void Card_Wizard::Apply_unit_Chaneg_Values()
{
    const double w = Leading_Double_C(width_Text->text());
    const double h = Leading_Double_C(height_Text->text());
    width_Text->setText(mm2(w));
    height_Text->setText(mm2(h));
    width_Stepper->setValue(w);
    height_Stepper->setValue(h);
}

void Card_Wizard::Apply_Size_Clicked()
{
    Apply_unit_Chaneg_Values();
    if (App_Services().Batch_Services)
        App_Services().Batch_Services->SetDocumentCanvasSize(
            QSizeF(Leading_Double_C(width_Text->text()) * MM_To_Points_Factor,
                   Leading_Double_C(height_Text->text()) * MM_To_Points_Factor));
}

void Card_Wizard::Page_From_Printer_Click()
{
    PrintInfo info = MainWindowServices::printInfo();
    if (!Run_Page_Setup(this, info))
        return;
    MainWindowServices::setPrintInfo(info);
    // The page in its own millimetres: A4 gives 210 x 297, not its 595 x 842
    // whole points turned back (209.90 x 297.04).
    const QSizeF paper = info.pageLayout.fullRect(QPageLayout::Millimeter).size();
    const double w = paper.width(), h = paper.height();
    width_Stepper->setValue(w);
    height_Stepper->setValue(h);
    width_Text->setText(mm2(w));
    height_Text->setText(mm2(h));
}

// ---- Look ----

void Card_Wizard::card_shape_CellClick()
{
    Card_Shape = std::max(0, matrix_card_shape->checkedId());
}

void Card_Wizard::Card_Border_ChkBox()
{
    SetObjEnabled(Card_Border_Box, Card_border_chk->isChecked());
}

void Card_Wizard::Card_Border_Changed()
{
    Card_bor_Text->setText(QString::number(Card_bor_Stepper->intValue()));
}

void Card_Wizard::Card_Gradient_Changed()
{
    Card_grad_Text->setText(QString::number(Card_grad_Stepper->intValue()));
}

void Card_Wizard::Card_Alpha_Changed()
{
    Card_alpha_Text->setText(QString::number(Card_alpha_Stepper->intValue()));
}

void Card_Wizard::Card_Fill_Chk_Box()
{
    if (!Card_fill_chk->isChecked()) {
        SetObjEnabled(Card_Fill_Box, false);
        if (!Card_Image_fill_rd->isChecked())
            SetObjEnabled(Card_image_box, false);
    } else {
        SetObjEnabled(Card_Fill_Box, true);
    }
    QString kind = QStringLiteral("S");
    if (App_Services().Main_App_wnd && App_Services().Main_App_wnd->Front_card_Prop())
        kind = App_Services().Main_App_wnd->Front_card_Prop()->Card_fill_style;
    card_prop_set(kind);
}

void Card_Wizard::card_prop_set(const QString& kind)
{
    const bool g = kind == QLatin1String("G"), h = kind == QLatin1String("H"),
               i = kind == QLatin1String("I"), s = !g && !h && !i;
    Card_solid_fill_rd->setChecked(s);
    Card_gradient_fill_rd->setChecked(g);
    Card_Style_fill_rd->setChecked(h);
    Card_Image_fill_rd->setChecked(i);
    Show_Hide_Card_Transp_Ctrl(g);
    SetObjEnabled(Card_fill_clr, s);
    for (QWidget* w : std::initializer_list<QWidget*>{Card_fill_Grd_1_clr, Card_fill_Grd_2_clr,
                                                      Card_grad_Text, Card_grad_Stepper})
        SetObjEnabled(w, g);
    SetObjEnabled(Card_hatch_style, h);
    SetObjEnabled(Card_hatch_bk_clr, h);
    SetObjEnabled(Card_image_box, i);
    SetObjEnabled(Card_Border_Box, Card_border_chk->isChecked());
}

void Card_Wizard::Show_Hide_Card_Transp_Ctrl(bool hide)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Card_alpha_lbl, Card_alpha_Stepper, Card_alpha_Text})
        w->setVisible(!hide);
}

void Card_Wizard::Card_Image_Browse_Btn()
{
    const QString path = Choose_Open_File(
        this, tr("Choose a picture"), tr("Pictures (*.jpg *.jpeg *.jpe *.jfif *.gif *.bmp *.png *.tif *.tiff)"),
        Card_Image_path->text());
    if (!path.isEmpty())
        Card_Image_path->setText(path);
}

void Card_Wizard::Card_Image_Library_Btn()
{
    if (!App_Services().Batch_Services)
        return;
    const QString chosen = App_Services().Batch_Services->Open_Image_Library_Window(QStringLiteral("B"));
    if (!chosen.isEmpty())
        Card_Image_path->setText(chosen);
}
