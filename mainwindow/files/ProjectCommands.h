#pragma once
// The project commands of the main window: New, Open, Close, Save, Save As
// and the save prompts of Exit, in both modes; the design and barcode
// settings files behind them; the resets that start an empty project; the
// window title; and the new-label flow.
//
// Files are read into a staging value first (DesignFile.h, BarcodeFile.h):
// a file that cannot be read changes nothing that is open. A save that fails
// is reported and leaves the file on disk as it was. Answering Yes to a save
// prompt and then cancelling (or failing) the save stops the command, so no
// work is lost without a question.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

#include "mainwindow/files/BarcodeFile.h"
#include "mainwindow/files/DesignFile.h"
#include "mainwindow/files/NewLabelFlow.h"

class LMNWindowController;

// The spreadsheet binding a design file stores.
struct Design_Sheet {
    bool use = false;
    QString path;
    QStringList titles;      // every column title, position 0 included
    QVariantList rows;       // maps "Extension", "Column<k>" -> text
};

class Project_Commands : public QObject {
    Q_OBJECT
public:
    explicit Project_Commands(LMNWindowController& window);

    // Paths of the open design file and of the open barcode settings file ("" none).
    QString Project_File_Name;
    QString Project_File_Name_Barcode;

    // ---- Toolbar commands ----
    void New_Btn_Clicked();
    void Open_Btn_Clicked() { Open_Log_file_Func(); }
    void Close_Document_Clicked();
    void Save_Btn_Clicked();
    void SaveAs_Btn_Clicked();

    // The save prompt of a command, asked every time: Yes saves the current
    // mode's work; true when the command may go on (No, or Yes with a
    // successful save).
    bool Save_Prompt(const QString& question);
    // Saves the current mode's work (the frame's Save_Current_Work).
    bool Save_Current_Mode();

    // ---- Designing mode ----
    // Writes the design ("L", or "T" as a template); false when nothing was written.
    bool Save_project_file(bool saveAs, bool showMessage, const QString& kind);
    // Reads a design or barcode settings file: 1 when one was loaded.
    int Read_and_load_design_Log_NEW_METHOD(const QString& path, const QString& kind, bool readSheet);
    void New_Project();
    void Open_Log_file_Func();
    int Open_Log_File();
    // The new-label flow: the card wizard (or the preset dialog), then a fresh
    // design with its card. Cancel keeps the open design.
    void Open_Start_Window();
    // A fresh design from a choice, as the flow applies it after OK.
    void Apply_New_Card(const New_Card_Choice& choice);

    // ---- Barcode mode ----
    bool Save_project_file_Barcode(bool saveAs);
    void Read_Barcode_Log_File(const QString& path);
    void Open_Barcode_Log_File();
    void New_Project_Barcode();

    // ---- Title ----
    QString Window_Title() const;

    // ---- Where the spreadsheet binding lives ----
    // Installed by its owner; until then the binding read from a file is
    // kept here and written back with the next save.
    std::function<Design_Sheet()> Read_Design_Sheet;
    std::function<void(const Design_Sheet&)> Write_Design_Sheet;

    // Renders a barcode item from its own settings (for a record without a
    // picture); installed with the barcode dialog.
    std::function<PtImage(const LMNGraphic& item, const QString& value)> Render_Barcode_Item;
    // The card wizard of New (the print subsystem's, installed with the
    // window's hooks); without one New offers the preset card sizes.
    Card_Wizard_Runner Run_Card_Wizard;

    // The current state as file contents.
    Design_File_Content Current_Design() const;
    Barcode_File_Content Current_Barcode() const;

private:
    Design_Sheet sheet() const;
    void setSheet(const Design_Sheet& s);
    QString askSavePath(const QString& current) const;
    void applyDesign(const Design_File_Content& d, const QString& path, const QString& kind, bool readSheet);
    void applyBarcode(const Barcode_File_Content& c, const QString& path);
    void refreshTitle();

    LMNWindowController& w;
    Design_Sheet m_sheet;
};
