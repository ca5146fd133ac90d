// The canvas view's commands on the selection (clipboard, delete, align,
// arrange, sizes), the validation of its menu items and its contextual menu.
#include "core/canvas/LMNGraphicView.h"

#include "core/canvas/CanvasMessages.h"
#include "core/canvas/GraphicViewSupport.h"
#include "core/canvas/LMNGrid.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNGraphicArchive.h"
#include "core/util/MainWindowServices.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHash>
#include <QMenu>
#include <QMimeData>
#include <algorithm>
#include <cmath>

using namespace graphic_view;

namespace graphic_view {

namespace {

QClipboard* App_Clipboard()
{
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

qint64 Clipboard_Change_Count()
{
    const QClipboard* c = App_Clipboard();
    return c ? c->property("zlChangeCount").toLongLong() : 0;
}

void Count_Clipboard_Change()
{
    if (QClipboard* c = App_Clipboard())
        c->setProperty("zlChangeCount", Clipboard_Change_Count() + 1);
}

void Watch_Clipboard()
{
    QClipboard* c = App_Clipboard();
    if (!c || c->property("zlWatched").toBool())
        return;
    c->setProperty("zlWatched", true);
    QObject::connect(c, &QClipboard::dataChanged, c, [] { Count_Clipboard_Change(); });
}

} // namespace graphic_view

namespace {

constexpr double Points_Per_Millimetre = 2.834645669291;

const char* const Locked_Message = "Selected control is locked.";

// The rule that moves an item along one axis so that the point at `fraction` of
// its extent (0 the leading edge, 0.5 the centre, 1 the trailing edge) meets the
// same point of the reference item, or of the card when one item is selected.
std::function<QRectF(LMNGraphic*, LMNGraphic*, bool)> Align_Rule(Qt::Orientation axis, double fraction,
                                                                 double cardExtent)
{
    return [axis, fraction, cardExtent](LMNGraphic* g, LMNGraphic* ref, bool single) {
        const bool across = axis == Qt::Horizontal;
        auto start = [across](const QRectF& b) { return across ? b.x() : b.y(); };
        auto extent = [across](const QRectF& b) { return across ? b.width() : b.height(); };
        QRectF r = g->bounds();
        const double target = single ? fraction * cardExtent
                                     : start(ref->bounds()) + fraction * extent(ref->bounds());
        if (start(r) + fraction * extent(r) != target) {
            const double to = target - fraction * extent(r);
            if (across)
                r.moveLeft(to);
            else
                r.moveTop(to);
        }
        return r;
    };
}

} // namespace

// ===========================================================================
// Commands

// The commands end by asking the window to bring its undo buttons and the
// canvas up to date; the window's redraw request serves both.
void LMNGraphicView::Undo_Redo_Button_state()
{
    m_services.Refresh_Canvas();
}

bool LMNGraphicView::selectionHasLockedItem() const
{
    for (LMNGraphic* g : selectedGraphics())
        if (g->ctrl_is_locked)
            return true;
    return false;
}

bool LMNGraphicView::There_Is_Any_Lock_Contrl() const
{
    return selectionHasLockedItem();
}

bool LMNGraphicView::There_Is_Frame_Pic_Or_Frame_Photo() const
{
    for (LMNGraphic* g : selectedGraphics())
        if (g->control_ID == QLatin1String("PARTY_IMAGE") || g->control_ID == QLatin1String("PARTY_IMAGE_BG"))
            return true;
    return false;
}

void LMNGraphicView::copy()
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (items.isEmpty())
        return;
    auto* data = new QMimeData;
    data->setData(LMNGraphicViewPasteboardType, LMNGraphic::pasteboardDataWithGraphics(items));
    data->setData(LMNGraphicViewPdfType, LMNRenderingView::pdfDataWithGraphics_data(items, &m_services));
    data->setData(LMNGraphicViewTiffType, LMNRenderingView::tiffDataWithGraphics(items));
    QGuiApplication::clipboard()->setMimeData(data);
    Count_Clipboard_Change(); // counted even when the platform reports the change late
    _pasteboardChangeCount = Clipboard_Change_Count();
    _pasteCascadeNumber = 1;
    m_services.Set_Paste_Button_Status();
}

void LMNGraphicView::cut()
{
    if (!selectionMayChange())
        return;
    copy();
    delete_();
    Undo_Redo_Button_state();
}

void LMNGraphicView::paste()
{
    m_services.Insert_In_Undo_Redo();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    if (data->hasFormat(LMNGraphicViewPasteboardType)) {
        LMNError error;
        int skipped = 0;
        const QList<LMNGraphicPtr> items =
            LMNGraphic::graphicsWithPasteboardData(data->data(LMNGraphicViewPasteboardType), &error, &skipped);
        if (error.code != 0) {
            Canvas_Show_Message(error.description);
            return;
        }
        if (skipped > 0)
            Canvas_Show_Message(skipped == 1 ? tr("One of the copied items could not be read and was left out.")
                                             : tr("%1 of the copied items could not be read and were left out.")
                                                   .arg(skipped));
        if (_pasteboardChangeCount != Clipboard_Change_Count()) {
            _pasteboardChangeCount = Clipboard_Change_Count();
            _pasteCascadeNumber = 0;
        }
        if (items.isEmpty())
            return;
        QList<LMNGraphic*> raw;
        QList<int> indexes;
        for (const LMNGraphicPtr& g : items) {
            raw.append(g.get());
            indexes.append(static_cast<int>(indexes.size()));
        }
        _Selected_Graphic = raw.first();
        if (_pasteCascadeNumber > 0) {
            const QPointF p = m_services.Control_New_Point(QStringLiteral("F"));
            LMNGraphic::Paste_Location_Of_Graphics(raw, p.x(), p.y(),
                                                   [this] { return m_services.Control_New_Point(QStringLiteral("F")); });
        }
        ++_pasteCascadeNumber;
        insertGraphics(items, indexes);
        changeSelectionIndexes(indexes);
        _Selected_Graphic = raw.first();
        Undo_Redo_Button_state();
        m_services.Show_RHS_Properties(_Selected_Graphic);
        // The pasted state is an undo step of its own.
        m_services.Insert_In_Undo_Redo();
        return;
    }
    if (Clipboard_Holds_File_Names(data))
        return;
    if (makeNewImageFromPasteboard(data, QPointF(50, 50)))
        m_services.Insert_In_Undo_Redo();
}

void LMNGraphicView::delete_()
{
    if (!selectionMayChange())
        return;
    m_services.Insert_In_Undo_Redo();
    const QList<int> indexes = _selection;
    changeSelectionIndexes({});
    removeGraphicsAtIndexes(indexes);
    _Selected_Graphic = nullptr;
    Undo_Redo_Button_state();
    m_services.Show_RHS_Properties(nullptr);
    m_services.Insert_In_Undo_Redo();
}

void LMNGraphicView::moveSelectedGraphicsByX(double x, double y)
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (!items.isEmpty()) {
        hideHandlesMomentarily();
        LMNGraphic::translateGraphics(items, x, y, bounds());
    }
    m_services.Insert_In_Undo_Redo();
}

