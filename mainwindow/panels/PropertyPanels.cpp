#include "mainwindow/panels/PropertyPanels.h"

#include "core/model/Card_Property.h"
#include "core/model/LMNGraphic.h"
#include "core/util/MainWindowServices.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString mm(double points)
{
    return QStringLiteral("%1 mm").arg(MainWindowServices::Points_to_MM_Convert(float(points)), 0, 'f', 2);
}

QString colourText(const QColor& c)
{
    return c.isValid() ? c.name(QColor::HexRgb) : QObject::tr("none");
}

QString fillText(const QString& style)
{
    if (style == QLatin1String("G"))
        return QObject::tr("gradient");
    if (style == QLatin1String("H"))
        return QObject::tr("pattern");
    if (style == QLatin1String("I"))
        return QObject::tr("picture");
    return QObject::tr("solid colour");
}

QString borderText(bool on, double width, const QString& style)
{
    if (!on)
        return QObject::tr("none");
    static const QStringList codes = {"S", "DA", "DO", "DD", "DDD"};
    static const QStringList names = {QObject::tr("solid"), QObject::tr("dashed"), QObject::tr("dotted"),
                                      QObject::tr("dash-dot"), QObject::tr("dash-dot-dot")};
    const qsizetype at = codes.indexOf(style);
    return QObject::tr("%1 pt, %2").arg(width).arg(at >= 0 ? names[at] : names[0]);
}

} // namespace

// ---------------------------------------------------------------- base

PropertyPanel::PropertyPanel(const QString& objectName, QWidget* parent) : QWidget(parent)
{
    setObjectName(objectName);
    m_column = new QVBoxLayout(this);
    m_form = new QFormLayout;
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_column->addLayout(m_form);
    m_column->addStretch(1);
}

QLabel* PropertyPanel::addRow(const QString& caption)
{
    auto* value = new QLabel(this);
    value->setWordWrap(true);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_form->addRow(caption, value);
    return value;
}

// ---------------------------------------------------------------- card

CardSettingPanel::CardSettingPanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_setting_tab"), parent)
{
    m_name = addRow(tr("Label:"));
}

void CardSettingPanel::load(const Card_Property& card)
{
    m_name->setText(card.Card_Name);
}

CardInfoPanel::CardInfoPanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_info_tab"), parent)
{
    m_name = addRow(tr("Name:"));
    m_preset = addRow(tr("Label stock:"));
    m_category = addRow(tr("Product:"));
    m_sides = addRow(tr("Sides:"));
}

void CardInfoPanel::load(const Card_Property& card)
{
    m_name->setText(card.Card_Name);
    m_preset->setText(card.Card_Preset);
    m_category->setText(card.Card_Category.isEmpty() && card.Card_Sub_Category.isEmpty()
                            ? tr("none")
                            : QStringLiteral("%1 %2").arg(card.Card_Category, card.Card_Sub_Category).trimmed());
    m_sides->setText(card.Card_Side);
}

CardSizePanel::CardSizePanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_size_tab"), parent)
{
    m_size = addRow(tr("Size:"));
    m_shape = addRow(tr("Shape:"));
}

void CardSizePanel::load(const Card_Property& card)
{
    m_size->setText(QStringLiteral("%1 x %2").arg(mm(card.Card_Size.width()), mm(card.Card_Size.height())));
    const QString s = card.Card_Shape;
    m_shape->setText(s == QLatin1String("RR") ? tr("rounded rectangle")
                                              : (s == QLatin1String("E") ? tr("ellipse") : tr("rectangle")));
}

QString CardSizePanel::sizeText() const
{
    return m_size->text();
}

CardBackgroundPanel::CardBackgroundPanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_bkgd_tab"), parent)
{
    m_fill = addRow(tr("Fill:"));
    m_picture = addRow(tr("Picture:"));
    m_watermark = addRow(tr("Watermark:"));
}

void CardBackgroundPanel::load(const Card_Property& card)
{
    m_fill->setText(card.Card_fill_chk ? fillText(card.Card_fill_style) : tr("none (white)"));
    m_picture->setText(card.Card_BG_Image_Path.isEmpty() ? tr("none")
                                                         : QFileInfo(card.Card_BG_Image_Path).fileName());
    m_watermark->setText(card.Watermark_Used ? QStringLiteral("\u201c%1\u201d").arg(card.Watermark_Text) : tr("none"));
}

CardBorderPanel::CardBorderPanel(QWidget* parent) : PropertyPanel(QStringLiteral("card_brdr_tab"), parent)
{
    m_border = addRow(tr("Border:"));
}

