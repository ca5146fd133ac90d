#include "barcode/generation/panes/ValuePane.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ValuePane::ValuePane(QWidget* parent) : BarcodeSettingsPane(parent)
{
    auto* g = new QGridLayout(this);
    g->setContentsMargins(0, 0, 0, 0);
    dataText = new QLineEdit(this);
    dataText->setObjectName("dataText");
    dataText_2D = new QPlainTextEdit(this);
    dataText_2D->setObjectName("dataText_2D");
    dataText_2D->setFixedHeight(54);
    dataText_2D->setTabChangesFocus(true);
    dataText_2D->setVisible(false);
    HeaderText = new QLineEdit(this);
    HeaderText->setObjectName("HeaderText");
    FooterText = new QLineEdit(this);
    FooterText->setObjectName("FooterText");
    encode_btn = new QPushButton(tr("Encode"), this);
    encode_btn->setObjectName("encode_btn");
    g->addWidget(new QLabel(tr("Value:"), this), 0, 0, Qt::AlignTop);
    auto* valueCol = new QVBoxLayout;
    valueCol->addWidget(dataText);
    valueCol->addWidget(dataText_2D);
    g->addLayout(valueCol, 0, 1);
    g->addWidget(encode_btn, 0, 2, Qt::AlignTop);
    g->addWidget(new QLabel(tr("Header:"), this), 1, 0);
    g->addWidget(HeaderText, 1, 1, 1, 2);
    g->addWidget(new QLabel(tr("Footer:"), this), 2, 0);
    g->addWidget(FooterText, 2, 1, 1, 2);

    for (QLineEdit* f : {dataText, HeaderText, FooterText}) {
        connect(f, &QLineEdit::textEdited, this, [this, f] { controlTextDidChange(f); });
        connect(f, &QLineEdit::editingFinished, this, [this, f] { textDidEndEditing(f); });
    }
    connect(dataText_2D, &QPlainTextEdit::textChanged, this, [this] { controlTextDidChange(dataText_2D); });
    dataText_2D->installEventFilter(this);
    connect(encode_btn, &QPushButton::clicked, this, [this] { Encode_btn(); });
}

void ValuePane::loadControls(const BarcodeSettings& s)
{
    dataText->setText(s.dataText);
    if (dataText_2D->toPlainText() != s.dataText_2D)
        dataText_2D->setPlainText(s.dataText_2D);
    HeaderText->setText(s.HeaderText);
    FooterText->setText(s.FooterText);
}

void ValuePane::writeTo(BarcodeSettings& s) const
{
    s.dataText = dataText->text();
    s.dataText_2D = dataText_2D->toPlainText();
    s.HeaderText = HeaderText->text();
    s.FooterText = FooterText->text();
}

QString ValuePane::typedValue() const
{
    return twoD() ? dataText_2D->toPlainText() : dataText->text();
}

void ValuePane::twoDChanged()
{
    if (m_seriesManaged)
        return;
    dataText->setVisible(!twoD());
    if (!twoD())
        dataText->setEnabled(true);
    dataText_2D->setVisible(twoD());
}

void ValuePane::scrollToOrigin()
{
    dataText_2D->moveCursor(QTextCursor::Start);
}

void ValuePane::focusValue()
{
    if (twoD())
        dataText_2D->setFocus();
    else
        dataText->setFocus();
}

void ValuePane::controlTextDidChange(QObject* field)
{
    if (loading() || m_settingText)
        return;
    if (field != dataText && field != HeaderText && field != FooterText && field != dataText_2D)
        return;
    if (!twoD()) {
        if (field != dataText_2D)
            report(PaneNeed::Encode);
        return;
    }
    if (field == dataText_2D)
        report(PaneNeed::EncodeTyping);
    else if (field == HeaderText || field == FooterText)
        report(PaneNeed::Redraw);
}

void ValuePane::textDidEndEditing(QObject* field)
{
    if (loading())
        return;
    if (field == dataText_2D && twoD())
        emit editingEnded(PaneNeed::Encode);
    else if (field == dataText && !twoD())
        emit editingEnded(PaneNeed::Encode);
    else if (field == HeaderText || field == FooterText)
        emit editingEnded(twoD() ? PaneNeed::Redraw : PaneNeed::Encode);
}

void ValuePane::Encode_btn()
{
    report(PaneNeed::Encode);
}

bool ValuePane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dataText_2D) {
        if (event->type() == QEvent::FocusOut) {
            textDidEndEditing(dataText_2D);
        } else if (event->type() == QEvent::KeyPress) {
            // Return ends editing as in a one-line field; Shift+Return starts a new line.
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                && !(key->modifiers() & Qt::ShiftModifier)) {
                textDidEndEditing(dataText_2D);
                return true;
            }
        }
    }
    return BarcodeSettingsPane::eventFilter(watched, event);
}

// ---------------------------------------------------------------- batch sources

QWidget* ValuePane::fieldWidget(Field field) const
{
    switch (field) {
    case Field::Value: return dataText;
    case Field::Value2D: return dataText_2D;
    case Field::Header: return HeaderText;
    case Field::Footer: return FooterText;
    }
    return nullptr;
}

QString ValuePane::fieldText(Field field) const
{
    switch (field) {
    case Field::Value: return dataText->text();
    case Field::Value2D: return dataText_2D->toPlainText();
    case Field::Header: return HeaderText->text();
    case Field::Footer: return FooterText->text();
    }
    return {};
}

void ValuePane::setFieldText(Field field, const QString& text)
{
    m_settingText = true;
    switch (field) {
    case Field::Value: dataText->setText(text); break;
    case Field::Value2D:
        if (dataText_2D->toPlainText() != text)
            dataText_2D->setPlainText(text);
        break;
    case Field::Header: HeaderText->setText(text); break;
    case Field::Footer: FooterText->setText(text); break;
    }
    m_settingText = false;
}

void ValuePane::setFieldReadOnly(Field field, bool readOnly)
{
    if (field == Field::Value2D)
        dataText_2D->setReadOnly(readOnly);
    else
        static_cast<QLineEdit*>(fieldWidget(field))->setReadOnly(readOnly);
}

bool ValuePane::fieldReadOnly(Field field) const
{
    if (field == Field::Value2D)
        return dataText_2D->isReadOnly();
    return static_cast<QLineEdit*>(fieldWidget(field))->isReadOnly();
}

void ValuePane::setFieldShown(Field field, bool shown)
{
    fieldWidget(field)->setVisible(shown);
}

bool ValuePane::fieldShown(Field field) const
{
    return !fieldWidget(field)->isHidden();
}
