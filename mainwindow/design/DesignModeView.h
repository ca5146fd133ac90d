#pragma once
// The designing-mode tab of the main window: the card canvas in its zooming
// scroll view with rulers, its own toolbar (zoom, rulers, grid), the property
// side (a scrolling host of the panel classes), and what designing mode
// keeps: the document with the items, the card model of the front side, the
// grid and the snapshot undo history.
//
// The main window's services that concern the design (card drawing, the item
// list, undo, the panels) are carried out here; the frame forwards to it.
#include <QList>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include <memory>

class Batch_Binding;
class Card_Property;
class LMNDocument;
class LMNGraphic;
class LMNGraphicView;
class LMNGrid;
class LMNZoomingScrollView;
class PropertyPanelHost;
class QAction;
class QLabel;
class QPainter;
class QScrollArea;
class QToolBar;

// ---- Undo history of designing mode: whole-canvas snapshots ----
// Each snapshot holds the item archive of every item, in list order.
using Design_Snapshot = QList<QByteArray>;

class DesignModeView : public QWidget {
    Q_OBJECT
public:
    // The undo history of this view's design.
    QList<Design_Snapshot> Ucontrol;       // undo stack (last is the top: the state after the last step)
    QList<Design_Snapshot> Rcontrol;       // redo stack
    QList<Design_Snapshot> Ucontrol_Log;   // baseline: element 0 is the design as loaded or begun

    explicit DesignModeView(QWidget* parent = nullptr);
    ~DesignModeView() override;

    // ---- What designing mode keeps ----
    LMNDocument* document() const { return m_document.get(); }
    LMNGrid* grid() const { return _grid; }
    // The batch binding of the design (spreadsheet rows and series table).
    Batch_Binding* batchBinding() const { return m_binding.get(); }
    Card_Property* Front_card_Prop() const { return m_card.get(); }
    // Replaces the front card model by a new one with its defaults.
    void New_Card_Model();
    // Replaces the front card model by a copy of `card` (a design read from a file).
    void Set_Card_Model(const Card_Property& card);
    // The card size in points: the card model's size and the canvas bounds.
    void Apply_Card_Size(QSizeF points);

    // ---- Outlets ----
    QWidget* myTargetView = nullptr;          // the canvas area
    QWidget* first_view = nullptr;
    QToolBar* design_toolbar = nullptr;
    LMNZoomingScrollView* _zoomingScrollView = nullptr;
    LMNGraphicView* _graphicView = nullptr;
    QScrollArea* Right_Prop_Box = nullptr;    // the property side, scrolling
    PropertyPanelHost* panels = nullptr;
    QAction* Zoom_In_btn = nullptr;
    QAction* Zoom_Out_btn = nullptr;
    QAction* Actual_Size_btn = nullptr;
    QAction* Show_Hide_Ruler_chk = nullptr;   // checked while the rulers show
    QAction* Grid_btn = nullptr;
    QAction* Snap_To_Grid_chk = nullptr;
    QAction* Undo_btn = nullptr;
    QAction* Redo_btn = nullptr;
    double _zoomFactor = 1.0;

    // ---- Card drawing (below and above the items) ----
    void Card_Base_Drawing(QPainter& painter, const QRectF& rect);
    void Card_Border_Drawing(QPainter& painter, const QRectF& rect);
    QRectF graphicViewBounds() const;
    // Makes the picture at `path` the card background (fill "I"); an empty
    // path changes nothing.
    void set_Front_BG_Image(const QString& path);
    // The card has one side: nothing to do for the back.
    void set_Back_BG_Image(const QString&) {}
    void Refresh_Canvas();

    // ---- Zoom ----
    static float Get_Factor_According_Index(int index);
    void Set_Canvas_to_100_percent();
    void Actual_Size_Toolbar_btn() { Set_Canvas_to_100_percent(); }
    void Zoom_In_Toolbar_btn();
    void Zoom_Out_Toolbar_btn();
    void Refresh_Zoom_In_Zoom_Out();
    // Index of the zoom pop-up's chosen entry.
    int zoomIndex() const;

    // ---- Rulers ----
    // Turns the rulers to their opposite visibility.
    void Show_Hide_Ruler_ChkBox();
    // Gives the scroll view its horizontal and vertical ruler.
    void Give_Rulers();

    // ---- Grid ----
    void toggleGridConstraining();
    // Fills the grid dialog from the grid and opens it.
    void toggleGridShowing();
    // Fills the grid dialog's controls from the grid (the first half of toggleGridShowing).
    void Load_Grid_Wizard();
    void Grid_Clr_Changed();
    void Grid_Slider_Changed();
    void Grid_Show_Hide_Changed();

    // ---- Undo and redo (whole-canvas snapshots) ----
    // The undo history keeps this many steps; the oldest dropped becomes the
    // state that undoing everything returns to.
    static constexpr int Undo_Max_Steps = 100;
    // Records a step, unless the canvas is as the last step left it.
    void Insert_In_Undo_Redo();
    // The undo step of typing: the first keystroke after another step adds
    // one, the next ones bring that same step up to date.
    void Insert_Typing_Undo_Step();
    void Undo_Action_Perform();
    void Redo_Action_Perform();
    void Undo_Redo_Clear();
    // Starts the baseline over: the items as they stand now.
    void Reset_Undo_Baseline();
    void Check_Undo_Redo_Btn_Enability();
    int Get_Undo_Count() const { return int(Ucontrol.size()); }
    int Get_Redo_Count() const { return int(Rcontrol.size()); }
    // Closes the document's open undo group and drops what it recorded: the
    // user's undo is the snapshot history, so removed items and their
    // pictures are freed once the event that removed them is over.
    void Close_Document_Undo_Group();

    // ---- Panels ----
    void Show_RHS_Properties(LMNGraphic* item);
    // The units window of designing mode, and what its OK applies: the
    // designing unit, its captions and the size fields converted into it.
    void doPreferences();
    void Apply_Unit_Choice(int unit);
    void Lock_Clicked();
    void Unlock_Clicked();
    void Set_Align_Buttons_Enabled(bool sameWidth, bool sameHeight, bool alignGrid);

    // ---- Card side ----
    // The card has one side, the front. Shows "Front" in the side label and
    // the card's property panel, on the card tab that was shown (the size,
    // background or border tab stays; from any other tab the information tab).
    void Select_front_side();
    QLabel* Front_back_label = nullptr;
    QAction* Front_Side_btn = nullptr;

    // ---- Display ----
    void Show_Hide_Main_Window(int flag);
    void Show_Canvas_And_Right_Prop() { Show_Hide_Main_Window(1); }
    void changeViewController(int index);

    // Empties the design: items, selection, undo history, grid display, zoom,
    // placement cascade and the card model (the designing half of a new project).
    void Reset_Design();

signals:
    // The zoom factor changed (by a command or the pop-up).
    void zoomChanged(double factor);

private:
    void buildToolbar();
    void restoreSnapshot(const Design_Snapshot& snapshot);
    Design_Snapshot snapshot() const;
    void setZoomIndex(int index);
    void lockSelection(bool lock);

    std::unique_ptr<LMNDocument> m_document;
    std::unique_ptr<Card_Property> m_card;
    std::unique_ptr<Batch_Binding> m_binding;
    int m_undoGeneration = 0;         // bumped by every undo step, undo and redo
    int m_typingGeneration = -1;      // the generation the typing step left
    LMNGrid* _grid = nullptr;
    bool m_undoGroupClosePending = false;
    int m_printInfoListener = 0;      // keeps the document on the page settings
};