void CardBorderPanel::load(const Card_Property& card)
{
    m_border->setText(borderText(card.Card_border_chk, card.Card_bor_Stepper, card.Card_border_style));
}

// ---------------------------------------------------------------- items

ItemSummaryPanel::ItemSummaryPanel(const QString& objectName, QWidget* parent) : PropertyPanel(objectName, parent)
{
    m_position = addRow(tr("Position:"));
    m_size = addRow(tr("Size:"));
}

void ItemSummaryPanel::load(const LMNGraphic& item)
{
    const QRectF b = item.bounds();
    m_position->setText(QStringLiteral("%1, %2 pt").arg(b.x(), 0, 'f', 1).arg(b.y(), 0, 'f', 1));
    m_size->setText(QStringLiteral("%1 x %2").arg(mm(b.width()), mm(b.height())));
}

LinePanel::LinePanel(QWidget* parent) : ItemSummaryPanel(QStringLiteral("line_tab"), parent)
{
    m_stroke = addRow(tr("Line:"));
}

void LinePanel::load(const LMNGraphic& item)
{
    ItemSummaryPanel::load(item);
    m_stroke->setText(QStringLiteral("%1, %2").arg(borderText(true, int(item._strokeWidth), item._stroke_border_type),
                                                   colourText(item._strokeColor)));
}

ShapePanel::ShapePanel(QWidget* parent) : ItemSummaryPanel(QStringLiteral("shape_tab"), parent)
{
    m_kind = addRow(tr("Shape:"));
    m_fill = addRow(tr("Fill:"));
    m_border = addRow(tr("Border:"));
}

QString ShapePanel::Shape_Title(const QString& code)
{
    static const QList<std::pair<QString, QString>> titles = {
        {"R", "Rectangle Settings"}, {"C", "Ellipse Settings"}, {"RR", "Rounded Rectangle Settings"},
        {"T", "Triangle Settings"},  {"D", "Diamond Settings"}, {"S", "Star Settings"},
        {"DS", "Double Star Settings"}, {"P", "Polygon Settings"},
    };
    for (const auto& [c, t] : titles)
        if (c == code)
            return t;
    return {};
}

void ShapePanel::load(const LMNGraphic& item)
{
    ItemSummaryPanel::load(item);
    QString title = Shape_Title(item.Get_shape_type());
    title.remove(QStringLiteral(" Settings"));
    m_kind->setText(title.isEmpty() ? tr("shape") : title.toLower());
    m_fill->setText(item._isDrawingFill ? fillText(item._fill_type) : tr("none"));
    m_border->setText(borderText(item._isDrawingStroke, int(item._strokeWidth), item._stroke_border_type));
}

TextEditingPanel::TextEditingPanel(QWidget* parent) : ItemSummaryPanel(QStringLiteral("text_edtng_tab"), parent)
{
    m_text = addRow(tr("Text:"));
}

void TextEditingPanel::load(const LMNGraphic& item)
{
    ItemSummaryPanel::load(item);
    m_text->setText(item._Text_contents ? item._Text_contents->string : item.Text_Value);
}

TextPropertiesPanel::TextPropertiesPanel(QWidget* parent)
    : ItemSummaryPanel(QStringLiteral("text_prop_tab"), parent)
{
    m_font = addRow(tr("Font:"));
    m_colour = addRow(tr("Colour:"));
}

void TextPropertiesPanel::load(const LMNGraphic& item)
{
    ItemSummaryPanel::load(item);
    m_font->setText(QStringLiteral("%1 ( %2 )").arg(item.text_ctrl_font.family())
                        .arg(item.text_ctrl_font.pointSizeF(), 0, 'f', 2));
    m_colour->setText(colourText(item.txt_clr));
}

PicturePanel::PicturePanel(QWidget* parent) : ItemSummaryPanel(QStringLiteral("image_tab"), parent)
{
    m_file = addRow(tr("Picture:"));
}

void PicturePanel::load(const LMNGraphic& item)
{
    ItemSummaryPanel::load(item);
    m_file->setText(item._file_path.isEmpty() ? tr("none") : item._file_path);
}

SignaturePanel::SignaturePanel(QWidget* parent) : ItemSummaryPanel(QStringLiteral("sign_tab"), parent)
{
    m_kind = addRow(tr("Kind:"));
    m_file = addRow(tr("Picture:"));
}

void SignaturePanel::load(const LMNGraphic& item)
{
    ItemSummaryPanel::load(item);
    m_kind->setText(item.Sign_Or_FP_Val() == QLatin1String("F") ? tr("fingerprint") : tr("signature"));
    m_file->setText(item._file_path.isEmpty() ? tr("sample") : QFileInfo(item._file_path).fileName());
}

