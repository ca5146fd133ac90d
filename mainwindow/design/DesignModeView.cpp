#include "mainwindow/design/DesignModeView.h"

#include "core/canvas/CardDrawing.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNGraphic.h"
#include "core/model/LMNImage.h"
#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/Stepper.h"
#include "mainwindow/design/GridWizard.h"
#include "mainwindow/panels/PropertyPanels.h"
#include "mainwindow/units/Units.h"
#include "platform/MessageSink.h"
#include "data/BatchBinding.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QPainter>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <iterator>


namespace {
// Width of the property side: room for the four card tabs side by side.
constexpr int kPropertySideWidth = 340;
}

DesignModeView::DesignModeView(MainWindowServices& services, QWidget* parent)
    : QWidget(parent), m_services(services)
{
    setObjectName(QStringLiteral("Barcode_Design_tab"));
    m_document = std::make_unique<LMNDocument>();
    m_card = std::make_unique<Card_Property>();
    m_binding = std::make_unique<Batch_Binding>();
    _grid = new LMNGrid(this);

    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(4, 4, 4, 4);

    myTargetView = new QWidget(this);
    myTargetView->setObjectName(QStringLiteral("myTargetView"));
    auto* tv = new QVBoxLayout(myTargetView);
    tv->setContentsMargins(0, 0, 0, 0);
    buildToolbar();
    tv->addWidget(design_toolbar);
    first_view = new QWidget(myTargetView);
    first_view->setObjectName(QStringLiteral("first_view"));
    auto* fv = new QVBoxLayout(first_view);
    fv->setContentsMargins(0, 0, 0, 0);
    _zoomingScrollView = new LMNZoomingScrollView(&m_services, first_view);
    _zoomingScrollView->setObjectName(QStringLiteral("_zoomingScrollView"));
    _zoomingScrollView->setMinimumSize(200, 160);
    _graphicView = new LMNGraphicView(m_services);
    _graphicView->setObjectName(QStringLiteral("_graphicView"));
    _graphicView->bindGraphics(m_document.get());
    _graphicView->setGrid(_grid);
    _graphicView->setCardSize(m_document->canvasSize(true, QSizeF()));
    _zoomingScrollView->setDocumentView(_graphicView);
    fv->addWidget(_zoomingScrollView);
    tv->addWidget(first_view, 1);
    h->addWidget(myTargetView, 1);

    panels = new PropertyPanelHost(m_services);
    Right_Prop_Box = new QScrollArea(this);
    Right_Prop_Box->setObjectName(QStringLiteral("Right_Prop_Box"));
    Right_Prop_Box->setWidgetResizable(true);
    Right_Prop_Box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Right_Prop_Box->setFixedWidth(kPropertySideWidth);
    Right_Prop_Box->setWidget(panels);
    h->addWidget(Right_Prop_Box);

    connect(_zoomingScrollView, &LMNZoomingScrollView::factorChanged, this, [this](double f) {
        _zoomFactor = f;
        emit zoomChanged(f);
    });
    connect(_grid, &LMNGrid::alignWithGridButtonEnabled, this, [this](bool) {
        if (_graphicView)
            Set_Align_Buttons_Enabled(_graphicView->selectionIndexes().size() >= 2,
                                      _graphicView->selectionIndexes().size() >= 2, _grid->isAlwaysShown());
    });
    // What the panels ask of the design view.
    panels->batchBinding = m_binding.get();
    panels->Set_Canvas_to_100_percent = [this] { Set_Canvas_to_100_percent(); };
    panels->Apply_Card_Size = [this](QSizeF points) { Apply_Card_Size(points); };
    panels->Typing_Undo_Step = [this] { Insert_Typing_Undo_Step(); };
    connect(panels, &PropertyPanelHost::unitsWanted, this, &DesignModeView::doPreferences);
    connect(panels->Lock_tab, &LockPanel::unlockRequested, this, &DesignModeView::Unlock_Clicked);

    // Items inserted or removed: the document's undo group closes once the
    // event that changed them is over.
    m_document->addGraphicsObserver(this, [this] {
        // An item whose panel is shown and that left the design is forgotten,
        // so that another item made later at its address loads its own panel.
        if (panels->Last_Selected_Graphic
            && !m_document->graphicsPointers().contains(panels->Last_Selected_Graphic))
            panels->Last_Selected_Graphic = nullptr;
        if (m_undoGroupClosePending)
            return;
        m_undoGroupClosePending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_undoGroupClosePending = false;
                Close_Document_Undo_Group();
            },
            Qt::QueuedConnection);
    });

    // A picture of the design made its displayed picture again: the error
    // label of the panel shown follows the item it shows.
    m_document->addItemObserver(this, [this](LMNGraphic* item, const QString& key, const QVariant& shown) {
        if (key == LMNImageDisplayedPictureKey && item == panels->Last_Selected_Graphic)
            panels->Displayed_Picture_Made(*item, shown.toBool());
    });

    // The document's print settings are the page settings of the process,
    // followed as they change (on the GUI thread, where the document lives).
    m_document->setPrintInfo(MainWindowServices::printInfo());
    m_printInfoListener = MainWindowServices::addPrintInfoListener([this](const PrintInfo& info) {
        QMetaObject::invokeMethod(this, [this, info] { m_document->setPrintInfo(info); }, Qt::AutoConnection);
    });
}

