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

// ---------------------------------------------------------------- data source

DataSourcePanel::DataSourcePanel(QWidget* parent) : PropertyPanel(QStringLiteral("datasource_tab"), parent)
{
    data_source_title = Bold_Label(this, QStringLiteral("data_source_title"));
    column()->addWidget(data_source_title);
    auto* source = addBox(QString(), QStringLiteral("data_source_box"));
    {
        QGridLayout* g = Panel_Grid(source);
        Data_source_type = New_List_Combo(source, QStringLiteral("Data_source_type"),
                                          {QStringLiteral("Manual"), QStringLiteral("Series"), QStringLiteral("Excel")});
        connect(Data_source_type, &QComboBox::activated, this, &DataSourcePanel::sourceChosen);
        g->addWidget(Panel_Caption(source, tr("Source")), 0, 0);
        g->addWidget(Data_source_type, 0, 1, 1, 2);
        Batch_Series = New_List_Combo(source, QStringLiteral("Batch_Series"), {});
        Batch_Series->setEnabled(false);
        connect(Batch_Series, &QComboBox::activated, this, &DataSourcePanel::seriesChosen);
        g->addWidget(Panel_Caption(source, tr("Values")), 1, 0);
        g->addWidget(Batch_Series, 1, 1, 1, 2);
        view_series_btn = new QPushButton(tr("View..."), source);
        view_series_btn->setObjectName(QStringLiteral("view_series_btn"));
        view_series_btn->setEnabled(false);
        connect(view_series_btn, &QPushButton::clicked, this, &DataSourcePanel::viewSeriesWanted);
        g->addWidget(view_series_btn, 2, 1, Qt::AlignLeft);
        Data_Source_Help_btn = new QPushButton(QStringLiteral("?"), source);
        Data_Source_Help_btn->setObjectName(QStringLiteral("Data_Source_Help_btn"));
        Data_Source_Help_btn->setFixedSize(22, 22);
        Data_Source_Help_btn->setToolTip(tr("Help"));
        connect(Data_Source_Help_btn, &QPushButton::clicked, this, &DataSourcePanel::helpWanted);
        g->addWidget(Data_Source_Help_btn, 2, 2, Qt::AlignRight);
    }

    manual_brws_box = addBox(tr("Picture file"), QStringLiteral("manual_brws_box"));
    {
        QGridLayout* g = Panel_Grid(manual_brws_box);
        const Picture_Path_Row row =
            Add_Picture_Path_Row(manual_brws_box, g, QStringLiteral("Manual_image_path"),
                                 QStringLiteral("Manual_Image_Browse_Btn"), QStringLiteral("Manual_Library_Browse_Btn"));
        Manual_image_path = row.path;
        Manual_Image_Browse_Btn = row.browse;
        Manual_Library_Browse_Btn = row.library;
        connect(Manual_Image_Browse_Btn, &QPushButton::clicked, this, &DataSourcePanel::browseWanted);
        connect(Manual_Library_Browse_Btn, &QPushButton::clicked, this, &DataSourcePanel::libraryWanted);
    }

    text_value_lbl = new QLabel(tr("Text"), this);
    text_value_lbl->setObjectName(QStringLiteral("text_value_lbl"));
    column()->addWidget(text_value_lbl);
    Text_value_Edit = new QPlainTextEdit(this);
    Text_value_Edit->setObjectName(QStringLiteral("Text_value_Edit"));
    Text_value_Edit->setMinimumHeight(90);
    Text_value_Edit->setMaximumHeight(140);
    text_value_scrollView = Text_value_Edit;
    connect(Text_value_Edit, &QPlainTextEdit::textChanged, this, [this] {
        if (!Text_value_Edit->signalsBlocked())
            emit editorTextEdited();
    });
    column()->addWidget(Text_value_Edit);

    Text_Date_Time_Box = addBox(tr("Insert"), QStringLiteral("Text_Date_Time_Box"));
    {
        QGridLayout* g = Panel_Grid(Text_Date_Time_Box);
        Text_Date_style = New_List_Combo(Text_Date_Time_Box, QStringLiteral("Text_Date_style"),
                                         {"M-d-yyyy", "M-d-yy", "MM-dd-yy", "MM-dd-yyyy", "yy-MM-dd", "yyyy-MM-dd",
                                          "dd-MMM-yy", "dd-MM-yyyy", "d-M-yy"});
        Text_Insert_Date_btn = new QPushButton(tr("Date"), Text_Date_Time_Box);
        Text_Insert_Date_btn->setObjectName(QStringLiteral("Text_Insert_Date_btn"));
        connect(Text_Insert_Date_btn, &QPushButton::clicked, this, &DataSourcePanel::insertDateWanted);
        g->addWidget(Text_Date_style, 0, 0, 1, 2);
        g->addWidget(Text_Insert_Date_btn, 0, 2);
        Text_Time_style = New_List_Combo(Text_Date_Time_Box, QStringLiteral("Text_Time_style"),
                                         {"h:mm:ss a", "hh:mm:ss a", "H:mm:ss", "HH:mm:ss"});
        Text_Insert_Time_btn = new QPushButton(tr("Time"), Text_Date_Time_Box);
        Text_Insert_Time_btn->setObjectName(QStringLiteral("Text_Insert_Time_btn"));
        connect(Text_Insert_Time_btn, &QPushButton::clicked, this, &DataSourcePanel::insertTimeWanted);
        g->addWidget(Text_Time_style, 1, 0, 1, 2);
        g->addWidget(Text_Insert_Time_btn, 1, 2);
    }
    column()->addStretch(1);
}

void DataSourcePanel::setEditorText(const QString& text)
{
    const QSignalBlocker block(Text_value_Edit);
    Text_value_Edit->setPlainText(text);
}

// ---------------------------------------------------------------- barcode item

BarcodeItemPanel::BarcodeItemPanel(QWidget* parent) : PropertyPanel(QStringLiteral("barcode_tab"), parent)
{
    auto* box = addBox(tr("Barcode"), QStringLiteral("barcode_box"));
    auto* form = new QFormLayout(box);
    barcode_kind = new QLabel(box);
    barcode_kind->setObjectName(QStringLiteral("barcode_kind"));
    barcode_value = new QLabel(box);
    barcode_value->setObjectName(QStringLiteral("barcode_value"));
    barcode_value->setWordWrap(true);
    barcode_value->setTextFormat(Qt::PlainText);
    form->addRow(tr("Kind:"), barcode_kind);
    form->addRow(tr("Value:"), barcode_value);
    View_barcode_prop_Button = new QPushButton(tr("Barcode Settings..."), box);
    View_barcode_prop_Button->setObjectName(QStringLiteral("View_barcode_prop_Button"));
    connect(View_barcode_prop_Button, &QPushButton::clicked, this, &BarcodeItemPanel::propertiesWanted);
    form->addRow(View_barcode_prop_Button);
    auto* hint = new QLabel(tr("Double-clicking the barcode opens its settings too."), this);
    hint->setWordWrap(true);
    column()->addWidget(hint);
    column()->addStretch(1);
}

void BarcodeItemPanel::load(const LMNGraphic& item)
{
    barcode_kind->setText(item.linear_or_2d == 0 ? tr("linear") : tr("two-dimensional"));
    const QString value = item.linear_or_2d == 0 ? item.linear_font_val : item.two_d_font_val;
    barcode_value->setText(value.left(120));
}