DataSourcePanel::DataSourcePanel(QWidget* parent) : ItemSummaryPanel(QStringLiteral("datasource_tab"), parent)
{
    m_source = addRow(tr("Source:"));
    m_series = addRow(tr("Bound to:"));
}

void DataSourcePanel::load(const LMNGraphic& item)
{
    ItemSummaryPanel::load(item);
    static const QStringList sources = {tr("Manual"), tr("Series"), tr("Excel")};
    const int t = item.data_source_type;
    m_source->setText(t >= 0 && t < sources.size() ? sources[t] : sources[0]);
    m_series->setText(t == 1 ? item.batch_list_name : (t == 2 ? tr("column %1").arg(item.excel_col_indx + 1)
                                                              : tr("nothing")));
}

BarcodeItemPanel::BarcodeItemPanel(QWidget* parent) : ItemSummaryPanel(QStringLiteral("barcode_tab"), parent)
{
    m_type = addRow(tr("Kind:"));
    m_value = addRow(tr("Value:"));
    auto* hint = new QLabel(tr("Double-click the barcode to change its settings."), this);
    hint->setWordWrap(true);
    column()->insertWidget(1, hint);
}

void BarcodeItemPanel::load(const LMNGraphic& item)
{
    ItemSummaryPanel::load(item);
    m_type->setText(item.linear_or_2d == 0 ? tr("linear") : tr("two-dimensional"));
    m_value->setText(item.Text_Value);
}

AlignmentPanel::AlignmentPanel(QWidget* parent) : PropertyPanel(QStringLiteral("aligmnt_tab"), parent)
{
    auto* grid = new QGridLayout;
    const struct { const char* title; const char* action; } commands[] = {
        {"Left edges", "alignLeftEdges"},      {"Right edges", "alignRightEdges"},
        {"Top edges", "alignTopEdges"},        {"Bottom edges", "alignBottomEdges"},
        {"Horizontal centres", "alignHorizontalCenters"}, {"Vertical centres", "alignVerticalCenters"},
        {"Centre of the label", "alignformCenter"},       {"To the grid", "alignWithGrid"},
    };
    int i = 0;
    for (const auto& c : commands) {
        auto* b = new QPushButton(tr(c.title), this);
        const QString action = QString::fromLatin1(c.action);
        b->setObjectName(action);
        connect(b, &QPushButton::clicked, this, [this, action] { emit commandRequested(action); });
        grid->addWidget(b, i / 2, i % 2);
        m_buttons << b;
        ++i;
    }
    column()->insertLayout(0, grid);
}

LockPanel::LockPanel(QWidget* parent) : PropertyPanel(QStringLiteral("Lock_tab"), parent)
{
    m_what = addRow(tr("Locked:"));
    m_unlock = new QPushButton(tr("Unlock"), this);
    m_unlock->setObjectName(QStringLiteral("Unlock_btn"));
    column()->insertWidget(1, m_unlock, 0, Qt::AlignLeft);
    connect(m_unlock, &QPushButton::clicked, this, &LockPanel::unlockRequested);
}

void LockPanel::load(const LMNGraphic& item, const QString& title)
{
    m_what->setText(tr("%1 at %2, %3 pt").arg(title).arg(item.bounds().x(), 0, 'f', 1).arg(item.bounds().y(), 0, 'f', 1));
}

// ---------------------------------------------------------------- host

PropertyPanelHost::PropertyPanelHost(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PropertyPanelHost"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    properties_title = new QLabel(this);
    properties_title->setObjectName(QStringLiteral("properties_title"));
    QFont f = properties_title->font();
    f.setBold(true);
    properties_title->setFont(f);
    v->addWidget(properties_title);
    sett_tab = new QTabWidget(this);
    sett_tab->setObjectName(QStringLiteral("sett_tab"));
    sett_tab->setUsesScrollButtons(true);
    v->addWidget(sett_tab, 1);

    card_setting_tab = new CardSettingPanel;
    card_info_tab = new CardInfoPanel;
    card_size_tab = new CardSizePanel;
    card_bkgd_tab = new CardBackgroundPanel;
    card_brdr_tab = new CardBorderPanel;
    line_tab = new LinePanel;
    shape_tab = new ShapePanel;
    text_edtng_tab = new TextEditingPanel;
    text_prop_tab = new TextPropertiesPanel;
    image_tab = new PicturePanel;
    sign_tab = new SignaturePanel;
    datasource_tab = new DataSourcePanel;
    aligmnt_tab = new AlignmentPanel;
    barcode_tab = new BarcodeItemPanel;
    Lock_tab = new LockPanel;
    // The panels not shown belong to the host (and go with it).
    for (QWidget* w : tabItems()) {
        w->setParent(this);
        w->hide();
    }
}

