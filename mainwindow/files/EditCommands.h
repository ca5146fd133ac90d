#pragma once
// The edit commands of designing mode's toolbar: cut, copy, paste, delete,
// bring to front, send to back, lock and unlock, and the Edit menu with
// undo, redo, the clipboard commands, Select All (Ctrl+A) and Deselect All
// (Ctrl+Shift+A). They act on the canvas's selection; the buttons follow the
// selection and its lock.
#include <QObject>

class DesignModeView;
class QAction;

class Edit_Commands : public QObject {
    Q_OBJECT
public:
    explicit Edit_Commands(DesignModeView& view);

    void Cut_Clicked();
    void Copy_Clicked();
    void Paste_Clicked();
    void Delete_Clicked();
    void Begin_Front_Clicked();
    void Send_Back_Clicked();
    void Lock_Clicked();
    void Unlock_Clicked();
    void Select_All_Clicked();
    void Deselect_All_Clicked();

    // Enables each button as the canvas would offer its command now.
    void Refresh_Enabled();

    QAction* Cut_btn = nullptr;
    QAction* Copy_btn = nullptr;
    QAction* Paste_btn = nullptr;
    QAction* Delete_btn = nullptr;
    QAction* Begin_Front_btn = nullptr;
    QAction* Send_Back_btn = nullptr;
    QAction* Lock_btn = nullptr;
    QAction* Unlock_btn = nullptr;
    QAction* Select_All_btn = nullptr;
    QAction* Deselect_All_btn = nullptr;
    QAction* Edit_menu_btn = nullptr;   // the toolbar's Edit menu

private:
    DesignModeView& v;
};
