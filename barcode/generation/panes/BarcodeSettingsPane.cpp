#include "barcode/generation/panes/BarcodeSettingsPane.h"

#include "barcode/generation/panes/Stepper.h"
#include "core/util/BarcodeServices.h"
#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

void Show_Barcode_Help(const QString& title, const QString& text)
{
    Long_SMS_Dlg* box = Long_SMS_Dlg::defaultInstance();
    box->Cutom_Msg_Title = title;
    box->Cutom_Msg_Val = text;
    box->title_val = QString();
    box->apply_chk_show = false;
    box->Open_Long_sms_Dialog();
}

BarcodeSettingsPane::BarcodeSettingsPane(QWidget* parent) : QWidget(parent) {}

void BarcodeSettingsPane::load(const BarcodeSettings& s)
{
    m_loading = true;
    loadControls(s);
    m_loading = false;
}

void BarcodeSettingsPane::setTwoD(bool twoD)
{
    m_twoD = twoD;
    twoDChanged();
}

void BarcodeSettingsPane::report(PaneNeed need)
{
    if (!m_loading)
        emit changed(need);
}

int BarcodeSettingsPane::intOf(const QString& text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return 0;
    return d > 2.0e9 ? 2000000000 : d < -2.0e9 ? -2000000000 : static_cast<int>(d);
}

float BarcodeSettingsPane::floatOf(const QString& text)
{
    bool ok = false;
    const float f = text.trimmed().toFloat(&ok);
    return ok && std::isfinite(f) ? f : 0.0f;
}

QString BarcodeSettingsPane::pairText(const Stepper* stepper, bool whole, int lengthUnit)
{
    if (lengthUnit >= 0)
        return Length_Field_Text(stepper->value(), lengthUnit);
    return whole ? QString::number(stepper->intValue()) : QString::number(stepper->value(), 'g', 6);
}

void BarcodeSettingsPane::setPair(QLineEdit* text, Stepper* stepper, double value, bool whole, int lengthUnit)
{
    stepper->setValue(value);
    text->setText(pairText(stepper, whole, lengthUnit));
    text->setModified(false);
}

void BarcodeSettingsPane::syncPair(QObject* sender, QLineEdit* text, Stepper* stepper, bool whole, int lengthUnit)
{
    if (sender == stepper) {
        text->setText(pairText(stepper, whole, lengthUnit));
        return;
    }
    const double typed = whole ? intOf(text->text()) : floatOf(text->text());
    stepper->setValue(typed);
    // The settings are read from the steppers: a number outside the range
    // (or no number at all) is shown as the value the stepper kept.
    if (stepper->value() != typed || text->text().trimmed().isEmpty())
        text->setText(pairText(stepper, whole, lengthUnit));
}

QLineEdit* BarcodeSettingsPane::numberField(QWidget* parent, const char* name, int width)
{
    auto* f = new QLineEdit(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFixedWidth(width);
    f->setAlignment(Qt::AlignRight);
    return f;
}

QLineEdit* BarcodeSettingsPane::lengthField(QWidget* parent, const char* name)
{
    QLineEdit* f = numberField(parent, name);
    f->setFixedWidth(std::max(56, f->fontMetrics().horizontalAdvance(QStringLiteral("100.0000")) + 14));
    return f;
}

Stepper* BarcodeSettingsPane::makeStepper(QWidget* parent, const char* name, double min, double max,
                                          double step, double value)
{
    auto* s = new Stepper(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(min, max);
    s->setIncrement(step);
    s->setValue(value);
    return s;
}

void BarcodeSettingsPane::addPairRow(QGridLayout* grid, int row, QLabel* label, QLineEdit* text,
                                     Stepper* stepper, const QString& trailing)
{
    grid->addWidget(label, row, 0);
    auto* h = new QHBoxLayout;
    h->setSpacing(2);
    h->addWidget(text);
    h->addWidget(stepper);
    if (!trailing.isEmpty())
        h->addWidget(new QLabel(trailing));
    h->addStretch(1);
    grid->addLayout(h, row, 1);
}

QWidget* BarcodeSettingsPane::helpButton(const char* name, const QString& title, const QString& text)
{
    auto* b = new QPushButton(QStringLiteral("?"), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedSize(22, 22);
    b->setToolTip(tr("Help"));
    connect(b, &QPushButton::clicked, this, [title, text] { Show_Barcode_Help(title, text); });
    return b;
}