QList<QWidget*> PropertyPanelHost::tabItems() const
{
    return {card_setting_tab, card_info_tab, card_size_tab, card_bkgd_tab, card_brdr_tab, line_tab, shape_tab,
            text_edtng_tab, text_prop_tab, image_tab, sign_tab, datasource_tab, aligmnt_tab, barcode_tab, Lock_tab};
}

void PropertyPanelHost::Remove_All_Tab_Items()
{
    while (sett_tab->count() > 0) {
        QWidget* w = sett_tab->widget(0);
        sett_tab->removeTab(0);
        w->setParent(this);
        w->hide();
    }
}

void PropertyPanelHost::insert(QWidget* tab, const QString& label)
{
    sett_tab->addTab(tab, label);
}

void PropertyPanelHost::Fill_Card_Prop_Tab()
{
    properties_title->setText(tr("Label Properties"));
    Remove_All_Tab_Items();
    insert(card_info_tab, tr("Info"));
    insert(card_size_tab, tr("Size"));
    insert(card_bkgd_tab, tr("Background"));
    insert(card_brdr_tab, tr("Border"));
}

void PropertyPanelHost::Load_Card(const Card_Property& card)
{
    card_setting_tab->load(card);
    card_info_tab->load(card);
    card_size_tab->load(card);
    card_bkgd_tab->load(card);
    card_brdr_tab->load(card);
}

void PropertyPanelHost::Load_Item(const LMNGraphic& item, const QString& startOption)
{
    Remove_All_Tab_Items();
    const bool dataTab = startOption != QLatin1String("V") && startOption != QLatin1String("G");
    QString title;
    QList<std::pair<QWidget*, QString>> tabs;
    switch (item.kind()) {
    case LMNKind::Text:
        title = tr("Text Properties");
        text_edtng_tab->load(item);
        text_prop_tab->load(item);
        tabs = {{text_edtng_tab, tr("Text")}, {text_prop_tab, tr("Style")}};
        if (dataTab) {
            datasource_tab->load(item);
            tabs.append({datasource_tab, tr("Source")});
        }
        break;
    case LMNKind::Image:
        title = tr("Image Properties");
        image_tab->load(item);
        if (dataTab) {
            datasource_tab->load(item);
            tabs.append({datasource_tab, tr("Source")});
        }
        tabs.append({image_tab, tr("Picture")});
        break;
    case LMNKind::Line:
        title = tr("Line Properties");
        line_tab->load(item);
        tabs = {{line_tab, tr("Line")}};
        break;
    case LMNKind::Signature:
        title = tr("Signature Properties");
        sign_tab->load(item);
        tabs = {{sign_tab, tr("Signature")}};
        break;
    case LMNKind::Barcode:
        title = tr("Barcode Properties");
        barcode_tab->load(item);
        tabs = {{barcode_tab, tr("Barcode")}};
        break;
    default: {
        title = tr("Shape Properties");
        shape_tab->load(item);
        tabs = {{shape_tab, tr("General")}};
        break;
    }
    }
    properties_title->setText(title);
    if (item.ctrl_is_locked) {
        QString label = title;
        if (item.kind() != LMNKind::Text && item.kind() != LMNKind::Image && item.kind() != LMNKind::Line
            && item.kind() != LMNKind::Signature && item.kind() != LMNKind::Barcode) {
            const QString shapeTitle = ShapePanel::Shape_Title(item.Get_shape_type());
            if (!shapeTitle.isEmpty())
                label = shapeTitle;
        }
        Lock_tab->load(item, label);
        insert(Lock_tab, label);
    } else {
        for (const auto& [tab, label] : tabs)
            insert(tab, label);
        insert(aligmnt_tab, tr("Alignment"));
    }
    sett_tab->setCurrentIndex(0);
}

QStringList PropertyPanelHost::shownTabTitles() const
{
    QStringList out;
    for (int i = 0; i < sett_tab->count(); ++i)
        out << sett_tab->widget(i)->objectName();
    return out;
}

void PropertyPanelHost::Update_Position(const LMNGraphic& item)
{
    for (int i = 0; i < sett_tab->count(); ++i)
        if (auto* panel = qobject_cast<ItemSummaryPanel*>(sett_tab->widget(i)))
            panel->load(item);
}
