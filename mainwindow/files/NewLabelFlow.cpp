#include "mainwindow/files/NewLabelFlow.h"

#include "mainwindow/files/CardPresets.h"
#include "platform/MessageSink.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>


int New_Label_Transparency_Percent(double v)
{
    if (!std::isfinite(v))
        return 100;
    const double percent = v <= 1.0 ? v * 100.0 : v;
    return int(std::clamp(std::trunc(percent + (v <= 1.0 ? 1e-9 : 0.0)), 0.0, 100.0));
}

QString Border_Style_Code(int position)
{
    static const char* const codes[] = {"S", "DA", "DO", "DD", "DDD"};
    return position >= 0 && position < 5 ? QLatin1String(codes[position]) : QStringLiteral("S");
}

namespace {
const char* const kStocks[] = {"PVC Card", "Label"};
}

New_Label_Dialog::New_Label_Dialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("New_Label_Dialog"));
    setWindowTitle(tr("New Label"));
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_form = form;
    stock_combo = new QComboBox(this);
    stock_combo->addItems({tr("Plastic card"), tr("Label")});
    form->addRow(tr("Stock:"), stock_combo);
    preset_list = new QListWidget(this);
    preset_list->setObjectName(QStringLiteral("preset_list"));
    preset_list->setMinimumHeight(150);
    form->addRow(tr("Size:"), preset_list);
    auto* orient = new QHBoxLayout;
    orientation = new QButtonGroup(this);
    auto* land = new QRadioButton(tr("Landscape"), this);
    auto* port = new QRadioButton(tr("Portrait"), this);
    orientation->addButton(land, 0);
    orientation->addButton(port, 1);
    land->setChecked(true);
    orient->addWidget(land);
    orient->addWidget(port);
    orient->addStretch();
    form->addRow(tr("Orientation:"), orient);
    shape_combo = new QComboBox(this);
    shape_combo->addItems({tr("Rectangle"), tr("Rounded rectangle"), tr("Ellipse")});
    form->addRow(tr("Shape:"), shape_combo);
    card_name = new QLineEdit(QStringLiteral("Untitled"), this);
    card_name->setObjectName(QStringLiteral("card_name"));
    form->addRow(tr("Name:"), card_name);
    v->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(1); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });
    v->addWidget(buttons);
    connect(stock_combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int i) { Select_Stock(i); });
    Select_Stock(0);
}

void New_Label_Dialog::Select_Stock(int index)
{
    const QString stock = QLatin1String(kStocks[std::clamp(index, 0, 1)]);
    if (stock_combo->currentIndex() != index)
        stock_combo->setCurrentIndex(index);
    preset_list->clear();
    for (int i = 0; i < Card_Preset_Count(stock); ++i)
        preset_list->addItem(Card_Preset_Label(stock, i));
    preset_list->setCurrentRow(0);
}

void New_Label_Dialog::Size_Only()
{
    setWindowTitle(tr("Preset Sizes"));
    m_form->setRowVisible(shape_combo, false);
    m_form->setRowVisible(card_name, false);
}

New_Card_Choice New_Label_Dialog::Choice() const
{
    New_Card_Choice c;
    c.stock = QLatin1String(kStocks[std::clamp(stock_combo->currentIndex(), 0, 1)]);
    const QSizeF mm = Get_My_card_Size(c.stock, orientation->checkedId() == 1 ? QStringLiteral("V") : QStringLiteral("H"),
                                       std::max(0, preset_list->currentRow()));
    c.widthMM = mm.width();
    c.heightMM = mm.height();
    c.shape = shape_combo->currentIndex();
    c.name = card_name->text().trimmed().isEmpty() ? QStringLiteral("Untitled") : card_name->text().trimmed();
    c.border = true;
    return c;
}

std::optional<New_Card_Choice> Ask_New_Card(const Card_Wizard_Runner& wizard)
{
    if (wizard)
        return wizard();
    New_Label_Dialog dialog(Message_Parent());
    if (Run_Modal_Dialog(dialog) != 1)
        return std::nullopt;
    return dialog.Choice();
}