void LMNGraphicView::alignEach(const std::function<QRectF(LMNGraphic*, LMNGraphic*, bool)>& rule, bool refMoves)
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (items.isEmpty())
        return;
    auto moveTo = [](LMNGraphic* g, const QRectF& r) {
        if (r != g->bounds()) {
            g->setBounds(r);
            check_barcode_and_set_control_bounds(g);
        }
    };
    if (items.size() == 1) {
        LMNGraphic* g = items.first();
        if (!g->ctrl_is_locked)
            moveTo(g, rule(g, nullptr, true));
    } else {
        LMNGraphic* ref = items.first();
        for (int i = refMoves ? 0 : 1; i < items.size(); ++i) {
            LMNGraphic* g = items.at(i);
            if (!g->ctrl_is_locked)
                moveTo(g, rule(g, ref, false));
        }
    }
    Undo_Redo_Button_state();
}

void LMNGraphicView::alignLeftEdges()
{
    alignEach(Align_Rule(Qt::Horizontal, 0.0, bounds().width()), false);
}

void LMNGraphicView::alignRightEdges()
{
    alignEach(Align_Rule(Qt::Horizontal, 1.0, bounds().width()), false);
}

void LMNGraphicView::alignTopEdges()
{
    alignEach(Align_Rule(Qt::Vertical, 0.0, bounds().height()), false);
}

void LMNGraphicView::alignBottomEdges()
{
    alignEach(Align_Rule(Qt::Vertical, 1.0, bounds().height()), false);
}

void LMNGraphicView::alignHorizontalCenters()
{
    alignEach(Align_Rule(Qt::Horizontal, 0.5, bounds().width()), false);
}

void LMNGraphicView::alignVerticalCenters()
{
    alignEach(Align_Rule(Qt::Vertical, 0.5, bounds().height()), false);
}