DesignModeView::~DesignModeView()
{
    MainWindowServices::removePrintInfoListener(m_printInfoListener);
    m_document->removeGraphicsObserver(this);
    m_document->removeItemObserver(this);
    // The canvas lets go of the document and the grid before they go.
    _graphicView->unbindGraphics();
    _graphicView->setGrid(nullptr);
}

void DesignModeView::buildToolbar()
{
    design_toolbar = new QToolBar(tr("Design"), this);
    design_toolbar->setObjectName(QStringLiteral("design_toolbar"));
    design_toolbar->setIconSize(QSize(18, 18));
    design_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Undo_btn = design_toolbar->addAction(QIcon::fromTheme(QStringLiteral("edit-undo")), tr("Undo"));
    Undo_btn->setObjectName(QStringLiteral("Undo_btn"));
    connect(Undo_btn, &QAction::triggered, this, &DesignModeView::Undo_Action_Perform);
    Redo_btn = design_toolbar->addAction(QIcon::fromTheme(QStringLiteral("edit-redo")), tr("Redo"));
    Redo_btn->setObjectName(QStringLiteral("Redo_btn"));
    connect(Redo_btn, &QAction::triggered, this, &DesignModeView::Redo_Action_Perform);
    design_toolbar->addSeparator();
    Zoom_Out_btn = design_toolbar->addAction(QIcon::fromTheme(QStringLiteral("zoom-out")), tr("Zoom Out"));
    connect(Zoom_Out_btn, &QAction::triggered, this, &DesignModeView::Zoom_Out_Toolbar_btn);
    Zoom_In_btn = design_toolbar->addAction(QIcon::fromTheme(QStringLiteral("zoom-in")), tr("Zoom In"));
    connect(Zoom_In_btn, &QAction::triggered, this, &DesignModeView::Zoom_In_Toolbar_btn);
    Actual_Size_btn = design_toolbar->addAction(QIcon::fromTheme(QStringLiteral("zoom-original")), tr("100%"));
    connect(Actual_Size_btn, &QAction::triggered, this, &DesignModeView::Actual_Size_Toolbar_btn);
    design_toolbar->addSeparator();
    Show_Hide_Ruler_chk = design_toolbar->addAction(tr("Rulers"));
    Show_Hide_Ruler_chk->setObjectName(QStringLiteral("Show_Hide_Ruler_chk"));
    Show_Hide_Ruler_chk->setCheckable(true);
    connect(Show_Hide_Ruler_chk, &QAction::triggered, this, [this] { Show_Hide_Ruler_ChkBox(); });
    Grid_btn = design_toolbar->addAction(QIcon::fromTheme(QStringLiteral("view-grid")), tr("Grid..."));
    Grid_btn->setObjectName(QStringLiteral("Grid_btn"));
    connect(Grid_btn, &QAction::triggered, this, &DesignModeView::toggleGridShowing);
    Snap_To_Grid_chk = design_toolbar->addAction(tr("Snap"));
    Snap_To_Grid_chk->setObjectName(QStringLiteral("Snap_To_Grid_chk"));
    Snap_To_Grid_chk->setCheckable(true);
    Snap_To_Grid_chk->setToolTip(tr("Items snap to the grid"));
    connect(Snap_To_Grid_chk, &QAction::triggered, this, &DesignModeView::toggleGridConstraining);
}

