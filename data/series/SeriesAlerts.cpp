#include "data/series/SeriesAlerts.h"

#include "core/util/MessageBoxes.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Series_Alert_Box::Series_Alert_Box(const QString& text, const QStringList& titles, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QApplication::applicationName());
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    message_lbl = new QLabel(text);
    message_lbl->setTextFormat(Qt::PlainText);
    message_lbl->setWordWrap(true);
    message_lbl->setMinimumWidth(360);
    col->addWidget(message_lbl);
    apply_chk = new QCheckBox(QStringLiteral("Apply to All"));
    col->addWidget(apply_chk);
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (int i = 0; i < titles.size(); ++i) {
        auto* b = new QPushButton(titles.at(i));
        b->setAutoDefault(false);
        b->setDefault(i == 0);
        row->addWidget(b);
        buttons << b;
        connect(b, &QPushButton::clicked, this, [this, i] { done(i); });
    }
    col->addLayout(row);
}

int Series_Alert_Box::Run(bool* applyToAll)
{
    const int code = Run_Modal_Dialog(*this);
    if (applyToAll)
        *applyToAll = apply_chk->isChecked();
    hide();
    return code;
}

void Series_Alert_Box::reject()
{
    done(int(buttons.size()) - 1);
}

bool Show_Series_In_Use_Alert(const QString& name, const QString& reason)
{
    Series_Alert_Box box(QStringLiteral("Series is in use\n\n%1\n\n%2").arg(name, reason), {QStringLiteral("OK")},
                         QApplication::activeModalWidget());
    bool all = false;
    box.Run(&all);
    return all;
}

int Ask_Keep_Or_Replace_Series(const QString& name, bool* applyToAll)
{
    Series_Alert_Box box(
        QStringLiteral("File already exists\n\n%1\n\nFile already exists in this location.\n\nDo you want to Keep or Replace it?")
            .arg(name),
        {QStringLiteral("Keep Both"), QStringLiteral("Replace"), QStringLiteral("Cancel")},
        QApplication::activeModalWidget());
    const int code = box.Run(applyToAll);
    switch (code) {
    case 0:
        return 1;
    case 1:
        return 0;
    default:
        return 4;
    }
}