void LMNGraphicView::alignformCenter()
{
    const QSizeF card = bounds().size();
    alignEach([card](LMNGraphic* g, LMNGraphic*, bool) {
        QRectF r = g->bounds();
        r.moveTopLeft(QPointF(card.width() / 2.0 - r.width() / 2.0, card.height() / 2.0 - r.height() / 2.0));
        return r;
    }, true);
}

void LMNGraphicView::alignWithGrid()
{
    if (!_grid || !_grid->canAlign())
        return;
    for (LMNGraphic* g : selectedGraphics()) {
        if (g->ctrl_is_locked)
            continue;
        g->setBounds(_grid->alignedRect(g->bounds()));
        check_barcode_and_set_control_bounds(g);
    }
    Undo_Redo_Button_state();
}

void LMNGraphicView::print_contol_or_not(int value)
{
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked)
            g->print_object = value;
}

// False, after telling why, when a selected item is locked; false when nothing is selected.
bool LMNGraphicView::selectionMayChange()
{
    if (selectionHasLockedItem()) {
        Canvas_Show_Message(QString::fromLatin1(Locked_Message));
        return false;
    }
    return !_selection.isEmpty();
}

void LMNGraphicView::restackSelection(bool toFront)
{
    if (!selectionMayChange())
        return;
    const QList<int> old = _selection;
    changeSelectionIndexes({});
    const QList<LMNGraphicPtr> moved = removeGraphicsAtIndexes(old);
    const QList<int> indexes = Index_Run(toFront ? 0 : static_cast<int>(graphics().size()), moved.size());
    insertGraphics(moved, indexes);
    changeSelectionIndexes(indexes);
    Undo_Redo_Button_state();
}

void LMNGraphicView::bringToFront()
{
    restackSelection(true);
}

void LMNGraphicView::sendToBack()
{
    restackSelection(false);
}

void LMNGraphicView::Frame_main_Pic_X_Pos_Changed(double x)
{
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked)
            g->setXPosition(x);
}

void LMNGraphicView::Frame_main_Pic_Y_Pos_Changed(double y)
{
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked)
            g->setYPosition(y);
}

void LMNGraphicView::setSelectedExtent(double millimetres, void (LMNGraphic::*set)(double))
{
    if (!std::isfinite(millimetres) || millimetres < 0)
        return;
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked && !Is_Kind(g, LMNKind::Barcode))
            (g->*set)(millimetres * Points_Per_Millimetre);
}

void LMNGraphicView::Frame_main_Pic_Wdith_Changed(double millimetres)
{
    setSelectedExtent(millimetres, &LMNGraphic::setWidth);
}

void LMNGraphicView::Frame_main_Pic_Height_Changed(double millimetres)
{
    setSelectedExtent(millimetres, &LMNGraphic::setHeight);
}

// The first selected item gives the extent to the others.
void LMNGraphicView::makeSameExtent(double (LMNGraphic::*get)() const, void (LMNGraphic::*set)(double))
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (items.size() < 2)
        return;
    const double extent = (items.first()->*get)();
    for (int i = 1; i < items.size(); ++i) {
        LMNGraphic* g = items.at(i);
        if (!g->ctrl_is_locked && !Is_Kind(g, LMNKind::Barcode) && (g->*get)() != extent)
            (g->*set)(extent);
    }
    Undo_Redo_Button_state();
}

void LMNGraphicView::makeSameWidth()
{
    makeSameExtent(&LMNGraphic::width, &LMNGraphic::setWidth);
}

void LMNGraphicView::makeSameHeight()
{
    makeSameExtent(&LMNGraphic::height, &LMNGraphic::setHeight);
}

void LMNGraphicView::applyToSelection(const std::function<void(LMNGraphic*)>& apply)
{
    const QList<LMNGraphic*> items = selectedGraphics();
    if (items.isEmpty())
        return;
    for (LMNGraphic* g : items)
        apply(g);
    Undo_Redo_Button_state();
}

void LMNGraphicView::makeSameAsLabelSize()
{
    const QRectF card = bounds();
    applyToSelection([card](LMNGraphic* g) { g->makeSameAsLabelSize(card); });
}

void LMNGraphicView::makeNaturalSize()
{
    applyToSelection([](LMNGraphic* g) { g->makeNaturalSize(); });
}

void LMNGraphicView::undo()
{
    m_services.Undo_Action_Perform();
}

void LMNGraphicView::redo()
{
    m_services.Redo_Action_Perform();
}

