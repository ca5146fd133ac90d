#include "mainwindow/panels/ItemPanels.h"

#include "core/model/LMNGraphic.h"
#include "core/model/LMNLine.h"
#include "core/util/Helpers.h"
#include "mainwindow/panels/ItemPanelParts.h"
#include "mainwindow/Stepper.h"
#include "mainwindow/units/Units.h"
#include "platform/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

// ---------------------------------------------------------------- picture

PicturePanel::PicturePanel(QWidget* parent) : PropertyPanel(QStringLiteral("image_tab"), parent)
{
    auto emitChanged = [this] { emit changed(); };
    image_error_label = new QLabel(tr("The picture cannot be shown: its file is missing or unreadable."), this);
    image_error_label->setObjectName(QStringLiteral("image_error_label"));
    image_error_label->setWordWrap(true);
    image_error_label->setStyleSheet(QStringLiteral("color: rgb(190, 0, 0);"));
    image_error_label->hide();
    column()->addWidget(image_error_label);

    Image_border_chk = newCheck(this, QStringLiteral("Image_border_chk"), tr("Border"), [this] {
        SetObjEnabled(Image_Border_Box, Image_border_chk->isChecked());
        emit changed();
    });
    column()->addWidget(Image_border_chk);
    Image_Border_Box = addBox(QString(), QStringLiteral("Image_Border_Box"));
    {
        const Border_Controls border = addBorderControls(Image_Border_Box, QStringLiteral("Image_"));
        Image_bordr_clr = border.colour;
        Image_bor = border.width;
        Image_border_style = border.style;
    }

    auto* filters = addBox(tr("Adjust"), QStringLiteral("Image_Filter_Box"));
    auto* fv = new QVBoxLayout(filters);
    fv->setContentsMargins(8, 6, 8, 6);
    auto* checks = new QGridLayout;
    Image_Gray_Scale_chk = newCheck(filters, QStringLiteral("Image_Gray_Scale_chk"), tr("Greyscale"), emitChanged);
    Image_Sepia_chk = newCheck(filters, QStringLiteral("Image_Sepia_chk"), tr("Sepia"), emitChanged);
    Image_Invert_chk = newCheck(filters, QStringLiteral("Image_Invert_chk"), tr("Invert"), emitChanged);
    Image_FIH_chk = newCheck(filters, QStringLiteral("Image_FIH_chk"), tr("Flip across"), emitChanged);
    Image_FIV_chk = newCheck(filters, QStringLiteral("Image_FIV_chk"), tr("Flip down"), emitChanged);
    checks->addWidget(Image_Gray_Scale_chk, 0, 0);
    checks->addWidget(Image_Sepia_chk, 0, 1);
    checks->addWidget(Image_Invert_chk, 0, 2);
    checks->addWidget(Image_FIH_chk, 1, 0);
    checks->addWidget(Image_FIV_chk, 1, 1);
    fv->addLayout(checks);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setVerticalSpacing(2);
    fv->addLayout(form);
    Rotate_slidr = addSlider(form, tr("Rotation"), QStringLiteral("Rotate_slidr"), -180, 180, 10, &Rotate_slidr_val);
    Trsp_slidr = addSlider(form, tr("Opacity"), QStringLiteral("Trsp_slidr"), 0, 100, 1, &Trsp_slidr_val);
    Hue_slidr = addSlider(form, tr("Hue"), QStringLiteral("Hue_slidr"), -3.14, 3.14, 100, &Hue_slidr_val);
    Sat_slidr = addSlider(form, tr("Saturation"), QStringLiteral("Sat_slidr"), 0, 2, 100, &Sat_slidr_val);
    Brt_slidr = addSlider(form, tr("Brightness"), QStringLiteral("Brt_slidr"), -1, 1, 100, &Brt_slidr_val);
    Con_slidr = addSlider(form, tr("Contrast"), QStringLiteral("Con_slidr"), 0.25, 4, 100, &Con_slidr_val);
    shrp_slidr = addSlider(form, tr("Sharpness"), QStringLiteral("shrp_slidr"), 0, 2, 100, &shrp_slidr_val);
    ev_slidr = addSlider(form, tr("Exposure"), QStringLiteral("ev_slidr"), -3, 3, 100, &ev_slidr_val);
    blr_slidr = addSlider(form, tr("Blur"), QStringLiteral("blr_slidr"), 0, 20, 10, &blr_slidr_val);

    auto* buttons = new QHBoxLayout;
    reset_btn = new QPushButton(tr("Reset"), this);
    reset_btn->setObjectName(QStringLiteral("Image_reset_Button"));
    connect(reset_btn, &QPushButton::clicked, this, &PicturePanel::resetWanted);
    crop_btn = new QPushButton(tr("Crop..."), this);
    crop_btn->setObjectName(QStringLiteral("Cropping_Selected_Image_btn"));
    crop_btn->setEnabled(false);
    connect(crop_btn, &QPushButton::clicked, this, &PicturePanel::cropWanted);
    buttons->addWidget(reset_btn);
    buttons->addWidget(crop_btn);
    buttons->addStretch(1);
    column()->addLayout(buttons);
    img_ctrl_id_val = new QLabel(this);
    img_ctrl_id_val->setObjectName(QStringLiteral("img_ctrl_id_val"));
    img_ctrl_id_val->hide();
    column()->addStretch(1);
    Reset_Image_Editing_Controls();
}

