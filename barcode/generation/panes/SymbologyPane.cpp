#include "barcode/generation/panes/SymbologyPane.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeRoad.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

SymbologyPane::SymbologyPane(bool withKindRadios, QWidget* parent) : BarcodeSettingsPane(parent)
{
    auto* g = new QGridLayout(this);
    g->setContentsMargins(0, 0, 0, 0);
    barcodeTypePopup = new QComboBox(this);
    barcodeTypePopup->setObjectName("barcodeTypePopup");
    barcodeTypePopup->addItems(Symbology_Titles());
    barcodeTypePopup->setMaxVisibleItems(int(Symbology_Titles().size()));
    g->addWidget(new QLabel(tr("Symbology:"), this), 0, 0);
    g->addWidget(barcodeTypePopup, 0, 1, 1, 3);
    if (withKindRadios) {
        Linear_Barcode_RD = new QRadioButton(tr("Linear"), this);
        Linear_Barcode_RD->setObjectName("Linear_Barcode_RD");
        TwoD_Barcode_RD = new QRadioButton(tr("2D"), this);
        TwoD_Barcode_RD->setObjectName("TwoD_Barcode_RD");
        auto* kind = new QButtonGroup(this);
        kind->addButton(Linear_Barcode_RD);
        kind->addButton(TwoD_Barcode_RD);
        Linear_Barcode_RD->setChecked(true);
        g->addWidget(Linear_Barcode_RD, 1, 1);
        g->addWidget(TwoD_Barcode_RD, 1, 2);
        connect(Linear_Barcode_RD, &QRadioButton::clicked, this, [this] { Linear_Barcode_Select(); });
        connect(TwoD_Barcode_RD, &QRadioButton::clicked, this, [this] { TwoD_Barcode_Select(); });
    }
    g->setColumnStretch(3, 1);
    connect(barcodeTypePopup, QOverload<int>::of(&QComboBox::activated), this,
            [this] { barcodeTypeChanged(); });
}

QString SymbologyPane::Barcode_Type_Name() const { return barcodeTypePopup->currentText(); }

void SymbologyPane::loadControls(const BarcodeSettings& s)
{
    int i = Symbology_Index(s.barcodeType);
    if (i < 0)
        i = 0;
    barcodeTypePopup->setCurrentIndex(i);
    if (Symbology_At(i)->isTwoD())
        m_lastTwoD = i;
    else
        m_lastLinear = i;
}

void SymbologyPane::writeTo(BarcodeSettings& s) const
{
    Set_Barcode_Type(s, Barcode_Type_Name());
}

void SymbologyPane::twoDChanged()
{
    if (Linear_Barcode_RD) {
        Linear_Barcode_RD->setChecked(!twoD());
        TwoD_Barcode_RD->setChecked(twoD());
    }
}

void SymbologyPane::chooseType(const QString& name)
{
    const int i = Symbology_Index(name);
    if (i < 0)
        return;
    barcodeTypePopup->setCurrentIndex(i);
    barcodeTypeChanged();
}

void SymbologyPane::barcodeTypeChanged()
{
    const int i = barcodeTypePopup->currentIndex();
    if (const Symbology* s = Symbology_At(i)) {
        if (s->isTwoD())
            m_lastTwoD = i;
        else
            m_lastLinear = i;
    }
    if (!loading())
        emit symbologyChanged();
}

void SymbologyPane::selectKind(bool wantTwoD)
{
    const Symbology* now = Symbology_At(barcodeTypePopup->currentIndex());
    if (now && now->isTwoD() == wantTwoD) {
        if (!loading())
            emit symbologyChanged();
        return;
    }
    int i = wantTwoD ? m_lastTwoD : m_lastLinear;
    if (!Symbology_At(i) || Symbology_At(i)->isTwoD() != wantTwoD) {
        const auto& t = Symbology_Table();
        i = int(std::find_if(t.begin(), t.end(), [&](const Symbology& s) { return s.isTwoD() == wantTwoD; })
                - t.begin());
    }
    barcodeTypePopup->setCurrentIndex(i);
    barcodeTypeChanged();
}

void SymbologyPane::Linear_Barcode_Select() { selectKind(false); }

void SymbologyPane::TwoD_Barcode_Select() { selectKind(true); }