// ---------------------------------------------------------------- card

void DesignModeView::New_Card_Model()
{
    m_card = std::make_unique<Card_Property>();
}

void DesignModeView::Set_Card_Model(const Card_Property& card)
{
    m_card = std::make_unique<Card_Property>(card);
}

void DesignModeView::Apply_Card_Size(QSizeF points)
{
    m_card->Card_Size = points;
    _graphicView->setCardSize(points);
    _zoomingScrollView->viewport()->update();
}

QRectF DesignModeView::graphicViewBounds() const
{
    return _graphicView ? _graphicView->bounds() : QRectF();
}

void DesignModeView::Card_Base_Drawing(QPainter& painter, const QRectF&)
{
    ::Card_Base_Drawing(painter, *m_card, graphicViewBounds(), m_services.Card_Shape);
}

void DesignModeView::Card_Border_Drawing(QPainter& painter, const QRectF&)
{
    ::Card_Border_Drawing(painter, *m_card, graphicViewBounds(), m_services.Card_Shape);
}

void DesignModeView::set_Front_BG_Image(const QString& path)
{
    panels->set_Front_BG_Image(path);
}

void DesignModeView::Refresh_Canvas()
{
    _graphicView->update();
    _zoomingScrollView->viewport()->update();
}

// ---------------------------------------------------------------- zoom

float DesignModeView::Get_Factor_According_Index(int index)
{
    if (index < 0 || index >= LMNZoomingScrollViewFactorCount)
        return 0.0f;
    return static_cast<float>(LMNZoomingScrollViewFactors[index]);
}

int DesignModeView::zoomIndex() const
{
    const int i = _zoomingScrollView->factorPopUpButton()->currentIndex();
    return i < 0 ? 3 : i;
}

void DesignModeView::setZoomIndex(int index)
{
    index = std::clamp(index, 0, LMNZoomingScrollViewFactorCount - 1);
    _zoomingScrollView->factorPopUpButton()->setCurrentIndex(index);
    _zoomingScrollView->setFactor(Get_Factor_According_Index(index));
    _zoomFactor = _zoomingScrollView->factor();
}

void DesignModeView::Set_Canvas_to_100_percent()
{
    setZoomIndex(3);
}

void DesignModeView::Zoom_In_Toolbar_btn()
{
    setZoomIndex(zoomIndex() + 1);
}

void DesignModeView::Zoom_Out_Toolbar_btn()
{
    setZoomIndex(zoomIndex() - 1);
}