Fraction_Slider* PicturePanel::addSlider(QFormLayout* form, const QString& caption, const QString& name, double min,
                                         double max, int scale, QLabel** label)
{
    auto* parent = form->parentWidget();
    auto* s = new Fraction_Slider(parent, name, min, max, scale);
    auto* l = new QLabel(parent);
    l->setObjectName(name + QStringLiteral("_val"));
    l->setMinimumWidth(40);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    *label = l;
    auto* row = new QHBoxLayout;
    row->addWidget(s, 1);
    row->addWidget(l);
    form->addRow(caption, row);
    connect(s, &Fraction_Slider::dragging, this, [s, l] { l->setText(Slider_Label_Text(s->fraction())); });
    connect(s, &Fraction_Slider::moved, this, [this, s, l] {
        l->setText(Slider_Label_Text(s->fraction()));
        emit changed();
    });
    return s;
}

QList<std::pair<Fraction_Slider*, QLabel*>> PicturePanel::sliders() const
{
    return {{Rotate_slidr, Rotate_slidr_val}, {Trsp_slidr, Trsp_slidr_val}, {Hue_slidr, Hue_slidr_val},
            {Sat_slidr, Sat_slidr_val},       {Brt_slidr, Brt_slidr_val},   {Con_slidr, Con_slidr_val},
            {shrp_slidr, shrp_slidr_val},     {ev_slidr, ev_slidr_val},     {blr_slidr, blr_slidr_val}};
}

void PicturePanel::Reset_Image_Editing_Controls()
{
    const double neutral[] = {0, 100, 0, 1, 0, 1, 0, 0, 0};
    int i = 0;
    for (const auto& [slider, label] : sliders()) {
        slider->setFraction(neutral[i++]);
        label->setText(Slider_Label_Text(slider->fraction()));
    }
    for (QCheckBox* c : {Image_Gray_Scale_chk, Image_Sepia_chk, Image_Invert_chk, Image_FIV_chk, Image_FIH_chk})
        c->setChecked(false);
}

void PicturePanel::load(const LMNGraphic& item)
{
    img_ctrl_id_val->setText(item.control_ID);
    Image_border_chk->setChecked(item._isDrawingStroke);
    Image_bor->setValue(static_cast<int>(item._strokeWidth));
    Image_bordr_clr->setColor(item._strokeColor);
    Select_Border_Style(Image_border_style, item._stroke_border_type);
    const float values[] = {item.rotate_image, item.img_trnsp_val, item.hue_val, item.sat_val, item.brt_val,
                            item.con_val,      item.srp_val,       item.ev_val,  item.blr_val};
    int i = 0;
    for (const auto& [slider, label] : sliders()) {
        slider->setFraction(values[i]);
        label->setText(Slider_Label_Text(values[i]));
        ++i;
    }
    Image_Gray_Scale_chk->setChecked(item.gray_Scale);
    Image_Sepia_chk->setChecked(item.Sepia);
    Image_Invert_chk->setChecked(item.invert_clr);
    Image_FIV_chk->setChecked(item._isFlippedVertically);
    Image_FIH_chk->setChecked(item._isFlippedHorizontally);
    SetObjEnabled(Image_Border_Box, item._isDrawingStroke);
}

