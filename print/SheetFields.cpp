#include "print/SheetFields.h"

#include "barcode/generation/panes/Stepper.h"
#include "platform/Numbers.h"
#include "print/PrintControls.h"

#include <QHBoxLayout>
#include <QLineEdit>

namespace sheetui {

QString mm2(double v) { return Format_Fixed_C(v, 2); }
double num(const QLineEdit* f) { return Leading_Double_C(f->text()); }
int inum(const QLineEdit* f) { return Leading_Int_C(f->text()); }

QString floatText(double v)
{
    const float f = float(v);
    for (int precision = 6; precision < 10; ++precision) {
        const QString t = QString::number(f, 'g', precision);
        if (t.toFloat() == f)
            return t;
    }
    return QString::number(f, 'g', 9);
}

void setPair(QLineEdit* field, Stepper* stepper, double v, const QString& text)
{
    if (stepper)
        stepper->setValue(v);
    field->setText(text);
}

QLineEdit* readOnlyField(int width)
{
    auto* f = new QLineEdit;
    f->setReadOnly(true);
    if (width)
        f->setFixedWidth(width);
    return f;
}

QHBoxLayout* pairWidget(QLineEdit*& field, Stepper*& stepper, double min, double max, double step, bool floats,
                        int fieldWidth)
{
    auto* h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    field = new QLineEdit;
    field->setFixedWidth(fieldWidth);
    stepper = new Stepper;
    stepper->setRange(min, max);
    stepper->setIncrement(step);
    if (floats)
        field->setValidator(new Float_Num_Formatter(field));
    h->addWidget(field);
    h->addWidget(stepper);
    h->addStretch();
    return h;
}

namespace {

QString trimEnds(const QString& s, bool (*in)(QChar))
{
    int a = 0, b = s.size();
    while (a < b && in(s[a]))
        ++a;
    while (b > a && in(s[b - 1]))
        --b;
    return s.mid(a, b - a);
}
bool isLetter(QChar c) { return c.isLetter(); }
bool isSpace(QChar c) { return c.isSpace(); }
bool isIllegal(QChar c) { return c.isNonCharacter() || c.category() == QChar::Other_NotAssigned; }

} // namespace

QString Size_Field_Text(const QString& typed)
{
    QString t = trimEnds(typed, isLetter);
    t = trimEnds(t, isSpace);
    t = trimEnds(t, isIllegal);
    if (t.size() > 10)
        t = t.left(10);
    return t;
}

void copyPair(QObject* sender, QLineEdit* field, Stepper* stepper, bool isInt, bool twoDecimals)
{
    if (sender == stepper) {
        if (isInt)
            field->setText(QString::number(stepper->intValue()));
        else
            field->setText(twoDecimals ? mm2(stepper->value()) : floatText(stepper->value()));
        return;
    }
    stepper->setValue(isInt ? double(inum(field)) : num(field));
    // The field shows what the stepper holds (a value out of range is corrected).
    if (isInt)
        field->setText(QString::number(stepper->intValue()));
}

void connectPair(QObject* context, QLineEdit* field, Stepper* stepper, const std::function<void(QObject*)>& changed,
                 const std::function<void(QLineEdit*)>& typed, const std::function<void(QLineEdit*)>& left)
{
    QObject::connect(field, &QLineEdit::editingFinished, context, [field, changed, left] {
        if (left)
            left(field);
        changed(field);
    });
    QObject::connect(field, &QLineEdit::textEdited, context, [field, typed] { typed(field); });
    QObject::connect(stepper, &Stepper::stepped, context, [stepper, changed] { changed(stepper); });
}

} // namespace sheetui
