#include "barcode/generation/panes/PaneSet.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/SettingsOwnerRoad.h"
#include "barcode/generation/panes/BarcodePreview.h"
#include "barcode/generation/panes/ColourPane.h"
#include "barcode/generation/panes/SizePanes.h"
#include "barcode/generation/panes/SymbologyPane.h"
#include "barcode/generation/panes/TextPane.h"
#include "barcode/generation/panes/ValuePane.h"

#include <QObject>
#include <QTabWidget>
#include <QVBoxLayout>

std::vector<BarcodeSettingsPane*> Barcode_Pane_Set::panes() const
{
    return {m_symbology, m_value, m_text, m_linear, m_qr, m_pdf417, m_dataMatrix, m_margins, m_colours, m_dpi,
            m_preview};
}

void Barcode_Pane_Set::buildSettingsTabs(QTabWidget* tabs, bool withBackgroundRadios)
{
    m_text = new TextPane;
    tabs->addTab(m_text, QObject::tr("Text"));
    auto* sizeTab = new QWidget;
    sizeTab->setObjectName("size_tab");
    auto* st = new QVBoxLayout(sizeTab);
    m_linear = new LinearPane(sizeTab);
    m_qr = new QrPane(sizeTab);
    m_pdf417 = new Pdf417Pane(sizeTab);
    m_dataMatrix = new DataMatrixPane(sizeTab);
    m_margins = new MarginPane(sizeTab);
    for (QWidget* w : std::initializer_list<QWidget*>{m_linear, m_qr, m_pdf417, m_dataMatrix, m_margins})
        st->addWidget(w);
    st->addStretch(1);
    tabs->addTab(sizeTab, QObject::tr("Size"));
    m_colours = new ColourPane(withBackgroundRadios);
    tabs->addTab(m_colours, QObject::tr("Colours"));
    m_dpi = new DpiPane;
    tabs->addTab(m_dpi, QObject::tr("DPI"));
}

void Barcode_Pane_Set::connectPanes(QObject* owner, const std::function<void(PaneNeed)>& changed,
                                    const std::function<void()>& symbologyChanged,
                                    const std::function<void(PaneNeed)>& editingEnded)
{
    for (BarcodeSettingsPane* p : panes())
        QObject::connect(p, &BarcodeSettingsPane::changed, owner, changed);
    QObject::connect(m_symbology, &SymbologyPane::symbologyChanged, owner, symbologyChanged);
    QObject::connect(m_value, &ValuePane::editingEnded, owner, editingEnded);
}

void Barcode_Pane_Set::writeTo(BarcodeSettings& s) const
{
    for (BarcodeSettingsPane* p : panes())
        p->writeTo(s);
}

void Barcode_Pane_Set::showKind(bool twoD)
{
    for (BarcodeSettingsPane* p : panes())
        p->setTwoD(twoD);
    const Symbology* sym = Find_Symbology(m_symbology->Barcode_Type_Name());
    const OptionPane pane = sym ? sym->pane : OptionPane::Linear;
    m_linear->setVisible(!twoD);
    m_qr->setVisible(twoD && pane == OptionPane::QRCode);
    m_pdf417->setVisible(twoD && pane == OptionPane::PDF417);
    m_dataMatrix->setVisible(twoD && pane == OptionPane::DataMatrix);
}

void Barcode_Pane_Set::enableLinearControls()
{
    m_text->enableLinearControls();
    m_linear->enableLinearControls();
    m_margins->enableLinearControls();
    m_text->setKerningAllowed(true);
}

void Barcode_Pane_Set::showRoadPreview(const SettingsOwnerRoad& road)
{
    if (road.previewDrawing())
        m_preview->Set_Barcode_On_Panel(road.previewDrawing());
    else if (!road.previewIsBlank())
        m_preview->Set_Barcode_On_Panel(road.previewImage());
    else
        m_preview->Set_Blank_Image(road.blankReason());
    if (!road.previewIsBlank())
        m_preview->Show_Note(road.previewNote());
}