void LMNGraphicView::show_hide_grid_lines()
{
    if (_grid)
        _grid->setAlwaysShown(!_grid->isAlwaysShown());
}

void LMNGraphicView::delete_all_control()
{
    const QList<int> all = Index_Run(0, graphics().size());
    changeSelectionIndexes({});
    if (!all.isEmpty())
        removeGraphicsAtIndexes(all);
    _Selected_Graphic = nullptr;
}

void LMNGraphicView::delete_all_Text_control()
{
    const QList<LMNGraphic*> all = graphics();
    QList<int> doomed;
    for (qsizetype i = all.size() - 1; i >= 1; --i)
        if (Is_Kind(all.at(i), LMNKind::Text) || Is_Kind(all.at(i), LMNKind::Image))
            doomed.append(static_cast<int>(i));
    if (doomed.isEmpty())
        return;
    std::sort(doomed.begin(), doomed.end());
    changeSelectionIndexes({});
    removeGraphicsAtIndexes(doomed);
}

LMNGraphic* LMNGraphicView::Selcect_Ctrl_With_ID(const QString& id) const
{
    if (id.isEmpty())
        return nullptr;
    for (LMNGraphic* g : graphics())
        if ((Is_Kind(g, LMNKind::Text) || Is_Kind(g, LMNKind::Image)) && g->control_ID == id)
            return g;
    return nullptr;
}

void LMNGraphicView::Set_Selection_Index_According_ID(const QString& id)
{
    const QList<LMNGraphic*> all = graphics();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i)->control_ID == id) {
            _Selected_Graphic = all.at(i);
            changeSelectionIndexes({i});
            return;
        }
    }
}

void LMNGraphicView::Display_Control_Position_and_Size()
{
    for (LMNGraphic* g : selectedGraphics())
        if (!g->ctrl_is_locked)
            m_services.Set_Control_Pos_And_Size(g);
}

void LMNGraphicView::check_barcode_and_set_control_bounds(LMNGraphic* graphic)
{
    if (Is_Kind(graphic, LMNKind::Barcode))
        graphic->Set_Barcode_image_control_bounds();
}

// ===========================================================================
// Menu validation and the contextual menu

bool LMNGraphicView::validateMenuItem(const QString& a, QString* title) const
{
    // 1. The current item's lock.
    if (_Selected_Graphic) {
        if (_Selected_Graphic->ctrl_is_locked) {
            static const QStringList lockedOff = {"cut", "paste", "delete", "bringToFront", "sendToBack", "lock_ctrl"};
            if (lockedOff.contains(a))
                return false;
        } else if (a == QLatin1String("unlock_ctrl")) {
            return false;
        }
    }
    const QList<LMNGraphic*> selected = selectedGraphics();
    // 2. Natural size.
    if (a == QLatin1String("makeNaturalSize")) {
        for (LMNGraphic* g : selected)
            if (g->canMakeNaturalSize())
                return true;
        return false;
    }
    // 3. Paste: our own items, or a picture of another program.
    if (a == QLatin1String("paste"))
        return Clipboard_Offers_Paste();
    // 4. Two or more selected.
    static const QStringList needTwo = {"alignLeftEdges", "alignRightEdges", "alignTopEdges",
                                        "alignBottomEdges", "alignHorizontalCenters", "alignVerticalCenters",
                                        "makeSameWidth", "makeSameHeight"};
    if (needTwo.contains(a))
        return selected.size() >= 2;
    // 5. Undo and redo: the window decides.
    if (a == QLatin1String("undo") || a == QLatin1String("redo"))
        return true;
    // 6. Rulers.
    if (a == QLatin1String("showOrHideRulers")) {
        if (title)
            *title = rulersVisible() ? tr("Hide Ruler") : tr("Show Ruler");
        return true;
    }
    // 7. Grid alignment.
    if (a == QLatin1String("alignWithGrid"))
        return _grid && _grid->canAlign() && !selected.isEmpty();
    // 8. Something selected.
    static const QStringList needOne = {"delete", "bringToFront", "sendToBack", "cut", "copy", "lock_ctrl",
                                        "unlock_ctrl"};
    if (needOne.contains(a))
        return !selected.isEmpty();
    // 9. The window's commands: offered while the window can carry them out.
    static const QHash<QString, WindowCommand> windowCommands = {
        {"card_properties", WindowCommand::CardProperties}, {"select_card", WindowCommand::CardBackground},
        {"export_id_card", WindowCommand::Export},          {"mail_id_card", WindowCommand::Mail},
        {"print_id_card", WindowCommand::Print},
    };
    if (auto it = windowCommands.find(a); it != windowCommands.end())
        return m_services.isWindowCommandAvailable(it.value());
    // 10. Everything else.
    return true;
}

