#pragma once
// The real main window in designing mode with items placed on its canvas,
// selected as a click or a rubber band selects them, for the panel tests.
#include "../MainWindowFixture.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNGraphic.h"
#include "core/util/BatchServices.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/Stepper.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/panels/PropertyPanels.h"
#include "mainwindow/units/Units.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

class PanelsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        w = &make();
        w->Set_Start_Card_Option(QString());
        w->Designing_Mode_Select();
        design = w->designModeView();
        host = design->panels;
        canvas = w->graphicView();
        doc = design->document();
    }

    void TearDown() override
    {
        MainWindowTest::TearDown();
    }

    // A new item of a kind on the canvas (in front), with its bounds.
    LMNGraphic* add(LMNKind kind, const QRectF& bounds, const QString& shape = QStringLiteral("R"))
    {
        LMNGraphicPtr item(LMNGraphic::newOfKind(kind));
        if (kind == LMNKind::Shape)
            item->Set_Shape_Type(shape);
        item->_bounds = bounds;
        doc->insertGraphic(item, 0);
        return item.get();
    }

    // Selects the items; the last one is the item clicked (its panel shows).
    void select(const QList<LMNGraphic*>& items)
    {
        QList<int> indexes;
        const QList<LMNGraphic*> all = doc->graphicsPointers();
        for (LMNGraphic* g : items)
            indexes << int(all.indexOf(g));
        canvas->changeSelectionIndexes(indexes);
        LMNGraphic* current = items.isEmpty() ? nullptr : items.last();
        canvas->_Selected_Graphic = current;
        w->Show_RHS_Properties(current);
    }

    int undoSteps() const { return int(design->Ucontrol.size()); }

    // The card as a job draws it (print, PDF and image export fill and draw
    // copies of the items), at `dpi`.
    QImage printedCard(double dpi = 72.0)
    {
        w->Set_Front_Back_Value_To_Print_Export_Mail();
        const QImage card = w->Make_Batch_Rows()->image(0).toImage(dpi);   // as a job takes its rows
        w->Create_Card_Design_Again();
        return card;
    }

    // A user's choice in a list: the entry, then the activation.
    static void choose(QComboBox* combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    // A number typed into a field and the field left.
    static void type(Number_Pair* pair, const QString& text)
    {
        pair->text->setText(text);
        pair->text->setModified(true);
        emit pair->text->editingFinished();
    }

    LMNWindowController* w = nullptr;
    DesignModeView* design = nullptr;
    PropertyPanelHost* host = nullptr;
    LMNGraphicView* canvas = nullptr;
    LMNDocument* doc = nullptr;
};