void PicturePanel::writeTo(LMNGraphic& item) const
{
    if (Image_border_chk->isChecked()) {
        item._isDrawingStroke = true;
        item._strokeColor = Image_bordr_clr->color();
        item._strokeWidth = Image_bor->intValue();
    } else {
        item._isDrawingStroke = false;
    }
    item._stroke_border_type = Return_Border_Style_Str_On_index(Image_border_style->currentIndex());
    item._isFlippedHorizontally = Image_FIH_chk->isChecked();
    item._isFlippedVertically = Image_FIV_chk->isChecked();
    item.invert_clr = Image_Invert_chk->isChecked();
    item.gray_Scale = Image_Gray_Scale_chk->isChecked();
    item.Sepia = Image_Sepia_chk->isChecked();
    item.img_trnsp_val = static_cast<float>(Trsp_slidr->fraction());
    item.rotate_image = static_cast<float>(Rotate_slidr->fraction());
    item.hue_val = static_cast<float>(Hue_slidr->fraction());
    item.sat_val = static_cast<float>(Sat_slidr->fraction());
    item.brt_val = static_cast<float>(Brt_slidr->fraction());
    item.con_val = static_cast<float>(Con_slidr->fraction());
    item.srp_val = static_cast<float>(shrp_slidr->fraction());
    item.ev_val = static_cast<float>(ev_slidr->fraction());
    item.blr_val = static_cast<float>(blr_slidr->fraction());
}

// ---------------------------------------------------------------- signature

SignaturePanel::SignaturePanel(QWidget* parent) : PropertyPanel(QStringLiteral("sign_tab"), parent)
{
    sel_kind = Bold_Label(this, QStringLiteral("sign_kind"));
    column()->addWidget(sel_kind);
    auto* file = addBox(tr("Picture file (PNG)"), QStringLiteral("Sign_File_Box"));
    {
        QGridLayout* g = Panel_Grid(file);
        Sign_image_path = new QLineEdit(file);
        Sign_image_path->setObjectName(QStringLiteral("Sign_image_path"));
        Sign_image_path->setReadOnly(true);
        g->addWidget(Sign_image_path, 0, 0, 1, 3);
        Sign_Browse_Btn = new QPushButton(tr("Browse..."), file);
        Sign_Browse_Btn->setObjectName(QStringLiteral("Sign_Browse_Btn"));
        connect(Sign_Browse_Btn, &QPushButton::clicked, this, &SignaturePanel::browseWanted);
        g->addWidget(Sign_Browse_Btn, 1, 0, Qt::AlignLeft);
    }
    Sign_border_chk = newCheck(this, QStringLiteral("Sign_border_chk"), tr("Border"), [this] { Sign_Border_ChkBox(); });
    column()->addWidget(Sign_border_chk);
    Sign_Border_Box = addBox(QString(), QStringLiteral("Sign_Border_Box"));
    {
        const Border_Controls border = addBorderControls(Sign_Border_Box, QStringLiteral("Sign_"));
        Sign_bordr_clr = border.colour;
        Sign_bor = border.width;
        Sign_border_style = border.style;
    }
    column()->addStretch(1);
}

void SignaturePanel::Sign_Border_ChkBox()
{
    SetObjEnabled(Sign_Border_Box, Sign_border_chk->isChecked());
    emit changed();
}

void SignaturePanel::load(const LMNGraphic& item)
{
    sel_kind->setText(item.Sign_Or_FP_Val() == QLatin1String("F") ? tr("Fingerprint") : tr("Signature"));
    Sign_image_path->setText(item._file_path);
    Sign_border_chk->setChecked(item._isDrawingStroke);
    Sign_bor->setValue(static_cast<int>(item._strokeWidth));
    Sign_bordr_clr->setColor(item._strokeColor);
    Select_Border_Style(Sign_border_style, item._stroke_border_type);
    SetObjEnabled(Sign_Border_Box, item._isDrawingStroke);
}

void SignaturePanel::writeTo(LMNGraphic& item) const
{
    if (Sign_border_chk->isChecked()) {
        item._isDrawingStroke = true;
        item._strokeColor = Sign_bordr_clr->color();
        item._strokeWidth = Sign_bor->intValue();
    } else {
        item._isDrawingStroke = false;
    }
    item._stroke_border_type = Return_Border_Style_Str_On_index(Sign_border_style->currentIndex());
}