bool LMNGraphicView::performAction(const QString& a)
{
    static const QHash<QString, void (LMNGraphicView::*)()> actions = {
        {"cut", &LMNGraphicView::cut},
        {"copy", &LMNGraphicView::copy},
        {"paste", &LMNGraphicView::paste},
        {"delete", &LMNGraphicView::delete_},
        {"bringToFront", &LMNGraphicView::bringToFront},
        {"sendToBack", &LMNGraphicView::sendToBack},
        {"alignformCenter", &LMNGraphicView::alignformCenter},
        {"alignLeftEdges", &LMNGraphicView::alignLeftEdges},
        {"alignRightEdges", &LMNGraphicView::alignRightEdges},
        {"alignTopEdges", &LMNGraphicView::alignTopEdges},
        {"alignBottomEdges", &LMNGraphicView::alignBottomEdges},
        {"alignHorizontalCenters", &LMNGraphicView::alignHorizontalCenters},
        {"alignVerticalCenters", &LMNGraphicView::alignVerticalCenters},
        {"alignWithGrid", &LMNGraphicView::alignWithGrid},
        {"makeSameWidth", &LMNGraphicView::makeSameWidth},
        {"makeSameHeight", &LMNGraphicView::makeSameHeight},
        {"makeSameAsLabelSize", &LMNGraphicView::makeSameAsLabelSize},
        {"makeNaturalSize", &LMNGraphicView::makeNaturalSize},
        {"selectAll", &LMNGraphicView::selectAll},
        {"deselectAll", &LMNGraphicView::deselectAll},
        {"undo", &LMNGraphicView::undo},
        {"redo", &LMNGraphicView::redo},
        {"showOrHideRulers", &LMNGraphicView::showOrHideRulers},
        {"show_hide_grid_lines", &LMNGraphicView::show_hide_grid_lines},
    };
    if (auto it = actions.find(a); it != actions.end()) {
        (this->*it.value())();
        return true;
    }
    if (a == QLatin1String("lock_ctrl"))
        m_services.Lock_Clicked();
    else if (a == QLatin1String("unlock_ctrl"))
        m_services.Unlock_Clicked();
    else if (a == QLatin1String("card_properties"))
        m_services.Card_Prop_Clicked();
    else if (a == QLatin1String("select_card"))
        m_services.Card_Bckgrnd_Clicked();
    else if (a == QLatin1String("export_id_card"))
        m_services.Export_Button();
    else if (a == QLatin1String("mail_id_card"))
        m_services.Barcode_Mail_Send();
    else if (a == QLatin1String("print_id_card"))
        m_services.Print_Button();
    else
        return false;
    return true;
}

std::unique_ptr<QMenu> LMNGraphicView::contextMenu()
{
    auto menu = std::make_unique<QMenu>(QStringLiteral("Contextual Menu"));
    struct Entry { const char* title; const char* action; };
    static const Entry entries[] = {
        {"Cut", "cut"}, {"Copy", "copy"}, {"Paste", "paste"}, {nullptr, nullptr},
        {"Delete", "delete"}, {nullptr, nullptr},
        {"Bring to Front", "bringToFront"}, {"Send to Back", "sendToBack"}, {nullptr, nullptr},
        {"Lock", "lock_ctrl"}, {"Unlock", "unlock_ctrl"}, {nullptr, nullptr},
        {"Label Properties", "card_properties"}, {"Label Background", "select_card"}, {nullptr, nullptr},
        {"Show/Hide Grid", "show_hide_grid_lines"}, {nullptr, nullptr},
        {"Export Label", "export_id_card"}, {"Mail Label", "mail_id_card"}, {"Print Label", "print_id_card"},
    };
    // Commands that change items record an undo step, as the window's buttons do.
    static const QStringList recorded = {"bringToFront", "sendToBack"};
    for (const Entry& e : entries) {
        if (!e.title) {
            menu->addSeparator();
            continue;
        }
        QAction* act = menu->addAction(QString::fromLatin1(e.title));
        const QString name = QString::fromLatin1(e.action);
        act->setObjectName(name);
        act->setEnabled(validateMenuItem(name));
        connect(act, &QAction::triggered, this, [this, name] {
            performAction(name);
            if (recorded.contains(name)) {
                m_services.Insert_In_Undo_Redo();
                m_services.Refresh_Canvas();
            }
        });
    }
    return menu;
}