void DesignModeView::Refresh_Zoom_In_Zoom_Out()
{
    try {
        setZoomIndex(zoomIndex());
        _graphicView->Refresh_ScrollView();
        _zoomingScrollView->update();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- rulers

void DesignModeView::Show_Hide_Ruler_ChkBox()
{
    _graphicView->showOrHideRulers();
    Show_Hide_Ruler_chk->setChecked(_graphicView->rulersVisible());
}

void DesignModeView::Give_Rulers()
{
    _zoomingScrollView->setHasHorizontalRuler(true);
    _zoomingScrollView->setHasVerticalRuler(true);
}

// ---------------------------------------------------------------- grid

void DesignModeView::toggleGridConstraining()
{
    _grid->setConstraining(!_grid->isConstraining());
    Snap_To_Grid_chk->setChecked(_grid->isConstraining());
    if (Grid_Wizard* wizard = Grid_Wizard::defaultInstance()) {
        const QSignalBlocker block(wizard->Snap_to_grid_chk);
        wizard->Snap_to_grid_chk->setChecked(_grid->isConstraining());
    }
}

void DesignModeView::Load_Grid_Wizard()
{
    Grid_Wizard* wizard = Grid_Wizard::defaultInstance();
    if (!wizard)
        return;
    // The dialog's controls act at once; they are connected once.
    if (!wizard->property("zl_connected").toBool()) {
        wizard->setProperty("zl_connected", true);
        connect(wizard->Grid_clr, &ColorWell::colorChanged, this, &DesignModeView::Grid_Clr_Changed);
        connect(wizard->Grid_Space_slidr, &QSlider::valueChanged, this, &DesignModeView::Grid_Slider_Changed);
        connect(wizard->Show_hide_grid_chk, &QCheckBox::toggled, this, &DesignModeView::Grid_Show_Hide_Changed);
        connect(wizard->Snap_to_grid_chk, &QCheckBox::toggled, this, [this](bool on) {
            if (on != _grid->isConstraining())
                toggleGridConstraining();
        });
    }
    const QSignalBlocker b1(wizard->Grid_clr), b2(wizard->Grid_Space_slidr), b3(wizard->Show_hide_grid_chk),
        b4(wizard->Snap_to_grid_chk);
    wizard->Grid_clr->setColor(_grid->_color);
    wizard->Grid_Space_slidr->setValue(static_cast<int>(std::lround(_grid->_spacing)));
    wizard->Grid_Space_val->setText(tr("%1 pt").arg(wizard->Grid_Space_slidr->value()));
    wizard->Show_hide_grid_chk->setChecked(_grid->isAlwaysShown());
    wizard->Snap_to_grid_chk->setChecked(_grid->isConstraining());
    SetObjEnabled(wizard->Grid_Opt_box, _grid->isAlwaysShown());
}

void DesignModeView::toggleGridShowing()
{
    Load_Grid_Wizard();
    if (Grid_Wizard* wizard = Grid_Wizard::defaultInstance())
        wizard->Open_Wnd();
}

void DesignModeView::Grid_Clr_Changed()
{
    Grid_Wizard* wizard = Grid_Wizard::defaultInstance();
    _grid->_color = wizard->Grid_clr->color();
    _grid->setAlwaysShown(true);
}

void DesignModeView::Grid_Slider_Changed()
{
    Grid_Wizard* wizard = Grid_Wizard::defaultInstance();
    _grid->_spacing = wizard->Grid_Space_slidr->value();
    _grid->setAlwaysShown(true);
}

void DesignModeView::Grid_Show_Hide_Changed()
{
    Grid_Wizard* wizard = Grid_Wizard::defaultInstance();
    const bool on = wizard->Show_hide_grid_chk->isChecked();
    _grid->setAlwaysShown(on);
    SetObjEnabled(wizard->Grid_Opt_box, on);
}

// ---------------------------------------------------------------- undo

Design_Snapshot DesignModeView::snapshot() const
{
    // An item unchanged since the last step shares that step's bytes, so the
    // history costs memory for what changed only.
    const Design_Snapshot* last = Ucontrol.isEmpty() ? nullptr : &Ucontrol.last();
    Design_Snapshot out;
    for (LMNGraphic* item : m_document->graphicsPointers()) {
        if (!item)
            continue;
        try {
            QByteArray archive = item->encodeWithCoder();
            const qsizetype i = out.size();
            if (last && i < last->size() && last->at(i) == archive)
                archive = last->at(i);
            out << archive;
        } catch (const std::exception& e) {
            Show_NSLog_Message(QString::fromUtf8(e.what()));
        }
    }
    return out;
}

void DesignModeView::restoreSnapshot(const Design_Snapshot& snap)
{
    _graphicView->delete_all_control();
    int index = static_cast<int>(m_document->graphics().size());
    for (const QByteArray& archive : snap) {
        std::unique_ptr<LMNGraphic> item = LMNGraphic::initWithCoder(archive);
        if (!item)
            continue;
        LMNGraphicPtr shared(std::move(item));
        if (m_document->insertGraphic(shared, index))
            ++index;
        LMNGraphicView::check_barcode_and_set_control_bounds(shared.get());
    }
}

void DesignModeView::Insert_In_Undo_Redo()
{
    Design_Snapshot now = snapshot();
    Rcontrol.clear();
    // A step that changed nothing (the canvas records before and after its
    // edits) is not pushed: undo would seem to do nothing.
    if (!Ucontrol.isEmpty() && Ucontrol.last() == now) {
        Check_Undo_Redo_Btn_Enability();
        return;
    }
    Ucontrol.append(std::move(now));
    ++m_undoGeneration;
    while (Ucontrol.size() > Undo_Max_Steps) {
        Ucontrol_Log.clear();
        Ucontrol_Log.append(Ucontrol.takeFirst());
    }
    Check_Undo_Redo_Btn_Enability();
}

void DesignModeView::Insert_Typing_Undo_Step()
{
    if (m_typingGeneration == m_undoGeneration && !Ucontrol.isEmpty()) {
        Rcontrol.clear();
        Ucontrol.last() = snapshot();
        Check_Undo_Redo_Btn_Enability();
        return;
    }
    // Only a step this typing pushed may take the following keystrokes; an
    // unchanged canvas pushes none, and the last step belongs to another edit.
    const int before = m_undoGeneration;
    Insert_In_Undo_Redo();
    m_typingGeneration = m_undoGeneration != before ? m_undoGeneration : -1;
}

// The top of the undo stack is the state after the last step, so undoing
// goes back to the one below it (or to the baseline): the first undo after an
// edit takes the edit back.
void DesignModeView::Undo_Action_Perform()
{
    if (Ucontrol.isEmpty()) {
        Check_Undo_Redo_Btn_Enability();
        return;
    }
    ++m_undoGeneration;
    Rcontrol.append(Ucontrol.takeLast());
    if (!Ucontrol.isEmpty())
        restoreSnapshot(Ucontrol.last());
    else
        restoreSnapshot(Ucontrol_Log.isEmpty() ? Design_Snapshot() : Ucontrol_Log.first());
    Check_Undo_Redo_Btn_Enability();
    Refresh_Canvas();
    Show_RHS_Properties(nullptr);
}

void DesignModeView::Redo_Action_Perform()
{
    if (Rcontrol.isEmpty()) {
        Check_Undo_Redo_Btn_Enability();
        return;
    }
    ++m_undoGeneration;
    Ucontrol.append(Rcontrol.takeLast());
    restoreSnapshot(Ucontrol.last());
    Check_Undo_Redo_Btn_Enability();
    Refresh_Canvas();
    Show_RHS_Properties(nullptr);
}

void DesignModeView::Undo_Redo_Clear()
{
    ++m_undoGeneration;
    Ucontrol.clear();
    Rcontrol.clear();
    Check_Undo_Redo_Btn_Enability();
}

void DesignModeView::Reset_Undo_Baseline()
{
    Ucontrol_Log.clear();
    Ucontrol_Log.append(snapshot());
}

void DesignModeView::Check_Undo_Redo_Btn_Enability()
{
    Undo_btn->setEnabled(!Ucontrol.isEmpty());
    Redo_btn->setEnabled(!Rcontrol.isEmpty());
}

void DesignModeView::Close_Document_Undo_Group()
{
    LMNUndoManager& undo = m_document->undoManager();
    if (undo.undoGroupCount() == 0)
        return;
    undo.checkpoint();
    undo.removeAllActions();
}

// ---------------------------------------------------------------- panels

void DesignModeView::Show_RHS_Properties(LMNGraphic* item)
{
    panels->Show_RHS_Properties(item);
}

void DesignModeView::doPreferences()
{
    const int unit = Run_Units_Window(this, panels->Measument_Unit_Is);
    if (unit >= 0)
        Apply_Unit_Choice(unit);
}

void DesignModeView::Apply_Unit_Choice(int unit)
{
    // On_OK_of_Unit_Panel: the new unit, its captions, the size fields in it.
    panels->Measument_Unit_Is = unit;
    _zoomingScrollView->setRulerUnit(unit);   // the rulers count in it too
    panels->_setLabels();
    panels->Apply_unit_Chaneg_Values();
    panels->last_unit_val = panels->Measument_Unit_Is;
    Show_RHS_Properties(nullptr);
}

void DesignModeView::Select_front_side()
{
    if (Front_back_label)
        Front_back_label->setText(tr("Front"));
    // The card panel stays on the card tab it shows; from an item's panel
    // (or none) it opens on its first tab.
    panels->Last_Card_Sel_Tab = panels->sett_tab->currentWidget();
    // The front card's canvas and the panel's first view are shown.
    _zoomingScrollView->show();
    changeViewController(0);
    Show_RHS_Properties(nullptr);
    QWidget* const cardTabs[] = {panels->card_info_tab, panels->card_size_tab, panels->card_bkgd_tab,
                                 panels->card_brdr_tab};
    const bool cardTab = std::find(std::begin(cardTabs), std::end(cardTabs), panels->Last_Card_Sel_Tab)
                         != std::end(cardTabs);
    panels->Select_Tab(cardTab ? panels->Last_Card_Sel_Tab : panels->card_info_tab);
}

void DesignModeView::lockSelection(bool lock)
{
    const QList<LMNGraphic*> selected = _graphicView->selectedGraphics();
    if (selected.isEmpty()) {
        Show_MessageBox(lock ? QStringLiteral("Please select a control to Lock.")
                             : QStringLiteral("Please select a control to Unlock."));
        return;
    }
    for (LMNGraphic* g : selected) {
        g->ctrl_is_locked = lock;
        _graphicView->startEditingGraphic(g);
    }
    // The card panel in between clears the selection; it is given back,
    // with the item that was current.
    const QList<int> kept = _graphicView->selectionIndexes();
    LMNGraphic* const current = _graphicView->_Selected_Graphic;
    Show_RHS_Properties(nullptr);
    _graphicView->changeSelectionIndexes(kept);
    _graphicView->_Selected_Graphic = current;
    Refresh_Canvas();
    Show_RHS_Properties(selected.last());
}

void DesignModeView::Lock_Clicked()
{
    lockSelection(true);
}

void DesignModeView::Unlock_Clicked()
{
    lockSelection(false);
}

void DesignModeView::Set_Align_Buttons_Enabled(bool sameWidth, bool sameHeight, bool alignGrid)
{
    const bool any = !_graphicView->selectionIndexes().isEmpty();
    for (QPushButton* b : panels->aligmnt_tab->buttons()) {
        const QString a = b->objectName();
        if (a == QLatin1String("alignWithGrid"))
            b->setEnabled(alignGrid);   // exactly while the grid is shown
        else if (a == QLatin1String("makeSameWidth"))
            b->setEnabled(sameWidth);
        else if (a == QLatin1String("makeSameHeight"))
            b->setEnabled(sameHeight);
        else if (a != QLatin1String("makeNaturalSize") && a != QLatin1String("makeSameAsLabelSize"))
            b->setEnabled(any);
    }
}

// ---------------------------------------------------------------- display

void DesignModeView::Show_Hide_Main_Window(int flag)
{
    myTargetView->setVisible(flag == 1);
    Right_Prop_Box->setVisible(flag == 1);
}

void DesignModeView::changeViewController(int index)
{
    if (index == 0)
        first_view->show();
}

void DesignModeView::Reset_Design()
{
    _graphicView->delete_all_control();
    m_document->Clear_All_Undo_Redo();
    Ucontrol_Log.clear();
    Undo_Redo_Clear();
    _grid->setAlwaysShown(false);
    Show_Hide_Main_Window(0);
    Set_Canvas_to_100_percent();
    _graphicView->_Selected_Graphic = nullptr;
    panels->Last_Selected_Graphic = nullptr;
    m_services.Reset_Placement_Cascade();
    New_Card_Model();
    m_services.Card_Shape = 0;
    const float side = MainWindowServices::MM_to_Points_Convert(100.0f);
    Apply_Card_Size(QSizeF(side, side));
    Reset_Undo_Baseline();
}
