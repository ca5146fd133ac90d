#include "mainwindow/files/EditCommands.h"

#include "core/canvas/LMNGraphicView.h"
#include "mainwindow/design/DesignModeView.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

Edit_Commands::Edit_Commands(DesignModeView& view) : QObject(&view), v(view)
{
    QToolBar* bar = v.design_toolbar;
    bar->addSeparator();
    const auto add = [this, bar](QAction*& a, const char* icon, const QString& text, const char* name,
                                 QKeySequence keys, void (Edit_Commands::*slot)()) {
        a = bar->addAction(QIcon::fromTheme(QLatin1String(icon)), text);
        a->setObjectName(QLatin1String(name));
        if (!keys.isEmpty()) {
            // Only while the design has the focus: text fields keep their own keys.
            a->setShortcut(keys);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            v.addAction(a);
        }
        connect(a, &QAction::triggered, this, slot);
    };
    add(Cut_btn, "edit-cut", tr("Cut"), "Cut_btn", QKeySequence::Cut, &Edit_Commands::Cut_Clicked);
    add(Copy_btn, "edit-copy", tr("Copy"), "Copy_btn", QKeySequence::Copy, &Edit_Commands::Copy_Clicked);
    add(Paste_btn, "edit-paste", tr("Paste"), "Paste_btn", QKeySequence::Paste, &Edit_Commands::Paste_Clicked);
    add(Delete_btn, "edit-delete", tr("Delete"), "Delete_btn", QKeySequence(), &Edit_Commands::Delete_Clicked);
    // Short titles, so that the whole toolbar fits beside the property side.
    add(Begin_Front_btn, "go-top", tr("To Front"), "Begin_Front_btn", QKeySequence(),
        &Edit_Commands::Begin_Front_Clicked);
    Begin_Front_btn->setToolTip(tr("Bring to Front"));
    add(Send_Back_btn, "go-bottom", tr("To Back"), "Send_Back_btn", QKeySequence(),
        &Edit_Commands::Send_Back_Clicked);
    Send_Back_btn->setToolTip(tr("Send to Back"));
    add(Lock_btn, "object-locked", tr("Lock"), "Lock_btn", QKeySequence(), &Edit_Commands::Lock_Clicked);
    add(Unlock_btn, "object-unlocked", tr("Unlock"), "Unlock_btn", QKeySequence(), &Edit_Commands::Unlock_Clicked);

    // The Edit menu: the commands above with the selection of all items.
    const auto menuOnly = [this](QAction*& a, const QString& text, const char* name, QKeySequence keys,
                                 void (Edit_Commands::*slot)()) {
        a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        v.addAction(a);
        connect(a, &QAction::triggered, this, slot);
    };
    menuOnly(Select_All_btn, tr("Select All"), "Select_All_btn", QKeySequence::SelectAll,
             &Edit_Commands::Select_All_Clicked);
    menuOnly(Deselect_All_btn, tr("Deselect All"), "Deselect_All_btn", QKeySequence(tr("Ctrl+Shift+A")),
             &Edit_Commands::Deselect_All_Clicked);
    auto* menu = new QMenu(tr("Edit"), &v);
    menu->setObjectName(QStringLiteral("Edit_menu"));
    menu->addActions({v.Undo_btn, v.Redo_btn});
    menu->addSeparator();
    menu->addActions({Cut_btn, Copy_btn, Paste_btn, Delete_btn});
    menu->addSeparator();
    menu->addActions({Select_All_btn, Deselect_All_btn});
    Edit_menu_btn = menu->menuAction();
    Edit_menu_btn->setObjectName(QStringLiteral("Edit_menu_btn"));
    bar->insertAction(bar->actions().value(0), Edit_menu_btn);
    bar->insertSeparator(bar->actions().value(1));
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(Edit_menu_btn)))
        button->setPopupMode(QToolButton::InstantPopup);

    // Undo and redo keys while the design has the focus.
    v.Undo_btn->setShortcut(QKeySequence::Undo);
    v.Undo_btn->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    v.Redo_btn->setShortcut(QKeySequence::Redo);
    v.Redo_btn->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    v.addAction(v.Undo_btn);
    v.addAction(v.Redo_btn);

    connect(v._graphicView, &LMNGraphicView::selectionChanged, this, &Edit_Commands::Refresh_Enabled);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &Edit_Commands::Refresh_Enabled);
    Refresh_Enabled();
}

void Edit_Commands::Refresh_Enabled()
{
    LMNGraphicView* c = v._graphicView;
    // A locked item in the selection: only copy and unlock are offered.
    const bool locked = c->There_Is_Any_Lock_Contrl();
    const auto offer = [c, locked](const char* action) {
        return !locked && c->validateMenuItem(QLatin1String(action));
    };
    Cut_btn->setEnabled(offer("cut"));
    Copy_btn->setEnabled(c->validateMenuItem(QStringLiteral("copy")));
    Paste_btn->setEnabled(offer("paste"));
    Delete_btn->setEnabled(offer("delete"));
    Begin_Front_btn->setEnabled(offer("bringToFront"));
    Send_Back_btn->setEnabled(offer("sendToBack"));
    // With nothing selected the card's panel shows: as its toolbar, neither
    // lock nor unlock is offered.
    Lock_btn->setEnabled(offer("lock_ctrl"));
    Unlock_btn->setEnabled(locked);
}

void Edit_Commands::Cut_Clicked()
{
    v._graphicView->cut();
    v.Insert_In_Undo_Redo();
    Refresh_Enabled();
}

void Edit_Commands::Copy_Clicked()
{
    v._graphicView->copy();
    Refresh_Enabled();
}

void Edit_Commands::Paste_Clicked()
{
    v._graphicView->paste();
    v.Insert_In_Undo_Redo();
    Refresh_Enabled();
}

void Edit_Commands::Delete_Clicked()
{
    v._graphicView->delete_();
    Refresh_Enabled();
}

void Edit_Commands::Begin_Front_Clicked()
{
    v._graphicView->bringToFront();
}

void Edit_Commands::Send_Back_Clicked()
{
    v._graphicView->sendToBack();
}

void Edit_Commands::Lock_Clicked()
{
    v.Lock_Clicked();
    Refresh_Enabled();
}

void Edit_Commands::Unlock_Clicked()
{
    v.Unlock_Clicked();
    Refresh_Enabled();
}

void Edit_Commands::Select_All_Clicked()
{
    v._graphicView->selectAll();
    Refresh_Enabled();
}

void Edit_Commands::Deselect_All_Clicked()
{
    v._graphicView->deselectAll();
    v.Show_RHS_Properties(nullptr);
    Refresh_Enabled();
}
